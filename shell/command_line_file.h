#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvo {

/// The knowledge base named on a desktop program's command line, as a desktop passes the file
/// a user opened with it: the first argument after the program's name that is not an option
/// (an argument beginning with "-"; every argument after "--" is a file name). A relative name
/// is taken in `currentFolder`. Empty when no file is named. `arguments` are UTF-8, the
/// program's name first.
std::filesystem::path CommandLineFile(const std::vector<std::string>& arguments,
                                      const std::filesystem::path& currentFolder);

}  // namespace kelvo
