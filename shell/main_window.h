#pragma once

#include <memory>
#include <optional>
#include <string>

#include "authoring/editor_state.h"
#include "engine/start_command.h"
#include "shell/shell_command.h"
#include "shell/shell_config.h"
#include "shell/start_window.h"

namespace kelvo {

class KnowledgeBaseFile;
struct ShellServices;

/// The Windows virtual-key code of F2, the key of the coordinate capture.
inline constexpr int kVirtualKeyF2 = 113;
/// The coordinate capture's timer interval in milliseconds.
inline constexpr int kTimer1Interval = 50;

/// TForm1, the main window: carries a knowledge base through its life (new, open, edit,
/// derive, start, close), shows the start window, the information box and the help document,
/// and captures screen coordinates for form design. It owns the open knowledge-base file and
/// the editor state that outlives the editor windows.
///
/// A desktop calls Loaded, FormCreate and FormShow in this order as the window is created and
/// first shown, then forwards the user's commands (Click, CanClose for the title bar's close
/// button, FormKeyDown, Timer1Timer while TimerRunning) until Closed.
class TForm1 {
  public:
    TForm1(ShellConfig config, ShellServices& services);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    /// The closed state, the title without a file name; then the start window, shown modally.
    void Loaded();
    /// The window's place and size from the screen; the timer stopped, both text stores empty.
    void FormCreate();
    /// Programming module: the next open dialog starts in the program's folder, and the file
    /// named on the command line, if any, is opened as "Öffnen" opens a chosen one. User
    /// module: open the knowledge base the start window chose, run it and close it; then end.
    void FormShow();

    /// Runs an enabled command; false, doing nothing, when it is disabled.
    bool Click(ShellCommand command);

    void NeuClick();
    void OeffnenClick();
    void SchliesenClick();
    /// Derives the run-only file of the open knowledge base.
    void CompilierenClick();
    /// Closes the main window, which asks CanClose.
    void BeendenClick();
    void InfoClick();
    /// Opens the editor, again after every consultation started from it.
    void BearbeitenClick();
    /// The start command: runs the open knowledge base (restarts included).
    void StartenClick();
    void HilfeClick();

    /// The close event: with a knowledge base open asks "Wissensbasis schließen ?"; No keeps
    /// the window (false). Yes, or nothing open, closes the file and the window (true).
    bool CanClose();

    /// F2 starts the coordinate capture, or stops it and fills the two text stores; other
    /// keys do nothing.
    void FormKeyDown(int virtualKey);
    /// A tick of the capture's timer: the title shows the mouse position. Does nothing while
    /// the timer is stopped.
    void Timer1Timer();

    /// Consultation hooks of the executable (transcripts); the variable commands are always
    /// installed.
    void SetConsultationHooks(StartCommandHooks hooks) { hooks_ = std::move(hooks); }

    /// True once the window has closed: the program ends.
    bool Closed() const { return closed_; }
    bool Visible() const { return visible_; }
    bool KnowledgeBaseOpen() const { return knowledgeBaseOpen_; }
    bool Enabled(ShellCommand command) const;
    /// The caption (Windows-1252).
    const std::string& Title() const { return title_; }
    /// CurrentFileName: the full path of the knowledge base (Windows-1252); empty when none was
    /// chosen.
    const std::string& CurrentFileName() const { return currentFileName_; }
    /// FirstOpen: the next open dialog starts in the program's folder.
    bool FirstOpen() const { return firstOpen_; }
    /// StartFileName: the knowledge base the start window chose (user module).
    const std::string& StartFileName() const { return startFileName_; }
    /// The folder the open dialog shows next (Windows-1252); empty for the one it showed last.
    const std::string& OpenDialogFolder() const { return openDialogFolder_; }
    bool CompileAbort() const { return compileAbort_; }
    bool TimerRunning() const { return timerRunning_; }
    WindowRect Bounds() const { return bounds_; }
    const ShellConfig& config() const { return config_; }
    /// The open file; null while none is open (and while a consultation runs).
    KnowledgeBaseFile* file() { return file_.get(); }

    EditorState& editorState() { return editorState_; }
    const EditorState& editorState() const { return editorState_; }

  private:
    /// "Öffnen" with the file `named` (Windows-1252) instead of the one the dialog gives; with
    /// nothing named, the dialog (programming module) or StartFileName (user module).
    void Open(const std::optional<std::string>& named);
    /// Open with the file named on the command line; a name that Windows-1252 cannot hold is
    /// refused as a file that cannot be opened.
    void OpenCommandLineFile();
    void SetOpenState(bool open);
    void RefreshTitle();
    void Changed();
    /// Beep, then a simple message box.
    void Refuse(std::string_view text);
    void ShowMessage(std::string_view text);
    void ShowFault(std::string_view windows1252Text);

    ShellConfig config_;
    ShellServices& services_;
    StartCommandHooks hooks_;
    EditorState editorState_;
    std::unique_ptr<KnowledgeBaseFile> file_;

    bool knowledgeBaseOpen_ = false;
    bool closed_ = false;
    bool visible_ = true;
    bool firstOpen_ = false;
    bool compileAbort_ = false;
    bool timerRunning_ = false;
    int pointerX_ = 0;
    int pointerY_ = 0;
    std::string title_;
    std::string currentFileName_;
    std::string startFileName_;
    std::string openDialogFolder_;
    WindowRect bounds_;
};

/// The caption of the shell's simple message boxes.
inline constexpr std::string_view kShellMessageCaption = "Expertensystem KELVO";

}  // namespace kelvo
