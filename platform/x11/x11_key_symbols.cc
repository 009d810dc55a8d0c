#include "platform/x11/x11_key_symbols.h"

#include <X11/keysym.h>

#include <array>

namespace kelvo {
namespace {

struct KeyMapping {
    int virtualKey;
    unsigned long symbol;
};

// The keys of the automation command other than digits, letters and F1 to F12.
constexpr std::array<KeyMapping, 29> kKeyMappings{{
    {8, XK_BackSpace},
    {9, XK_Tab},
    {13, XK_Return},
    {16, XK_Shift_L},
    {17, XK_Control_L},
    {18, XK_Alt_L},
    {32, XK_space},
    {33, XK_Prior},  // page up
    {34, XK_Next},   // page down
    {35, XK_End},
    {36, XK_Home},
    {37, XK_Left},
    {38, XK_Up},
    {39, XK_Right},
    {40, XK_Down},
    {46, XK_Delete},
    {93, XK_Menu},
    {106, XK_KP_Multiply},
    {107, XK_KP_Add},
    {165, XK_ISO_Level3_Shift},  // AltGr
    {186, XK_udiaeresis},        // VK_OEM_1
    {188, XK_comma},
    {189, XK_minus},
    {190, XK_period},
    {191, XK_numbersign},  // VK_OEM_2
    {192, XK_odiaeresis},  // VK_OEM_3
    {219, XK_ssharp},      // VK_OEM_4
    {222, XK_adiaeresis},  // VK_OEM_7
    {226, XK_less},        // VK_OEM_102
}};

constexpr bool CodesAreAscending() {
    for (std::size_t i = 1; i < kKeyMappings.size(); ++i) {
        if (kKeyMappings[i - 1].virtualKey >= kKeyMappings[i].virtualKey) {
            return false;
        }
    }
    return true;
}
static_assert(CodesAreAscending(), "the key mappings must be ordered by code, each once");

}  // namespace

unsigned long KeySymbolFor(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9')) {
        return XK_0 + static_cast<unsigned long>(virtualKey - '0');
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return XK_a + static_cast<unsigned long>(virtualKey - 'A');
    }
    if (virtualKey >= 112 && virtualKey <= 123) {
        return XK_F1 + static_cast<unsigned long>(virtualKey - 112);
    }
    for (const KeyMapping& mapping : kKeyMappings) {
        if (mapping.virtualKey == virtualKey) {
            return mapping.symbol;
        }
    }
    return 0;
}

}  // namespace kelvo
