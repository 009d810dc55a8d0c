#pragma once

namespace kelvo {

/// The desktop program on Qt: one instance per user, the main window with its start window,
/// and the program's event loop until the main window closes. `programmingModule` fixes the
/// module (kelvo: true, kelvo-run: false). A knowledge base named on the command line is
/// opened (kelvo) or run (kelvo-run) as the program starts. Returns the process's exit code.
int RunDesktopProgram(int argc, char** argv, bool programmingModule);

}  // namespace kelvo
