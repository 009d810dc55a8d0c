#include "platform/desktop/linux_desktop_shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

extern char** environ;

namespace kelvo {
namespace {

// Starts `arguments` (searched on the PATH when the program names no folder); -1 when it
// could not be started, the exec failure included (glibc reports it from posix_spawn).
pid_t Spawn(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
    if (arguments.empty() || arguments.front().empty()) {
        return -1;
    }
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return -1;
    }
    // The program gets the standard channels and nothing else of ours: a descriptor opened
    // without close-on-exec (by a library, or inherited from whoever started us) would keep
    // files, pipes and sockets open for as long as the program runs.
    bool prepared = posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0;
    if (prepared && !folder.empty()) {
        prepared = posix_spawn_file_actions_addchdir_np(&actions, folder.c_str()) == 0;
    }
    pid_t pid = -1;
    if (prepared &&
        posix_spawnp(&pid, argv.front(), &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

}  // namespace

LinuxDesktopShell::LinuxDesktopShell(std::filesystem::path knowledgeBasePath)
    : knowledgeBasePath_(std::move(knowledgeBasePath)) {}

LinuxDesktopShell::~LinuxDesktopShell() {
    CollectEnded();
}

void LinuxDesktopShell::CollectEnded() {
    std::erase_if(running_, [](pid_t pid) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        return done == pid || (done < 0 && errno == ECHILD);
    });
}

bool LinuxDesktopShell::OpenDocument(std::string_view target) {
    CollectEnded();
    if (target.empty()) {
        return false;
    }
    std::error_code error;
    if (target.find("://") == std::string_view::npos &&
        !std::filesystem::exists(std::filesystem::path(target), error)) {
        return false;
    }
    const pid_t pid = Spawn({"xdg-open", std::string(target)}, {});
    if (pid < 0) {
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool LinuxDesktopShell::StartProcess(const std::vector<std::string>& arguments,
                                     const std::filesystem::path& workingFolder) {
    CollectEnded();
    const pid_t pid = Spawn(arguments, workingFolder);
    if (pid < 0) {
        return false;
    }
    running_.push_back(pid);
    return true;
}

std::filesystem::path LinuxDesktopShell::ProgramPath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

}  // namespace kelvo
