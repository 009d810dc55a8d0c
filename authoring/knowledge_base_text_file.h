#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/expected.h"
#include "store/line_record.h"

namespace kelvo {

// Files at the edge of the text form: reading a text file whole, and writing a knowledge-base
// file so that it appears complete or not at all.

/// Reads a whole file as bytes. Fails for a missing file, a folder or a read error.
Expected<std::string> ReadTextFile(const std::filesystem::path& path);

/// Writes `records` as the knowledge-base file `target`, replacing an existing file. The
/// records go to a file beside the target that is renamed over it at the end, so a failure
/// leaves no half-written target (and an earlier one unchanged). Fails for a folder.
Status WriteKnowledgeBaseFile(const std::filesystem::path& target,
                              const std::vector<LineRecord>& records);

}  // namespace kelvo
