#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_shell.h"

namespace kelvo {

/// The desktop shell as a consultation started from the main window sees it: documents and
/// programs go to the desktop's shell, while the program's path and the running knowledge
/// base's path are those of the main window.
class RunningDesktopShell final : public DesktopShell {
  public:
    RunningDesktopShell(DesktopShell& desktop, std::filesystem::path programPath,
                        std::filesystem::path knowledgeBasePath)
        : desktop_(desktop),
          programPath_(std::move(programPath)),
          knowledgeBasePath_(std::move(knowledgeBasePath)) {}

    bool OpenDocument(std::string_view target) override { return desktop_.OpenDocument(target); }
    bool StartProcess(const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder) override {
        return desktop_.StartProcess(arguments, workingFolder);
    }
    std::filesystem::path ProgramPath() override { return programPath_; }
    std::filesystem::path KnowledgeBasePath() override { return knowledgeBasePath_; }

  private:
    DesktopShell& desktop_;
    std::filesystem::path programPath_;
    std::filesystem::path knowledgeBasePath_;
};

}  // namespace kelvo
