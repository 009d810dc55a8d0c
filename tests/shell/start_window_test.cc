#include "shell/start_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "tests/shell/fake_desktop.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

class StartWindowTest : public testing::Test {
  protected:
    ShellConfig Config(bool programmingModule) {
        ShellConfig config;
        config.programmingModule = programmingModule;
        config.programPath = dir_ / "berater";
        return config;
    }

    TempDir dir_;
    FakeDesktop desktop_;
    ShellServices services_ = desktop_.Services();
};

TEST_F(StartWindowTest, ProgrammingModuleShowsThePictureForMoreThanThreeSeconds) {
    const ShellConfig config = Config(true);
    TForm4 window(config, services_);
    EXPECT_TRUE(window.PictureMarked());
    const WindowRect bounds = window.Bounds();
    EXPECT_EQ(bounds.left, 100);
    EXPECT_EQ(bounds.top, 100);
    EXPECT_EQ(bounds.width, 200);
    EXPECT_EQ(bounds.height, 250);
    window.WndProcPaint();
    EXPECT_GT(desktop_.ticks, 3000u);
    EXPECT_FALSE(window.PictureMarked());
    EXPECT_TRUE(window.Closed());
    EXPECT_TRUE(window.StartFileName().empty());
    EXPECT_EQ(desktop_.log, (std::vector<std::string>{"cursor hourglass", "cursor arrow"}));
}

TEST_F(StartWindowTest, ProgrammingModuleIgnoresAKnowledgeBaseBesideTheProgram) {
    std::ofstream(dir_ / "berater.WBB") << "";
    const ShellConfig config = Config(true);
    TForm4 window(config, services_);
    window.WndProcPaint();
    EXPECT_TRUE(window.StartFileName().empty());
}

TEST_F(StartWindowTest, UserModuleIsInvisibleAndDoesNotWait) {
    std::ofstream(dir_ / "BERATER.wbb") << "";
    const ShellConfig config = Config(false);
    TForm4 window(config, services_);
    EXPECT_FALSE(window.PictureMarked());
    EXPECT_EQ(window.Bounds().width, 1);
    EXPECT_EQ(window.Bounds().height, 1);
    window.WndProcPaint();
    EXPECT_EQ(desktop_.ticks, 0u);
    EXPECT_EQ(window.StartFileName(), (dir_ / "BERATER.wbb").string());
    EXPECT_TRUE(desktop_.Lines("filedialog").empty());
}

TEST_F(StartWindowTest, ClosingTwiceChoosesOnce) {
    const ShellConfig config = Config(false);
    TForm4 window(config, services_);
    window.FormClose();
    window.WndProcPaint();
    window.FormClose();
    EXPECT_EQ(desktop_.Lines("filedialog").size(), 1u);
}

}  // namespace
}  // namespace kelvo
