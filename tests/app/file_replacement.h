#pragma once

// The operations that replace a user's file, each run the way a user runs it (a main-window
// command, a consultation's data exchange or text-file command, kelvo-cli), with a fault
// injector passed through the object that owns the write. Used by the fault table and by the
// full-disk test.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kelvo {

class FileFaultInjector;

/// How an operation ended, as its user saw it.
struct ReplacementResult {
    bool succeeded = false;
    /// What the user was told (message boxes, error output), one entry each, UTF-8.
    std::vector<std::string> messages;
};

/// One operation that replaces (or creates) a file.
struct FileReplacement {
    std::string name;
    /// The file the operation writes, inside the test's folder.
    std::string target;
    /// False when the operation only creates files and refuses an existing target.
    bool replacesExisting = true;
    /// The content an existing target holds before the operation.
    std::string oldContent;
    /// What the target holds after a successful run, as `normalize` gives it.
    std::string newContent;
    /// Makes a content comparable (the run-only file's random digits become "#"); identity
    /// when empty.
    std::function<std::string(const std::string&)> normalize;
    /// Part of the message the user gets when the write failed; empty where the operation
    /// fails silently by design.
    std::string failureMessage;
    /// Puts what the operation reads into `folder` (its target excluded).
    std::function<void(const std::filesystem::path& folder)> prepare;
    /// Runs the operation in `folder`.
    std::function<ReplacementResult(const std::filesystem::path& folder, FileFaultInjector* faults)>
        run;
};

/// Every operation that replaces a user's file.
std::vector<FileReplacement> FileReplacements();

/// The whole content of `path`; "<missing>" when it does not exist.
std::string FileContent(const std::filesystem::path& path);

/// Writes `content` as the file `path`.
void WriteContent(const std::filesystem::path& path, const std::string& content);

/// The names of the files in `folder` ending in ".partial".
std::vector<std::string> PartialFiles(const std::filesystem::path& folder);

}  // namespace kelvo
