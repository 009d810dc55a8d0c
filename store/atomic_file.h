#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "store/expected.h"

namespace kelvo {

class FileFaultInjector;

/// Whether the target of a replacement may exist already.
enum class ReplaceMode {
    Overwrite,  ///< replace an existing file, keeping its permissions; create a missing one
    CreateNew,  ///< create the file; fail when one of that name exists
};

/// How replacing a file's content ended.
struct ReplaceOutcome {
    /// The target holds the new content. Also true when only the last step (flushing the
    /// folder after the rename) failed: the new content is in place, but may not survive a
    /// crash of the machine.
    bool replaced = false;
    /// The first failure; ok when every step succeeded.
    Status status;
};

/// Replaces the whole content of `target` so that it holds either its old or its new content
/// whatever happens: the content is written into a new file beside the target
/// ("NAME.partial"), flushed to the disk, renamed over the target, and the folder is flushed.
/// On a failure before the rename the new file is removed and the target is untouched. A
/// stale "NAME.partial" of an earlier crash is replaced. A target that is a symbolic link
/// stays one: the file it points to is replaced. A target this process may not write is
/// refused before anything is written. `faults` (tests only) makes steps
/// fail. When `newFile` is given and the content was replaced, it receives a descriptor of
/// the new file open for reading and writing, which the caller closes; -1 otherwise.
ReplaceOutcome ReplaceFileContent(const std::filesystem::path& target,
                                  std::span<const std::uint8_t> content,
                                  ReplaceMode mode = ReplaceMode::Overwrite,
                                  FileFaultInjector* faults = nullptr, int* newFile = nullptr);

/// The name of the new file written beside `target` while it is replaced.
std::filesystem::path PartialFilePath(const std::filesystem::path& target);

}  // namespace kelvo
