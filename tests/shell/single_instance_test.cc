#include "shell/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

// Each test takes its locks in a folder of its own, so parallel test runs never meet.
class SingleInstanceTest : public testing::Test {
  protected:
    std::optional<SingleInstance> Take(const std::filesystem::path& program) {
        auto lock = SingleInstance::Acquire(program, dir_.path());
        if (!lock) {
            ADD_FAILURE() << lock.error().message;
            return std::nullopt;
        }
        return std::move(*lock);
    }

    TempDir dir_;
};

TEST_F(SingleInstanceTest, TheSecondInstanceDoesNotGetTheLock) {
    auto first = Take("/opt/k/berater");
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(first->held());
    auto second = Take("/somewhere/else/berater");  // only the file name counts
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(second->held());
}

TEST_F(SingleInstanceTest, OtherProgramsHaveLocksOfTheirOwn) {
    auto programming = Take("/opt/k/kelvo");
    auto user = Take("/opt/k/kelvo-run");
    ASSERT_TRUE(programming.has_value() && user.has_value());
    EXPECT_TRUE(programming->held());
    EXPECT_TRUE(user->held());
}

TEST_F(SingleInstanceTest, ReleasedWhenTheObjectGoes) {
    {
        auto first = Take("/opt/k/berater");
        ASSERT_TRUE(first.has_value() && first->held());
    }
    auto again = Take("/opt/k/berater");
    ASSERT_TRUE(again.has_value());
    EXPECT_TRUE(again->held());
}

TEST_F(SingleInstanceTest, MovingKeepsOneHolder) {
    auto first = Take("/opt/k/berater");
    ASSERT_TRUE(first.has_value());
    SingleInstance moved = std::move(*first);
    EXPECT_TRUE(moved.held());
    EXPECT_FALSE(first->held());  // NOLINT(bugprone-use-after-move): the moved-from state
    auto second = Take("/opt/k/berater");
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(second->held());
}

TEST_F(SingleInstanceTest, ReleasedWhenTheHolderIsKilled) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto lock = SingleInstance::Acquire("/opt/k/berater", dir_.path());
        const char held = lock && lock->held() ? '1' : '0';
        if (::write(ready[1], &held, 1) != 1) {
            ::_exit(2);
        }
        ::pause();  // holds the lock until it is killed
        ::_exit(0);
    }
    ::close(ready[1]);
    char held = '0';
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(held, '1');
    auto whileRunning = Take("/opt/k/berater");
    ASSERT_TRUE(whileRunning.has_value());
    EXPECT_FALSE(whileRunning->held());

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    auto afterwards = Take("/opt/k/berater");
    ASSERT_TRUE(afterwards.has_value());
    EXPECT_TRUE(afterwards->held());
}

TEST_F(SingleInstanceTest, AFolderThatCannotHoldTheLockFails) {
    auto lock = SingleInstance::Acquire("/opt/k/berater", dir_ / "missing");
    EXPECT_FALSE(lock.ok());
}

// $XDG_RUNTIME_DIR as the test sets it, restored afterwards.
class RuntimeFolder {
  public:
    explicit RuntimeFolder(const char* value) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv("XDG_RUNTIME_DIR", value, 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    ~RuntimeFolder() {
        if (old_) {
            ::setenv("XDG_RUNTIME_DIR", old_->c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

  private:
    std::optional<std::string> old_;
};

TEST_F(SingleInstanceTest, TheRuntimeFolderWhenItExistsElseTheTemporaryFolder) {
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    {
        RuntimeFolder set(dir_.path().c_str());
        EXPECT_EQ(SingleInstance::DefaultLockFolder(), dir_.path());
    }
    {
        RuntimeFolder missing((dir_ / "fehlt").c_str());
        EXPECT_EQ(SingleInstance::DefaultLockFolder(), temporary);
    }
    {
        RuntimeFolder empty("");
        EXPECT_EQ(SingleInstance::DefaultLockFolder(), temporary);
    }
    {
        RuntimeFolder unset(nullptr);
        EXPECT_EQ(SingleInstance::DefaultLockFolder(), temporary);
    }
}

TEST_F(SingleInstanceTest, LockFileNamedAfterTheProgram) {
    const std::filesystem::path file = SingleInstance::LockFile("/opt/k/berater.exe", dir_.path());
    EXPECT_EQ(file.parent_path(), dir_.path());
    EXPECT_EQ(file.filename().string().rfind("berater.exe", 0), 0u) << file;
    EXPECT_EQ(file.extension(), ".lock");
}

}  // namespace
}  // namespace kelvo
