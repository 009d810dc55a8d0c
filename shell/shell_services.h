#pragma once

namespace kelvo {

class Automation;
class Beeper;
class Clipboard;
class Clock;
class DatabaseService;
class DesktopShell;
class Dialogs;
class FileDialogs;
class InputBox;
class MediaPlayer;
class Printer;
class ProgressWindow;
class RandomSource;
class SessionWindows;
class ShellWindows;

/// Every desktop service the main window, the editor and the consultations use. The optional
/// ones may be missing where a desktop lacks them; the commands that need them then say so.
struct ShellServices {
    ShellWindows& windows;
    Dialogs& dialogs;
    SessionWindows& sessionWindows;
    Clock& clock;
    RandomSource& random;
    Beeper& beeper;
    FileDialogs& fileDialogs;
    InputBox& inputBox;
    Clipboard& clipboard;
    DesktopShell& desktopShell;
    ProgressWindow& progress;
    Printer* printer = nullptr;
    MediaPlayer* media = nullptr;
    DatabaseService* database = nullptr;
    Automation* automation = nullptr;
};

}  // namespace kelvo
