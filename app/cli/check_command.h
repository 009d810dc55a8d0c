#pragma once

#include <CLI/App.hpp>

namespace kelvo::cli {

/// Registers "check KB": checks every line with the grammar and runs the program check, and
/// lists every problem with its line number. Exit 0 when the knowledge base would start.
/// "--lint" adds the lint's warnings (exit status unchanged), "--lint=strict" exits 1 when
/// there are warnings.
/// Its run stores the exit status in `exitCode`.
void AddCheckCommand(CLI::App& app, int& exitCode);

}  // namespace kelvo::cli
