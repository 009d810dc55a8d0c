#pragma once

#include <memory>

#include "shell/shell_windows.h"
#include "ui/qt/wait_cursor.h"

namespace kelvo {

class MainWindowView;
class TForm1;

/// The shell's windows on Qt: the main window (made once the model exists), the start
/// window, the editor and the information box, each modal with its own event loop.
class QtShellWindows final : public ShellWindows {
  public:
    QtShellWindows();
    ~QtShellWindows() override;
    QtShellWindows(const QtShellWindows&) = delete;
    QtShellWindows& operator=(const QtShellWindows&) = delete;

    /// Makes the main window's view of `model`; before it, the other windows have no owner.
    MainWindowView& CreateMainWindow(TForm1& model);
    /// The main window's view; null before CreateMainWindow.
    MainWindowView* mainWindow() const { return main_.get(); }

    void ShowStartWindow(TForm4& window) override;
    void ShowEditor(TForm2& editor) override;
    void ShowAboutBox(const AboutBox& about) override;
    void SetMainWindowVisible(bool visible) override;
    void MainWindowChanged(const TForm1& window) override;
    void SetCursor(CursorShape shape) override;

  private:
    std::unique_ptr<MainWindowView> main_;
    WaitCursor cursor_;
};

}  // namespace kelvo
