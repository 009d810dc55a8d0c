#include "shell/shell_command.h"

namespace kelvo {

namespace {

// Columns of the enabling table.
enum Column { kClosedProgramming, kClosedUser, kOpenProgramming, kOpenUser, kColumns };

// The enabling table, one row per command in the order of ShellCommand.
constexpr std::array<std::array<bool, kColumns>, kShellCommandCount> kEnabled{{
    {true, false, false, false},  // Neu
    {true, true, false, false},   // Öffnen
    {false, false, true, true},   // Schließen
    {false, false, true, false},  // Compilieren
    {true, true, false, false},   // Beenden
    {true, true, true, true},     // Info
    {false, false, true, false},  // Bearbeiten
    {false, false, true, true},   // Starten
    {true, true, true, true},     // Hilfe
}};

}  // namespace

const ShellCommandView& ViewOf(ShellCommand command) {
    return kShellCommands[static_cast<std::size_t>(command)];
}

std::optional<ShellCommand> ShellCommandNamed(std::string_view name) {
    for (const ShellCommandView& view : kShellCommands) {
        if (view.name == name) {
            return view.command;
        }
    }
    return std::nullopt;
}

bool CommandEnabled(ShellCommand command, bool knowledgeBaseOpen, bool programmingModule) {
    const int column =
        (knowledgeBaseOpen ? kOpenProgramming : kClosedProgramming) + (programmingModule ? 0 : 1);
    return kEnabled[static_cast<std::size_t>(command)][static_cast<std::size_t>(column)];
}

}  // namespace kelvo
