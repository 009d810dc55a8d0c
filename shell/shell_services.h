#pragma once

namespace kelvo {

class Automation;
class Beeper;
class Clipboard;
class Clock;
class DatabaseService;
class DesktopShell;
class FileFaultInjector;
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
    /// Tests only: makes steps of the writes that replace a file fail (the run-only file, the
    /// editor's saves, a consultation's data exchange and text files); nullptr writes normally.
    FileFaultInjector* fileFaults = nullptr;
};

}  // namespace kelvo
