#pragma once

#include <CLI/App.hpp>

namespace kelvo::cli {

/// Registers "export [--raw] KB": writes a knowledge-base file in the text form (or every
/// record's exact text) to standard output. Its run stores the exit status in `exitCode`.
void AddExportCommand(CLI::App& app, int& exitCode);

}  // namespace kelvo::cli
