#pragma once

#include <CLI/App.hpp>

namespace kelvo::cli {

/// Registers "explain KB [--answers FILE] [--object NAME] [--why-not VALUE] [--json]
/// [--module programming|user] [--timeout SECONDS]": runs the consultation as `consult` does
/// and prints why the goal (or the object) has its values: the evidence tree of each of its
/// fact records, and with --why-not the rules that did not conclude. Its run stores the exit
/// status (that of `consult`) in `exitCode`.
void AddExplainCommand(CLI::App& app, int& exitCode);

}  // namespace kelvo::cli
