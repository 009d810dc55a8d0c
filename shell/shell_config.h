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
    /// The knowledge base named on the command line (a full path), as a desktop passes the
    /// file a user opens with the program; empty when none was named. The programming module
    /// opens it as it starts; the user module runs it instead of the one beside the program.
    std::filesystem::path commandLineFile;
    /// The screen the windows are sized for.
    int screenWidth = 1024;
    int screenHeight = 768;
};

}  // namespace kelvo
