#pragma once

#include <filesystem>
#include <string_view>

namespace kelvo {

/// Turns a file name as a knowledge base writes it (Windows-1252) into a path of this system.
/// A "\" separates folders like "/". Every part of the name that does not exist as written is
/// looked up in its folder without regard to case (knowledge bases upper-case their file
/// names, and extensions are compared without case); a part with no such entry is kept as
/// written, so the result also names a file that is yet to be created. Pure apart from
/// reading folders; never fails.
std::filesystem::path ResolvePath(std::string_view windows1252Name);

}  // namespace kelvo
