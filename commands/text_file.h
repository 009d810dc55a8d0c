#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

class FileFaultInjector;

/// Reads the whole text of `path` as Windows-1252 bytes. A file that starts with a byte-order
/// mark is read in the encoding the mark names (UTF-8, UTF-16 little or big endian; characters
/// the code page lacks become "?"); any other file is taken as Windows-1252. Every line break
/// of the file (carriage return and line feed, a bare line feed, a bare carriage return)
/// becomes carriage return and line feed; no line end is added. Empty when the file cannot be
/// read (missing, a folder, no permission) and, before reading anything, when it is larger
/// than `maxBytes`.
std::optional<std::string> LoadTextFile(const std::filesystem::path& path,
                                        std::uintmax_t maxBytes = UINTMAX_MAX);

/// Writes `text` (Windows-1252) to `path` exactly as it is, replacing an existing file through
/// ReplaceFileContent, so the file holds its old or its complete new text and nothing is left
/// beside it. Returns false when the file was not replaced (it is then as it was); a file that
/// is complete but whose folder could not be flushed counts as written. `faults` (tests only)
/// makes steps of the write fail.
bool SaveTextFile(const std::filesystem::path& path, std::string_view text,
                  FileFaultInjector* faults = nullptr);

/// Turns a file's bytes into the text LoadTextFile gives (byte-order mark, encoding, line
/// breaks).
std::string DecodeTextFile(std::string_view bytes);

}  // namespace kelvo
