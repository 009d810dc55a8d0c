#pragma once

#include <string_view>

namespace kelvo {

/// The whole number at the start of a field: leading blanks skipped, then digits up to the
/// first other character; 0 when the field starts with no digit.
int ReadWholeNumber(std::string_view text);

}  // namespace kelvo
