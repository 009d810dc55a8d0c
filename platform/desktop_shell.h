#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

/// The desktop's shell: opening documents with the program registered for them, starting
/// programs, and where the program and the running knowledge base live. Arguments and
/// targets are UTF-8 (paths already resolved by the caller).
class DesktopShell {
  public:
    virtual ~DesktopShell() = default;

    /// Opens `target` (a file, a folder or an address such as "https://...") with the
    /// desktop's opener. Returns false when the desktop reports that it could not.
    virtual bool OpenDocument(std::string_view target) = 0;

    /// Starts `arguments[0]` with `arguments` as its argument list in `workingFolder` (the
    /// current folder when empty), without a shell and without waiting for it. A program name
    /// without a folder is searched on the PATH. Returns false when it could not be started.
    virtual bool StartProcess(const std::vector<std::string>& arguments,
                              const std::filesystem::path& workingFolder) = 0;

    /// The full path of the running program; empty when unknown.
    virtual std::filesystem::path ProgramPath() = 0;

    /// The full path of the running knowledge-base file; empty when there is none.
    virtual std::filesystem::path KnowledgeBasePath() = 0;
};

}  // namespace kelvo
