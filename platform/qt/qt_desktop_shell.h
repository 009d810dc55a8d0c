#pragma once

#include "platform/desktop_shell.h"

namespace kelvo {

/// The desktop shell of the Qt programs: documents and addresses open with the desktop's
/// opener (QDesktopServices); programs are started by `processes` (the program's process
/// starter: in their working folder, without a shell, without inherited descriptors, not
/// waited for).
class QtDesktopShell final : public DesktopShell {
  public:
    explicit QtDesktopShell(DesktopShell& processes) : processes_(processes) {}

    /// False for an empty target, a file that does not exist, or when the desktop has no
    /// opener for it.
    bool OpenDocument(std::string_view target) override;
    bool StartProcess(const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder) override;
    /// The running program's file.
    std::filesystem::path ProgramPath() override;
    std::filesystem::path KnowledgeBasePath() override { return knowledgeBasePath_; }

    /// The knowledge base the commands see as the running one; empty for none.
    void SetKnowledgeBasePath(std::filesystem::path path) { knowledgeBasePath_ = std::move(path); }

  private:
    DesktopShell& processes_;
    std::filesystem::path knowledgeBasePath_;
};

}  // namespace kelvo
