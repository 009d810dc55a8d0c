#pragma once

#include <array>

namespace kelvo {

class VariableLine;

/// Carries out the command of one variable line.
using VariableCommandHandler = void (*)(VariableLine& line);

/// One command letter (column 39, Windows-1252) and its handler (never null).
struct VariableCommand {
    char letter;
    VariableCommandHandler handler;
};

/// Number of command letters.
inline constexpr std::size_t kVariableCommandCount = 40;

/// The command of `letter`, or nullptr when the letter is no command.
const VariableCommand* FindVariableCommand(char letter);

/// Runs the command of the line's column 39. A letter that is no command does nothing.
void DispatchVariableCommand(VariableLine& line);

}  // namespace kelvo
