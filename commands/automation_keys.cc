#include "commands/automation_keys.h"

#include <array>

namespace kelvo {
namespace {

struct NamedKey {
    std::string_view name;
    KeyStroke stroke;
};

constexpr KeyAction kBoth = KeyAction::PressAndRelease;
constexpr KeyAction kDown = KeyAction::PressOnly;
constexpr KeyAction kUp = KeyAction::ReleaseOnly;

// The keys with names of their own. The action is part of each entry: "CURSOR_NACH_OBEN" and
// "BILD_NACH_UNTEN" end like a modifier's release and press names but are whole keystrokes.
constexpr std::array<NamedKey, 33> kNamedKeys{{
    {"\xDF", {219, kBoth}},  // VK_OEM_4: ß and ?
    {",", {188, kBoth}},     // VK_OEM_COMMA
    {".", {190, kBoth}},     // VK_OEM_PERIOD
    {"-", {189, kBoth}},     // VK_OEM_MINUS
    {"+", {107, kBoth}},     // VK_ADD, plus of the numeric keypad
    {"*", {106, kBoth}},     // VK_MULTIPLY, times of the numeric keypad
    {"\xD6", {192, kBoth}},  // VK_OEM_3: Ö
    {"\xC4", {222, kBoth}},  // VK_OEM_7: Ä
    {"\xDC", {186, kBoth}},  // VK_OEM_1: Ü
    {"<", {226, kBoth}},     // VK_OEM_102: < > |
    {"#", {191, kBoth}},     // VK_OEM_2: # and '
    {"LEERTASTE", {32, kBoth}},
    {"TAB", {9, kBoth}},
    {"RETURN", {13, kBoth}},
    {"POS1", {36, kBoth}},
    {"ENDE", {35, kBoth}},
    {"APPLICATION", {93, kBoth}},
    {"BILD_NACH_OBEN", {33, kBoth}},
    {"BILD_NACH_UNTEN", {34, kBoth}},
    {"CURSOR_NACH_OBEN", {38, kBoth}},
    {"CURSOR_NACH_UNTEN", {40, kBoth}},
    {"CURSOR_NACH_RECHTS", {39, kBoth}},
    {"CURSOR_NACH_LINKS", {37, kBoth}},
    {"L\xD6SCHEN_NACH_RECHTS", {46, kBoth}},
    {"L\xD6SCHEN_NACH_LINKS", {8, kBoth}},
    {"SHIFT_UNTEN", {16, kDown}},
    {"SHIFT_OBEN", {16, kUp}},
    {"STRG_UNTEN", {17, kDown}},
    {"STRG_OBEN", {17, kUp}},
    {"ALT_UNTEN", {18, kDown}},
    {"ALT_OBEN", {18, kUp}},
    {"ALTGR_UNTEN", {165, kDown}},
    {"ALTGR_OBEN", {165, kUp}},
}};

constexpr bool NamesAreDistinct() {
    for (std::size_t i = 0; i < kNamedKeys.size(); ++i) {
        for (std::size_t j = i + 1; j < kNamedKeys.size(); ++j) {
            if (kNamedKeys[i].name == kNamedKeys[j].name) {
                return false;
            }
        }
    }
    return true;
}
static_assert(NamesAreDistinct(), "a key name is listed twice");

}  // namespace

KeyStroke LookupKey(std::string_view name) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    // "0" to "9" and "A" to "Z": their character codes.
    if (name.size() == 1 && (isDigit(name[0]) || (name[0] >= 'A' && name[0] <= 'Z'))) {
        return {name[0], KeyAction::PressAndRelease};
    }
    // "F1" to "F12": 112 to 123 (no leading zero, "F13" is no key).
    if ((name.size() == 2 || name.size() == 3) && name[0] == 'F' && isDigit(name[1]) &&
        name[1] != '0' && (name.size() == 2 || isDigit(name[2]))) {
        const int number =
            name.size() == 2 ? name[1] - '0' : (name[1] - '0') * 10 + (name[2] - '0');
        if (number <= 12) {
            return {111 + number, KeyAction::PressAndRelease};
        }
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.name == name) {
            return key.stroke;
        }
    }
    return {};
}

}  // namespace kelvo
