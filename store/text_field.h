#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvo {

// Fixed-width text fields. "Blank" is the character 32 only: tabs and other white space are
// ordinary characters everywhere here.

/// Appends blanks up to `width`, then cuts to `width`: the result has exactly that length.
std::string PadRight(std::string_view text, std::size_t width);

/// Prepends blanks while the text is shorter than `width`; a longer text is returned unchanged.
std::string PadLeft(std::string_view text, std::size_t width);

/// Centres a text shorter than `width` (the left margin rounds half to even); a text at least
/// as long as `width` is returned unchanged.
std::string CentreText(std::string_view text, std::size_t width);

/// Removes blanks at the end; an all-blank text becomes empty.
std::string TrimRight(std::string_view text);

/// Removes blanks at the start; an all-blank text becomes empty.
std::string TrimLeft(std::string_view text);

/// Columns `first` to `last` (counted from 1) of a text, padded with blanks where the text is
/// shorter: always last - first + 1 characters.
std::string Columns(std::string_view text, std::size_t first, std::size_t last);

/// True if `needle` occurs in `haystack`, both upper-cased and right-trimmed. An empty needle
/// is contained in every non-empty haystack; an empty haystack contains nothing.
bool ContainsText(std::string_view needle, std::string_view haystack);

}  // namespace kelvo
