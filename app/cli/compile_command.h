#pragma once

#include <CLI/App.hpp>

namespace kelvo::cli {

/// Registers "compile KB.wbp [--seed N]": derives the run-only ".WBB" file beside it. Its run
/// stores the exit status in `exitCode`.
void AddCompileCommand(CLI::App& app, int& exitCode);

}  // namespace kelvo::cli
