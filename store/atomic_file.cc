#include "store/atomic_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "store/file_fault_injector.h"

namespace kelvo {
namespace {

bool Fails(FileFaultInjector* faults, FileWriteStep step) {
    return faults != nullptr && faults->ShouldFail(step);
}

// Writes all of `content` from offset 0, retrying short writes and interruptions. An injected
// failure writes about half of the bytes first, as a disk that fills up does.
bool WriteContent(int fd, std::span<const std::uint8_t> content, FileFaultInjector* faults) {
    std::size_t size = content.size();
    if (Fails(faults, FileWriteStep::Write)) {
        size /= 2;
        errno = ENOSPC;
    }
    const std::uint8_t* in = content.data();
    off_t offset = 0;
    std::size_t left = size;
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, in, left, offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        in += n;
        left -= static_cast<std::size_t>(n);
        offset += n;
    }
    if (size != content.size()) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

Error StepError(const std::filesystem::path& file, const char* what, int error) {
    return Error{file.string() + ": " + what + " (" + std::strerror(error) + ")"};
}

// Moves `from` to `to` unless `to` exists. Prefers renameat2; file systems without it get a
// hard link, which fails the same way for an existing name.
int RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return -1;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return -1;
    }
    ::unlink(from.c_str());
    return 0;
}

int SyncFolderOf(const std::filesystem::path& target) {
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    const int result = ::fsync(fd);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return result;
}

}  // namespace

std::filesystem::path PartialFilePath(const std::filesystem::path& target) {
    return target.string() + ".partial";
}

ReplaceOutcome ReplaceFileContent(const std::filesystem::path& targetName,
                                  std::span<const std::uint8_t> content, ReplaceMode mode,
                                  FileFaultInjector* faults, int* newFile) {
    if (newFile != nullptr) {
        *newFile = -1;
    }
    // A symbolic link stays a link: the file it points to is the one replaced.
    std::error_code linkError;
    if (mode == ReplaceMode::Overwrite &&
        std::filesystem::is_symlink(std::filesystem::symlink_status(targetName, linkError))) {
        const std::filesystem::path resolved = std::filesystem::canonical(targetName, linkError);
        if (!linkError) {
            return ReplaceFileContent(resolved, content, mode, faults, newFile);
        }
    }
    const std::filesystem::path& target = targetName;
    const std::filesystem::path partial = PartialFilePath(target);

    // The new file gets the permissions of the file it replaces; a new one those of the
    // process (0666 less its umask), as any created file.
    struct stat old {};
    const bool targetExists = ::stat(target.c_str(), &old) == 0;
    if (mode == ReplaceMode::CreateNew && targetExists) {
        return {false, StepError(target, "Datei ist schon vorhanden", EEXIST)};
    }
    // A file we may not write is not replaced either, although the rename alone would get
    // past its permissions.
    if (targetExists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return {false, StepError(target, "Datei ist schreibgesch\xC3\xBCtzt", errno)};
    }

    if (Fails(faults, FileWriteStep::Create)) {
        return {false, StepError(partial, "Datei kann nicht angelegt werden", ENOSPC)};
    }
    ::unlink(partial.c_str());  // left by a crash of an earlier write
    const int fd = ::open(partial.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return {false, StepError(partial, "Datei kann nicht angelegt werden", errno)};
    }
    auto giveUp = [&](const char* what) {
        const int error = errno;
        ::close(fd);
        ::unlink(partial.c_str());
        return ReplaceOutcome{false, StepError(target, what, error)};
    };
    if (targetExists && ::fchmod(fd, old.st_mode & 07777) != 0) {
        return giveUp("Zugriffsrechte können nicht übernommen werden");
    }
    if (!WriteContent(fd, content, faults)) {
        return giveUp("Schreibfehler");
    }
    if (Fails(faults, FileWriteStep::Sync)) {
        errno = EIO;
        return giveUp("Datei kann nicht gesichert werden");
    }
    if (::fsync(fd) != 0) {
        return giveUp("Datei kann nicht gesichert werden");
    }
    if (Fails(faults, FileWriteStep::Rename)) {
        errno = EIO;
        return giveUp("Datei kann nicht ersetzt werden");
    }
    const int renamed = mode == ReplaceMode::CreateNew ? RenameNoReplace(partial, target)
                                                       : ::rename(partial.c_str(), target.c_str());
    if (renamed != 0) {
        return giveUp(mode == ReplaceMode::CreateNew ? "Datei kann nicht angelegt werden"
                                                     : "Datei kann nicht ersetzt werden");
    }

    // From here on the target holds the new content.
    ReplaceOutcome outcome{true, {}};
    if (Fails(faults, FileWriteStep::SyncFolder)) {
        outcome.status = StepError(target.parent_path(), "Ordner kann nicht gesichert werden", EIO);
    } else if (SyncFolderOf(target) != 0) {
        outcome.status =
            StepError(target.parent_path(), "Ordner kann nicht gesichert werden", errno);
    }
    if (newFile != nullptr) {
        *newFile = fd;
    } else {
        ::close(fd);
    }
    return outcome;
}

}  // namespace kelvo
