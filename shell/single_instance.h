#pragma once

#include <filesystem>

#include "store/expected.h"

namespace kelvo {

class Dialogs;

/// The per-user lock that lets one instance of the program run: an exclusive `flock` on a file
/// named after the program's file name. The lock is held for the life of the object and
/// released when it is destroyed or the process ends, however it ends.
class SingleInstance {
  public:
    /// Takes the lock for `programPath` (only its file name counts) in `lockFolder`. Fails only
    /// when the lock file cannot be created or locked for another reason than a running
    /// instance; `held()` false means another instance holds it.
    static Expected<SingleInstance> Acquire(const std::filesystem::path& programPath,
                                            const std::filesystem::path& lockFolder);

    /// The folder of per-user locks: $XDG_RUNTIME_DIR, or the temporary folder when it is
    /// unset, empty or no folder.
    static std::filesystem::path DefaultLockFolder();

    /// The lock file of `programPath` in `lockFolder`: the program's file name and the user's
    /// id, so that each user has a lock of their own also in a shared folder.
    static std::filesystem::path LockFile(const std::filesystem::path& programPath,
                                          const std::filesystem::path& lockFolder);

    SingleInstance(SingleInstance&& other) noexcept;
    SingleInstance& operator=(SingleInstance&& other) noexcept;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    /// True when this object holds the lock; false when another instance runs.
    bool held() const { return fd_ >= 0; }

  private:
    explicit SingleInstance(int fd) : fd_(fd) {}

    int fd_ = -1;
};

/// The second instance's message: "Das Programm kann nur einmal gestartet werden !", a
/// system-modal warning captioned "Fehlermeldung".
void ShowSecondInstanceMessage(Dialogs& dialogs);

}  // namespace kelvo
