#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>

#include "platform/x11/x11_automation.h"
#include "platform/x11/x11_key_symbols.h"

namespace kelvo {
namespace {

// No X server listens on this display in the tests.
constexpr const char* kNoDisplay = ":4711";

TEST(X11Automation, WithoutADisplayIsUnavailableAndDoesNothing) {
    X11Automation automation(kNoDisplay);
    EXPECT_FALSE(automation.Available());
    EXPECT_FALSE(automation.EscapePressed());
    automation.KeyDown(65);
    automation.KeyUp(65);
    automation.MoveCursor(10, 20);
    automation.MouseButtonEvent(MouseButton::Left, true);
    automation.MouseButtonEvent(MouseButton::Left, false);
    EXPECT_EQ(automation.Screen().width, 0);
    EXPECT_EQ(automation.Screen().height, 0);
    EXPECT_EQ(automation.Pixel(0, 0).red, 0);
}

TEST(X11Automation, UnavailableNoticeIsDueOnce) {
    X11Automation automation(kNoDisplay);
    EXPECT_TRUE(automation.TakeUnavailableNotice());
    EXPECT_FALSE(automation.TakeUnavailableNotice());
    automation.ResetUnavailableNotice();
    EXPECT_TRUE(automation.TakeUnavailableNotice());
}

struct SymbolCase {
    int virtualKey;
    unsigned long symbol;
};

TEST(X11KeySymbols, GermanKeyboard) {
    const SymbolCase cases[] = {
        {'0', XK_0},
        {'9', XK_9},
        {'A', XK_a},
        {'Z', XK_z},
        {112, XK_F1},
        {123, XK_F12},
        {219, XK_ssharp},
        {188, XK_comma},
        {190, XK_period},
        {189, XK_minus},
        {107, XK_KP_Add},
        {106, XK_KP_Multiply},
        {192, XK_odiaeresis},
        {222, XK_adiaeresis},
        {186, XK_udiaeresis},
        {226, XK_less},
        {191, XK_numbersign},
        {32, XK_space},
        {9, XK_Tab},
        {13, XK_Return},
        {36, XK_Home},
        {35, XK_End},
        {93, XK_Menu},
        {33, XK_Prior},
        {34, XK_Next},
        {38, XK_Up},
        {40, XK_Down},
        {39, XK_Right},
        {37, XK_Left},
        {46, XK_Delete},
        {8, XK_BackSpace},
        {16, XK_Shift_L},
        {17, XK_Control_L},
        {18, XK_Alt_L},
        {165, XK_ISO_Level3_Shift},
        {0, 0},
        {124, 0},
        {'a', 0},
    };
    for (const SymbolCase& row : cases) {
        EXPECT_EQ(KeySymbolFor(row.virtualKey), row.symbol) << row.virtualKey;
    }
}

}  // namespace
}  // namespace kelvo
