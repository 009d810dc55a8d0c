#pragma once

#include <filesystem>
#include <functional>

#include "platform/clipboard.h"
#include "platform/desktop_shell.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/input_box.h"
#include "platform/printer.h"
#include "platform/progress_window.h"
#include "platform/session_windows.h"
#include "store/beeper.h"
#include "store/delay.h"

namespace kelvo {

class FileFaultInjector;

/// What the program editor needs from the desktop. The shell fills it; tests pass fakes.
struct EditorServices {
    Dialogs& dialogs;
    FileDialogs& fileDialogs;
    InputBox& inputBox;
    /// Clipboard 1 is the system clipboard.
    Clipboard& clipboard;
    /// Opens the help documents.
    DesktopShell& shell;
    /// The progress window TForm3 of the block print.
    ProgressWindow& progress;
    Beeper& beeper;
    /// Delay of the print and of the middle mouse button.
    TickSource& ticks;
    /// No printer: the block print tells the author and prints nothing.
    Printer* printer = nullptr;
    /// Abbruchfenster: the cursor shape around long block commands; may be empty.
    std::function<void(CursorShape)> setCursor;
    /// The program's folder, which holds the help documents.
    std::filesystem::path helpFolder;
    /// The screen size decides the window's scale step.
    int screenWidth = 1024;
    int screenHeight = 768;
    /// Tests only: makes steps of the file writes fail.
    FileFaultInjector* fileFaults = nullptr;
};

}  // namespace kelvo
