// LinuxDesktopShell, as far as it runs without a desktop.
#include "platform/desktop/linux_desktop_shell.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

// Waits for the started programs to end by collecting them until none is left; the loop is
// bounded by the programs themselves, which end at once.
void CollectAll(LinuxDesktopShell& shell) {
    while (shell.RunningCount() > 0) {
        shell.CollectEnded();
    }
}

TEST(LinuxDesktopShell, StartsAProgramInItsWorkingFolder) {
    TempDir temp;
    LinuxDesktopShell shell({});
    // "touch" names a file relative to its working folder.
    ASSERT_TRUE(shell.StartProcess({"touch", "gestartet"}, temp.path()));
    CollectAll(shell);
    EXPECT_TRUE(fs::exists(temp / "gestartet"));
}

TEST(LinuxDesktopShell, StartsAProgramByItsPath) {
    LinuxDesktopShell shell({});
    EXPECT_TRUE(shell.StartProcess({"/bin/true"}, fs::temp_directory_path()));
    CollectAll(shell);
    EXPECT_EQ(shell.RunningCount(), 0U);
}

TEST(LinuxDesktopShell, TakesArgumentsWithoutAShell) {
    TempDir temp;
    LinuxDesktopShell shell({});
    ASSERT_TRUE(shell.StartProcess({"touch", "a b;c"}, temp.path()));
    CollectAll(shell);
    EXPECT_TRUE(fs::exists(temp / "a b;c"));
}

struct StartFailure {
    std::string name;
    std::vector<std::string> arguments;
    std::string folder;
};

class LinuxDesktopShellStart : public testing::TestWithParam<StartFailure> {};

TEST_P(LinuxDesktopShellStart, Fails) {
    LinuxDesktopShell shell({});
    EXPECT_FALSE(shell.StartProcess(GetParam().arguments, GetParam().folder));
    EXPECT_EQ(shell.RunningCount(), 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinuxDesktopShellStart,
    testing::Values(StartFailure{"MissingProgram", {"kelvo-kein-solches-programm"}, ""},
                    StartFailure{"MissingFolder", {"/bin/true"}, "/kelvo/kein/ordner"},
                    StartFailure{"NoArguments", {}, ""}, StartFailure{"EmptyProgram", {""}, ""}),
    CaseName());

// Descriptors opened without close-on-exec, as a library or the program's own starter may
// leave them; closed again at the end of the test.
class LeakyDescriptors {
  public:
    LeakyDescriptors() {
        int ends[2] = {-1, -1};
        if (::pipe(ends) == 0) {
            open_.insert(open_.end(), {ends[0], ends[1]});
        }
        const int file = ::open("/dev/null", O_RDONLY);  // deliberately inheritable
        if (file >= 0) {
            open_.push_back(file);
        }
    }
    ~LeakyDescriptors() {
        for (const int fd : open_) {
            ::close(fd);
        }
    }
    LeakyDescriptors(const LeakyDescriptors&) = delete;
    LeakyDescriptors& operator=(const LeakyDescriptors&) = delete;
    std::size_t Count() const { return open_.size(); }

  private:
    std::vector<int> open_;
};

TEST(LinuxDesktopShell, AStartedProgramInheritsOnlyTheStandardDescriptors) {
    TempDir temp;
    const LeakyDescriptors leaky;
    ASSERT_EQ(leaky.Count(), 3U);
    LinuxDesktopShell shell({});
    ASSERT_TRUE(shell.StartProcess({KELVO_DESCRIPTOR_REPORT, "fds.txt"}, temp.path()));
    CollectAll(shell);
    std::ifstream report(temp / "fds.txt");
    ASSERT_TRUE(report) << "the child wrote no report";
    std::set<std::string> inherited;
    for (std::string line; std::getline(report, line);) {
        inherited.insert(line);
    }
    // The standard channels are the test's own; whichever of them it has open are passed on.
    std::erase_if(inherited,
                  [](const std::string& fd) { return fd == "0" || fd == "1" || fd == "2"; });
    EXPECT_TRUE(inherited.empty()) << "inherited: " << testing::PrintToString(inherited);
}

TEST(LinuxDesktopShell, OpenFailsForAMissingFile) {
    LinuxDesktopShell shell({});
    EXPECT_FALSE(shell.OpenDocument("/kelvo/kein/ordner/bericht.pdf"));
    EXPECT_FALSE(shell.OpenDocument(""));
}

TEST(LinuxDesktopShell, KnowsTheProgramAndTheKnowledgeBase) {
    LinuxDesktopShell shell("/home/wb/BERATUNG.WBP");
    EXPECT_EQ(shell.KnowledgeBasePath(), fs::path("/home/wb/BERATUNG.WBP"));
    EXPECT_EQ(shell.ProgramPath().filename(), "commands_tests");
}

}  // namespace
}  // namespace kelvo
