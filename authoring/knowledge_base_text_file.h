#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/expected.h"
#include "store/line_record.h"

namespace kelvo {

class FileFaultInjector;

// Files at the edge of the text form: reading a text file whole, and writing a knowledge-base
// file so that it appears complete or not at all.

/// The largest text file read whole: room for the largest program (1,000,000 lines of at most
/// 82 characters, each taking up to three bytes in UTF-8, and a line end) and more.
inline constexpr std::uintmax_t kMaxTextFileBytes = 256ull * 1024 * 1024;

/// Reads a whole file as bytes. Fails for a missing file, a folder, a read error, and before
/// reading anything for a file larger than `maxBytes`.
Expected<std::string> ReadTextFile(const std::filesystem::path& path,
                                   std::uintmax_t maxBytes = kMaxTextFileBytes);

/// Writes `records` as the knowledge-base file `target`, replacing an existing file through
/// ReplaceFileContent, so a failure leaves no half-written target (an earlier one unchanged)
/// and nothing beside it; the message of a failed write says so. Fails for a folder and a
/// missing folder. A target that is complete
/// but whose folder could not be flushed is written: `warning` then receives why (it stays
/// empty otherwise). `faults` (tests only) makes steps of the write fail.
Status WriteKnowledgeBaseFile(const std::filesystem::path& target,
                              const std::vector<LineRecord>& records,
                              FileFaultInjector* faults = nullptr, std::string* warning = nullptr);

}  // namespace kelvo
