#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// The core keeps every text as Windows-1252 bytes in std::string, one byte per column.
// UTF-8 exists only at the boundaries (screen, console, file names, clipboard); these are the
// conversions used there. The five bytes Windows-1252 leaves undefined (81, 8D, 8F, 90, 9D)
// map to the C1 control characters of the same number, so every byte survives a round trip.

/// True when every byte is below 80 (ASCII), which reads the same in both encodings.
bool IsAscii(std::string_view bytes);

/// Converts Windows-1252 bytes to UTF-8. Never fails.
std::string Windows1252ToUtf8(std::string_view bytes);

/// Converts UTF-8 to Windows-1252. A character the code page lacks, or a malformed UTF-8
/// sequence, becomes "?"; `unmappable` (if given) receives the count of such replacements.
std::string Utf8ToWindows1252(std::string_view utf8, std::size_t* unmappable = nullptr);

/// Upper case of one Windows-1252 byte (a-z, the accented letters, š, œ, ž, ÿ); ß and µ stay.
char ToUpperByte(char c);
/// Lower case of one Windows-1252 byte; the inverse of ToUpperByte.
char ToLowerByte(char c);

/// Upper-cases a Windows-1252 text with our own tables, independent of the process locale.
std::string ToUpper(std::string_view text);
/// The same in place, without allocating.
void ToUpperInPlace(std::span<char> text);
/// Lower-cases a Windows-1252 text with our own tables, independent of the process locale.
std::string ToLower(std::string_view text);

}  // namespace kelvo
