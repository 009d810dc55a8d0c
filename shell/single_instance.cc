#include "shell/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

#include "platform/dialogs.h"

namespace kelvo {

std::filesystem::path SingleInstance::DefaultLockFolder() {
    std::error_code error;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0' && std::filesystem::is_directory(runtime, error)) {
        return runtime;
    }
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : temporary;
}

std::filesystem::path SingleInstance::LockFile(const std::filesystem::path& programPath,
                                               const std::filesystem::path& lockFolder) {
    std::string name = programPath.filename().string();
    if (name.empty()) {
        name = "kelvo";
    }
    // The user's id keeps the locks of users apart in a folder they share (the temporary
    // folder); in $XDG_RUNTIME_DIR it does no harm.
    name += "." + std::to_string(::getuid());
    return lockFolder / (name + ".lock");
}

Expected<SingleInstance> SingleInstance::Acquire(const std::filesystem::path& programPath,
                                                 const std::filesystem::path& lockFolder) {
    const std::filesystem::path file = LockFile(programPath, lockFolder);
    // Close-on-exec: a program started by a consultation must not inherit the lock and keep
    // it after we end.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return Error{file.string() + ": Sperrdatei kann nicht angelegt werden (" +
                     std::strerror(errno) + ")"};
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return SingleInstance(-1);
        }
        return Error{file.string() + ": Sperre nicht m\xC3\xB6glich (" + std::strerror(error) +
                     ")"};
    }
    return SingleInstance(fd);
}

SingleInstance::SingleInstance(SingleInstance&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

SingleInstance& SingleInstance::operator=(SingleInstance&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the last descriptor releases the lock
    }
}

void ShowSecondInstanceMessage(Dialogs& dialogs) {
    dialogs.MessageBox("Das Programm kann nur einmal gestartet werden !", "Fehlermeldung",
                       MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace kelvo
