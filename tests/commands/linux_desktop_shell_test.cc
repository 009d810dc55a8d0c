// LinuxDesktopShell, as far as it runs without a desktop.
#include "platform/desktop/linux_desktop_shell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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
