#pragma once

#include <string>
#include <string_view>

namespace kelvo {

// Blanks separate tokens when a line is checked, so the blanks inside a stored text value
// are shown and typed as "$". These lines carry a text value in columns 41-70:
//
//   "F"                                  column 3 not "["        (a text fact)
//   "O", "U"                             column 39 "." or "|"    (literal condition)
//   "R"                                  column 39 "."
//   "B" "«" "V" "H" "C" "N" "»" "X"      column 39 "." or "|"
//   "J"                                  column 3 "+", column 39 "." or "-",
//                                        column 41 neither "(" nor "["

/// Column where the text value of a line starts, and the last column of it.
inline constexpr std::size_t kTextValueFirstColumn = 41;
inline constexpr std::size_t kTextValueLastColumn = 70;

/// True if `line` (a stored line, Windows-1252) holds a text value in columns 41-70 by the
/// table above. The kind letter is compared as it stands.
bool HasTextValueField(std::string_view line);

/// The line as the editor shows it with fill characters: for a line with a text value, the
/// line cut or padded to 70 characters and every blank of columns 41-70 replaced by "$"
/// (trailing blanks of the field included); any other line unchanged.
std::string Fuellzeichen_einfuegen(std::string_view line);

}  // namespace kelvo
