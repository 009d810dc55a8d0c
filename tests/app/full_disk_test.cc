// Every operation that replaces a user's file, on a disk that is full: a small tmpfs that the
// test mounts in a mount namespace of its own where the process may (as root, or through a user
// namespace), otherwise a write that fails with "no space left" injected at the write step. The
// test says which it used.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "store/file_fault_injector.h"
#include "tests/app/file_replacement.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTmpfsOptions = "size=512k,mode=0700";

bool WriteProcFile(const char* file, const std::string& text) {
    const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

// Enters a mount namespace of this process's own (through a user namespace when it is not
// privileged), so that the mount below is seen by nobody else and goes with the process.
bool EnterPrivateMounts(std::string& why) {
    if (::unshare(CLONE_NEWNS) != 0) {
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            why = std::string("keine eigenen Mounts (") + std::strerror(errno) + ")";
            return false;
        }
        if (!WriteProcFile("/proc/self/setgroups", "deny") ||
            !WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            why = "Benutzernamensraum nicht einrichtbar";
            return false;
        }
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        why = std::string("Mounts nicht privat (") + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

// Where the operations run: a small tmpfs when one can be mounted, else a plain folder.
class SmallDisk {
  public:
    SmallDisk() {
        std::string why;
        if (EnterPrivateMounts(why) &&
            ::mount("tmpfs", root_.path().c_str(), "tmpfs", 0, kTmpfsOptions) == 0) {
            mounted_ = true;
        } else if (why.empty()) {
            why = std::string("tmpfs nicht einh\xC3\xA4ngbar (") + std::strerror(errno) + ")";
        }
        reason_ = why;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(root_.path().c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }
    const fs::path& path() const { return root_.path(); }

  private:
    TempDir root_;
    bool mounted_ = false;
    std::string reason_;
};

// Fills the file system of `folder` to the last block with one file; false when it did not
// fill up (no size limit).
bool FillUp(const fs::path& filler) {
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const std::vector<char> block(4096, 'x');
    bool full = false;
    for (int i = 0; i < 4096 && !full; ++i) {  // at most 16 MiB: the tmpfs holds 512 KiB
        full = ::write(fd, block.data(), block.size()) < 0 && errno == ENOSPC;
    }
    // The last pages may take single bytes still.
    while (full && ::write(fd, block.data(), 1) == 1) {
    }
    ::close(fd);
    return full;
}

std::string Joined(const std::vector<std::string>& messages) {
    std::string all;
    for (const std::string& message : messages) {
        all += "[" + message + "] ";
    }
    return all;
}

TEST(FullDisk, EveryReplacementLeavesItsTargetAndTellsTheUser) {
    SmallDisk disk;
    if (disk.mounted()) {
        std::cout << "full disk: a tmpfs (" << kTmpfsOptions << ") mounted by the test\n";
        RecordProperty("disk", "tmpfs");
    } else {
        std::cout << "full disk: no tmpfs (" << disk.reason()
                  << "); a write failing with ENOSPC is injected instead\n";
        RecordProperty("disk", "injected ENOSPC");
    }
    for (const FileReplacement& operation : FileReplacements()) {
        for (const bool exists : {false, true}) {
            if (exists && !operation.replacesExisting) {
                continue;
            }
            SCOPED_TRACE(operation.name + (exists ? " over an existing file" : " as a new file"));
            const fs::path folder = disk.path() / "work";
            std::error_code ignored;
            fs::remove_all(folder, ignored);
            ASSERT_TRUE(fs::create_directory(folder));
            if (operation.prepare) {
                operation.prepare(folder);
            }
            const fs::path target = folder / operation.target;
            if (exists) {
                WriteContent(target, operation.oldContent);
            }
            const fs::path filler = disk.path() / "filler";
            FileFaultInjector faults;
            if (disk.mounted()) {
                ASSERT_TRUE(FillUp(filler));
            } else {
                faults.FailAt(FileWriteStep::Write, 1);
            }

            const ReplacementResult failed =
                operation.run(folder, disk.mounted() ? nullptr : &faults);
            const auto normalized = [&](const std::string& content) {
                return operation.normalize && content != "<missing>" ? operation.normalize(content)
                                                                     : content;
            };
            EXPECT_EQ(normalized(FileContent(target)),
                      normalized(exists ? operation.oldContent : "<missing>"));
            EXPECT_EQ(PartialFiles(folder), std::vector<std::string>{});
            if (operation.failureMessage.empty()) {
                // Silent by design: nothing tells the user, whatever happened.
                EXPECT_EQ(failed.messages, std::vector<std::string>{});
            } else {
                EXPECT_FALSE(failed.succeeded);
                EXPECT_NE(Joined(failed.messages).find(operation.failureMessage), std::string::npos)
                    << Joined(failed.messages);
            }

            // Room again: the operation goes through.
            fs::remove(filler, ignored);
            const ReplacementResult again = operation.run(folder, nullptr);
            EXPECT_TRUE(again.succeeded) << Joined(again.messages);
            EXPECT_EQ(normalized(FileContent(target)), normalized(operation.newContent));
        }
    }
}

}  // namespace
}  // namespace kelvo
