#pragma once

#include <CLI/App.hpp>

namespace kelvo::cli {

/// Exit status of `desktop` when the program had not ended: the script ran out while a window
/// waited for an action (or --strict ran out of answers), or the time limit was reached.
inline constexpr int kExitNotEnded = 3;

/// Registers "desktop --module programming|user --program PATH [--script FILE]
/// [--transcript FILE] [--seed N] [--clock TIME] [--screen WIDTHxHEIGHT] [--clipboard TEXT]
/// [--desktop JSON] [--strict] [--timeout SECONDS]": runs the whole application with all its
/// windows on the scripted platform (docs/desktop-format.md). Its run stores the exit status
/// in `exitCode`.
void AddDesktopCommand(CLI::App& app, int& exitCode);

}  // namespace kelvo::cli
