#pragma once

namespace kelvo {

/// The desktop program on Qt: one instance per user, the main window with its start window,
/// and the program's event loop until the main window closes. `programmingModule` fixes the
/// module (kelvo: true, kelvo-run: false). Returns the process's exit code.
int RunDesktopProgram(int argc, char** argv, bool programmingModule);

}  // namespace kelvo
