#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_shell.h"

namespace kelvo {

/// The desktop shell of a Linux session: documents open with `xdg-open`, programs start
/// with posix_spawn (no shell) in their working folder and are not waited for. Both inherit
/// only the standard input, output and error of ours, no other descriptor.
class LinuxDesktopShell final : public DesktopShell {
  public:
    /// `knowledgeBasePath` is the running knowledge-base file (empty for none).
    explicit LinuxDesktopShell(std::filesystem::path knowledgeBasePath);
    /// Collects the programs that have ended; those still running go on by themselves.
    ~LinuxDesktopShell() override;
    LinuxDesktopShell(const LinuxDesktopShell&) = delete;
    LinuxDesktopShell& operator=(const LinuxDesktopShell&) = delete;

    /// Runs `xdg-open target` and waits for it (it returns once the opener has the
    /// document). False for an empty target, a file that does not exist, or a failure exit.
    bool OpenDocument(std::string_view target) override;
    bool StartProcess(const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder) override;
    /// /proc/self/exe.
    std::filesystem::path ProgramPath() override;
    std::filesystem::path KnowledgeBasePath() override { return knowledgeBasePath_; }

    void SetKnowledgeBasePath(std::filesystem::path path) { knowledgeBasePath_ = std::move(path); }

    /// Number of started programs not yet collected (for tests).
    std::size_t RunningCount() const { return running_.size(); }
    /// Collects the started programs that have ended, without waiting.
    void CollectEnded();

  private:
    std::filesystem::path knowledgeBasePath_;
    std::vector<pid_t> running_;
};

}  // namespace kelvo
