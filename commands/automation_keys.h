#pragma once

#include <string_view>

namespace kelvo {

/// What a key line of the automation command does with its key.
enum class KeyAction { PressAndRelease, PressOnly, ReleaseOnly };

/// A key name's Windows virtual-key code (0 for a name that is no key) and its action.
struct KeyStroke {
    int code = 0;
    KeyAction action = KeyAction::PressAndRelease;
};

/// Looks up a key name (upper case, Windows-1252): the digits and letters give their character
/// code, "F1" to "F12" give 112 to 123, the German names give the keys of a German keyboard
/// ("LEERTASTE", "\xD6", "CURSOR_NACH_OBEN" ...). Only the modifiers' "_UNTEN" and "_OBEN"
/// names press or release alone; every other key is pressed and released.
KeyStroke LookupKey(std::string_view name);

}  // namespace kelvo
