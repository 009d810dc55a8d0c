#pragma once

#include <filesystem>
#include <functional>

#include "store/expected.h"

namespace kelvo {

class FileFaultInjector;
class KnowledgeBaseFile;
class RandomSource;

/// How a derivation of the run-only file ended.
enum class DerivationOutcome {
    Compiled,  ///< the ".WBB" file was written
    Aborted,   ///< the run was aborted; no target file remains
};

/// Called once per record before it is read, with the position and the record count; returns
/// true to abort. The desktop lets one window event through here.
using DerivationProgress = std::function<bool(int position, int count)>;

/// The name of the run-only file of `source`: its name without the last four characters,
/// followed by ".WBB".
std::filesystem::path RunOnlyPath(const std::filesystem::path& source);

/// Derives the run-only file beside `source`: every record that is not a comment ("K"),
/// and the last record whatever its kind, each followed by a random digit "0" to "9" and cut
/// to 83 characters. An abort request finishes the record at hand and then stops; the target
/// is then deleted. The target is replaced with ReplaceFileContent, so a failed write leaves
/// an earlier target as it was (or missing) and nothing beside it. Fails on a read or write
/// error; a failure to flush the folder after the target was replaced is no failure (the
/// complete file is in place). `faults` (tests only) makes steps of the write fail.
Expected<DerivationOutcome> DeriveRunOnlyFile(const KnowledgeBaseFile& source, RandomSource& random,
                                              const DerivationProgress& progress,
                                              FileFaultInjector* faults = nullptr);

}  // namespace kelvo
