#include <gtest/gtest.h>

#include "platform/scripted/scripted_automation.h"
#include "platform/scripted/scripted_platform.h"

namespace kelvo {
namespace {

TEST(ScriptedAutomation, RecordsEveryEventWithItsTick) {
    ScriptedPlatform platform({}, ScriptedOptions{});
    ScriptedScreenOptions screen;
    screen.width = 640;
    screen.height = 480;
    screen.background = {1, 2, 3};
    screen.pixels = {{4, 5, {0, 0, 255}}};
    screen.escapeAtQuery = {2};
    ScriptedAutomation automation(platform, platform, screen);
    EXPECT_FALSE(automation.EscapePressed());
    platform.Sleep(7);
    EXPECT_TRUE(automation.EscapePressed());
    EXPECT_FALSE(automation.EscapePressed());
    automation.KeyDown(16);
    automation.KeyUp(16);
    automation.MoveCursor(4, 5);
    automation.MouseButtonEvent(MouseButton::Right, true);
    automation.MouseButtonEvent(MouseButton::Right, false);
    EXPECT_EQ(automation.Screen().width, 640);
    EXPECT_EQ(automation.Pixel(4, 5).blue, 255);
    EXPECT_EQ(automation.Pixel(0, 0).green, 2);
    EXPECT_EQ(automation.Pixel(640, 0).red, 0);  // outside the screen: black
    const std::vector<nlohmann::json> expected{
        {{"event", "escape"}, {"tick", 7}},
        {{"event", "key"}, {"action", "down"}, {"code", 16}, {"tick", 7}},
        {{"event", "key"}, {"action", "up"}, {"code", 16}, {"tick", 7}},
        {{"event", "mouse"}, {"action", "move"}, {"x", 4}, {"y", 5}, {"tick", 7}},
        {{"event", "mouse"}, {"action", "down"}, {"button", "right"}, {"tick", 7}},
        {{"event", "mouse"}, {"action", "up"}, {"button", "right"}, {"tick", 7}},
        {{"event", "screen"}, {"width", 640}, {"height", 480}, {"tick", 7}},
        {{"event", "pixel"},
         {"x", 4},
         {"y", 5},
         {"red", 0},
         {"green", 0},
         {"blue", 255},
         {"tick", 7}},
        {{"event", "pixel"},
         {"x", 0},
         {"y", 0},
         {"red", 1},
         {"green", 2},
         {"blue", 3},
         {"tick", 7}},
        {{"event", "pixel"},
         {"x", 640},
         {"y", 0},
         {"red", 0},
         {"green", 0},
         {"blue", 0},
         {"tick", 7}},
    };
    EXPECT_EQ(platform.events(), expected);
}

TEST(ScriptedAutomation, CanBeUnavailable) {
    ScriptedPlatform platform({}, ScriptedOptions{});
    ScriptedScreenOptions screen;
    screen.available = false;
    ScriptedAutomation automation(platform, platform, screen);
    EXPECT_FALSE(automation.Available());
}

}  // namespace
}  // namespace kelvo
