#pragma once

#include <CLI/App.hpp>

namespace kelvo::cli {

/// Registers "consult KB [--answers FILE] [--transcript FILE] [--module programming|user]
/// [--breakpoint LINE] [--seed N] [--clock TIME] [--strict] [--timeout SECONDS]
/// [--screen WIDTHxHEIGHT] [--clipboard TEXT] [--interactive] [--explain]": runs a knowledge base
/// on the scripted platform and writes the transcript, or for a person at the terminal
/// (docs/consult-format.md). Its run stores the exit status in `exitCode`.
void AddConsultCommand(CLI::App& app, int& exitCode);

}  // namespace kelvo::cli
