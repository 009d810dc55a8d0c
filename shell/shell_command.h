#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kelvo {

/// The commands of the main window, each a menu item and (all but Compilieren) a toolbar
/// button doing the same. The order is that of the table below.
enum class ShellCommand {
    Neu,
    Oeffnen,
    Schliesen,
    Compilieren,
    Beenden,
    Info,
    Bearbeiten,
    Starten,
    Hilfe,
};

inline constexpr std::size_t kShellCommandCount = 9;

/// How a view shows a command. Texts are Windows-1252; "&" marks the access key.
struct ShellCommandView {
    ShellCommand command;
    std::string_view name;        ///< the command's name ("Neu", "Öffnen", "Schließen", ...)
    std::string_view component;   ///< the menu item's component name ("Neu", "Oeffnen", ...)
    std::string_view menu;        ///< the menu it is in ("&Wissensbasis", "&Dienste", "&Hilfe")
    std::string_view caption;     ///< the menu item's caption ("&Neu", "Ö&ffnen", ...)
    std::string_view shortcut;    ///< "Ctrl+N", ...; "F1" for Hilfe
    bool separatorBefore;         ///< a separator line above the item (before "&Info")
    std::string_view button;      ///< the toolbar button's component name; empty for none
    int buttonLeft;               ///< the button's left edge in the toolbar
    std::string_view buttonHint;  ///< the button's hint
};

/// Every command in the order of ShellCommand; the menus list them in this order.
inline constexpr std::array<ShellCommandView, kShellCommandCount> kShellCommands{{
    {ShellCommand::Neu, "Neu", "Neu", "&Wissensbasis", "&Neu", "Ctrl+N", false, "NeuButton", 8,
     "Wissensbasis neu erstellen"},
    {ShellCommand::Oeffnen,
     "\xD6"
     "ffnen",
     "Oeffnen", "&Wissensbasis", "\xD6&ffnen", "Ctrl+F", false, "OeffnenButton", 40,
     "Wissensbasis \xF6"
     "ffnen"},
    {ShellCommand::Schliesen,
     "Schlie\xDF"
     "en",
     "Schliesen", "&Wissensbasis",
     "&Schlie\xDF"
     "en",
     "Ctrl+S", false, "SchliesenButton", 72,
     "Wissensbasis schlie\xDF"
     "en"},
    {ShellCommand::Compilieren, "Compilieren", "Compilieren", "&Wissensbasis", "&Compilieren",
     "Ctrl+C", false, "", 0, ""},
    {ShellCommand::Beenden, "Beenden", "Beenden", "&Wissensbasis", "&Beenden", "Ctrl+B", false, "",
     0, ""},
    {ShellCommand::Info, "Info", "Info", "&Wissensbasis", "&Info", "Ctrl+I", true, "", 0, ""},
    {ShellCommand::Bearbeiten, "Bearbeiten", "Bearbeiten", "&Dienste", "B&earbeiten", "Ctrl+E",
     false, "BearbeitenButton", 112, "Wissensbasis bearbeiten"},
    {ShellCommand::Starten, "Starten", "Starten", "&Dienste", "S&tarten", "Ctrl+T", false,
     "StartenButton", 144, "Wissensbasis starten"},
    {ShellCommand::Hilfe, "Hilfe", "Hilfe", "&Hilfe", "&Hilfe", "F1", false, "HilfeButton", 184,
     "Hilfe aufrufen"},
}};

constexpr bool CommandTableInOrder() {
    for (std::size_t i = 0; i < kShellCommandCount; ++i) {
        if (static_cast<std::size_t>(kShellCommands[i].command) != i) {
            return false;
        }
    }
    return true;
}
static_assert(CommandTableInOrder(), "kShellCommands is indexed by ShellCommand");

/// The view of `command`.
const ShellCommandView& ViewOf(ShellCommand command);

/// The command whose name (Windows-1252, as in ShellCommandView::name) is `name`; nothing for
/// an unknown name.
std::optional<ShellCommand> ShellCommandNamed(std::string_view name);

/// Whether `command` is enabled in the open or closed state of the given module.
bool CommandEnabled(ShellCommand command, bool knowledgeBaseOpen, bool programmingModule);

}  // namespace kelvo
