// The programs' choice of input synthesis: without an X11 display there is none.

#include "app/gui/desktop_automation.h"

#include <gtest/gtest.h>

#include "platform/qt/qt_screen.h"

namespace kelvo {
namespace {

TEST(DesktopAutomation, OffscreenHasNoInputSynthesisButKnowsTheScreen) {
    const std::unique_ptr<Automation> automation = MakeDesktopAutomation();
    EXPECT_FALSE(automation->Available());
    EXPECT_EQ(automation->Screen().width, PrimaryScreenSize().width);
    EXPECT_EQ(automation->Screen().height, PrimaryScreenSize().height);
}

}  // namespace
}  // namespace kelvo
