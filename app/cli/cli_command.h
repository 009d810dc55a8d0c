#pragma once

namespace kelvo::cli {

// Exit status of kelvo-cli.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  ///< a faulty line or a file error
inline constexpr int kExitUsage = 2;    ///< wrong usage (reported by the argument parser)

}  // namespace kelvo::cli
