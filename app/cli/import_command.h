#pragma once

#include <CLI/App.hpp>

namespace kelvo::cli {

/// Registers "import SOURCE TARGET [--force]": checks every line of a text file and writes
/// the normalized records as a knowledge-base file. Its run stores the exit status in
/// `exitCode`.
void AddImportCommand(CLI::App& app, int& exitCode);

}  // namespace kelvo::cli
