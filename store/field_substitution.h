#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvo {

class FactBase;

/// Replaces every variable field of `text` by the variable's value. A field is "[" + name +
/// "[" (the same bracket opens and closes it); it is as wide as its columns, brackets
/// included, and the value is cut or padded to that width. A field of an unknown name, and
/// text closed by "]", stay as written.
std::string SubstituteFields(std::string_view text, FactBase& facts);

/// The name of the field whose opening "[" stands at `open` of `text`: what stands up to the
/// next "[" after at least one character. Empty when a "]" or the end of the text comes first;
/// otherwise the field ends at `open + name.size() + 1`.
std::string_view FieldNameAt(std::string_view text, std::size_t open);

}  // namespace kelvo
