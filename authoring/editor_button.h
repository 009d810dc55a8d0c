#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "platform/automation.h"  // MouseButton

namespace kelvo {

/// Every button of the editor window, and its check box, by component. ORDER matters:
/// kEditorButtons lists them in this order.
enum class EditorButton {
    Einfuegen,
    Verschieben_1,
    Loeschen_1,
    Kopieren_1,
    Ueb_1,
    Drucken_1,
    In_Ablage_1,
    In_Ablage_2,
    In_Ablage_3,
    Aus_Ablage_1,
    Aus_Ablage_2,
    Aus_Ablage_3,
    Suchen,
    Weitersuchen,
    So_Zei_P1,
    So_Zei_P2,
    So_Zei_P3,
    So_Zei_P4,
    So_Zei_P5,
    So_Zei_P6,
    So_Zei_P7,
    So_Zei_P8,
    So_Zei_P9,
    Hilfe_1,
    Button1,
    Von_1,
    Bis_1,
    Aus_1,
    Schliesen_Starten,
    Starten_Haltepunkt,
    Schliesen_1,
    Abbruch,
    Anfang,
    Minus_1,
    Plus_1,
    Ende,
    CheckBox1,
};

/// Every button in the order of the enumeration.
std::span<const EditorButton> AllEditorButtons();

/// The component name of a button, e.g. "Von_1".
std::string_view EditorButtonName(EditorButton button);

/// The button of a component name (exact spelling); nothing for any other name.
std::optional<EditorButton> EditorButtonNamed(std::string_view name);

/// The keys the line field Edit8 reacts to.
enum class EditorKey { Up, Down, PageUp, PageDown, Enter, F1, F5, F6 };

/// The name of a key as scripts write it ("Up", "PageDown", "F5").
std::string_view EditorKeyName(EditorKey key);

/// The key of a name; nothing for any other name.
std::optional<EditorKey> EditorKeyNamed(std::string_view name);

}  // namespace kelvo
