#pragma once

#include <filesystem>
#include <optional>

namespace kelvo {

/// The folder of the program (`programPath` is its full path): it holds the help documents.
std::filesystem::path ProgramFolder(const std::filesystem::path& programPath);

/// The run-only knowledge base named like the program, beside it: the program's path with its
/// extension, if any, replaced by ".WBB" ("/opt/k/berater" and "/opt/k/berater.exe" both give
/// "/opt/k/berater.WBB").
std::filesystem::path RunOnlyBesideProgram(const std::filesystem::path& programPath);

/// The existing file RunOnlyBesideProgram names, found without regard to case (the name as
/// written first, then the first match in name order); nothing when there is none.
std::optional<std::filesystem::path> FindRunOnlyBesideProgram(
    const std::filesystem::path& programPath);

}  // namespace kelvo
