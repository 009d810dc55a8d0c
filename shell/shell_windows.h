#pragma once

#include "platform/session_windows.h"

namespace kelvo {

struct AboutBox;
class TForm1;
class TForm2;
class TForm4;

/// The windows of the shell as a desktop shows them. The models carry out every command; a
/// view draws them and forwards the user's clicks and keys.
class ShellWindows {
  public:
    virtual ~ShellWindows() = default;

    /// Shows the start window modally. Its first paint calls `window.WndProcPaint()`, which
    /// closes it; returns when it has closed.
    virtual void ShowStartWindow(TForm4& window) = 0;

    /// Shows the editor modally and forwards the user's input to it; returns when it has
    /// closed, or when the desktop gives up on it (the program is being stopped).
    virtual void ShowEditor(TForm2& editor) = 0;

    /// Shows the information box modally until its OK button is clicked.
    virtual void ShowAboutBox(const AboutBox& about) = 0;

    /// Hides or shows the main window.
    virtual void SetMainWindowVisible(bool visible) = 0;

    /// The main window's state (title, enabled commands, open file) may have changed: after
    /// each of its commands, and when it first shows.
    virtual void MainWindowChanged(const TForm1& window) = 0;

    /// The mouse cursor's shape over the application's windows.
    virtual void SetCursor(CursorShape shape) = 0;
};

}  // namespace kelvo
