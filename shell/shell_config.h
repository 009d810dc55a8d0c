#pragma once

#include <filesystem>

namespace kelvo {

/// How the program was built and where it runs; fixed when the executable starts.
struct ShellConfig {
    /// ProgrammingModule: true for the programming module, false for the user module.
    bool programmingModule = true;
    /// DatabaseAccess: 1 slow, 2 fast.
    int databaseAccess = 2;
    /// The program's own full path. Its folder holds the help documents and is the first
    /// folder of the open dialogs; the user module runs the ".WBB" named like it.
    std::filesystem::path programPath;
    /// The screen the windows are sized for.
    int screenWidth = 1024;
    int screenHeight = 768;
};

}  // namespace kelvo
