#include "authoring/editor_button.h"

#include <array>
#include <utility>

namespace kelvo {
namespace {

// ORDER: the enumeration's order.
constexpr std::array<std::pair<EditorButton, std::string_view>, 37> kButtons = {{
    {EditorButton::Einfuegen, "Einfuegen"},
    {EditorButton::Verschieben_1, "Verschieben_1"},
    {EditorButton::Loeschen_1, "Loeschen_1"},
    {EditorButton::Kopieren_1, "Kopieren_1"},
    {EditorButton::Ueb_1, "Ueb_1"},
    {EditorButton::Drucken_1, "Drucken_1"},
    {EditorButton::In_Ablage_1, "In_Ablage_1"},
    {EditorButton::In_Ablage_2, "In_Ablage_2"},
    {EditorButton::In_Ablage_3, "In_Ablage_3"},
    {EditorButton::Aus_Ablage_1, "Aus_Ablage_1"},
    {EditorButton::Aus_Ablage_2, "Aus_Ablage_2"},
    {EditorButton::Aus_Ablage_3, "Aus_Ablage_3"},
    {EditorButton::Suchen, "Suchen"},
    {EditorButton::Weitersuchen, "Weitersuchen"},
    {EditorButton::So_Zei_P1, "So_Zei_P1"},
    {EditorButton::So_Zei_P2, "So_Zei_P2"},
    {EditorButton::So_Zei_P3, "So_Zei_P3"},
    {EditorButton::So_Zei_P4, "So_Zei_P4"},
    {EditorButton::So_Zei_P5, "So_Zei_P5"},
    {EditorButton::So_Zei_P6, "So_Zei_P6"},
    {EditorButton::So_Zei_P7, "So_Zei_P7"},
    {EditorButton::So_Zei_P8, "So_Zei_P8"},
    {EditorButton::So_Zei_P9, "So_Zei_P9"},
    {EditorButton::Hilfe_1, "Hilfe_1"},
    {EditorButton::Button1, "Button1"},
    {EditorButton::Von_1, "Von_1"},
    {EditorButton::Bis_1, "Bis_1"},
    {EditorButton::Aus_1, "Aus_1"},
    {EditorButton::Schliesen_Starten, "Schliesen_Starten"},
    {EditorButton::Starten_Haltepunkt, "Starten_Haltepunkt"},
    {EditorButton::Schliesen_1, "Schliesen_1"},
    {EditorButton::Abbruch, "Abbruch"},
    {EditorButton::Anfang, "Anfang"},
    {EditorButton::Minus_1, "Minus_1"},
    {EditorButton::Plus_1, "Plus_1"},
    {EditorButton::Ende, "Ende"},
    {EditorButton::CheckBox1, "CheckBox1"},
}};

constexpr bool InEnumerationOrder() {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        if (static_cast<std::size_t>(kButtons[i].first) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(EditorButton::CheckBox1) + 1 == kButtons.size();
}
static_assert(InEnumerationOrder(), "ORDER: one entry per button, in the enumeration's order");

constexpr std::array<EditorButton, kButtons.size()> AllButtons() {
    std::array<EditorButton, kButtons.size()> all{};
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        all[i] = kButtons[i].first;
    }
    return all;
}
constexpr std::array<EditorButton, kButtons.size()> kAllButtons = AllButtons();

// ORDER: the enumeration's order.
constexpr std::array<std::string_view, 8> kKeyNames = {"Up",    "Down", "PageUp", "PageDown",
                                                       "Enter", "F1",   "F5",     "F6"};
static_assert(static_cast<std::size_t>(EditorKey::F6) + 1 == kKeyNames.size(),
              "ORDER: one name per key");

}  // namespace

std::span<const EditorButton> AllEditorButtons() {
    return kAllButtons;
}

std::string_view EditorButtonName(EditorButton button) {
    return kButtons[static_cast<std::size_t>(button)].second;
}

std::optional<EditorButton> EditorButtonNamed(std::string_view name) {
    for (const auto& [button, buttonName] : kButtons) {
        if (buttonName == name) {
            return button;
        }
    }
    return std::nullopt;
}

std::string_view EditorKeyName(EditorKey key) {
    return kKeyNames[static_cast<std::size_t>(key)];
}

std::optional<EditorKey> EditorKeyNamed(std::string_view name) {
    for (std::size_t i = 0; i < kKeyNames.size(); ++i) {
        if (kKeyNames[i] == name) {
            return static_cast<EditorKey>(i);
        }
    }
    return std::nullopt;
}

}  // namespace kelvo
