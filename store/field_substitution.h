#pragma once

#include <string>
#include <string_view>

namespace kelvo {

class FactBase;

/// Replaces every variable field of `text` by the variable's value. A field is "[" + name +
/// "[" (the same bracket opens and closes it); it is as wide as its columns, brackets
/// included, and the value is cut or padded to that width. A field of an unknown name, and
/// text closed by "]", stay as written.
std::string SubstituteFields(std::string_view text, FactBase& facts);

}  // namespace kelvo
