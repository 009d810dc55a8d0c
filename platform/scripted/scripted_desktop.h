#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/desktop_shell.h"
#include "platform/file_dialogs.h"
#include "platform/input_box.h"
#include "platform/progress_window.h"
#include "shell/shell_windows.h"

namespace kelvo {

class ScriptedAutomation;
class ScriptedPlatform;
struct ScriptedAnswer;

/// The whole desktop of `kelvo-cli desktop`: the shell's windows, driven by the same script
/// as the consultations of ScriptedPlatform. Each script line is one action for the active
/// window (the main window, the editor) or the answer to the dialog it shows; every window
/// records what it shows as transcript events on the platform. docs/desktop-format.md
/// describes actions and events.
class ScriptedDesktop final : public ShellWindows,
                              public InputBox,
                              public ProgressWindow,
                              public FileDialogs,
                              public DesktopShell {
  public:
    /// `programPath` is the program's own path (UTF-8).
    ScriptedDesktop(ScriptedPlatform& platform, ScriptedAutomation& automation,
                    std::filesystem::path programPath);

    /// Takes the actions of the main window until it has closed or the run is stopped.
    void RunMainWindow(TForm1& window);

    /// True when the run was stopped before the program ended: the script ran out while a
    /// window waited for an action, an action did not fit, or the time was up.
    bool stopped() const { return stopped_; }
    /// True when the script ran out while a window waited for an action.
    bool ranOut() const { return ranOut_; }

    // ShellWindows
    void ShowStartWindow(TForm4& window) override;
    void ShowEditor(TForm2& editor) override;
    void ShowAboutBox(const AboutBox& about) override;
    void SetMainWindowVisible(bool visible) override;
    void MainWindowChanged(const TForm1& window) override;
    void SetCursor(CursorShape) override {}

    // InputBox: answered by {"input":TEXT} or {"input":null}; running out cancels.
    std::optional<std::string> InputQuery(std::string_view title, std::string_view prompt,
                                          std::string_view preset) override;

    // ProgressWindow: its "Abbruch" is {"breakoff":true} as the next action.
    void Show() override;
    void Close() override;
    bool PumpOneEvent() override;

    // FileDialogs: the platform's dialogs, opening in the folder they showed last (at first
    // the current folder) unless the caller names one.
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    void PrinterSetup() override;

    // DesktopShell: documents are recorded and open when they exist (or are an address);
    // programs go to the platform, which records them.
    bool OpenDocument(std::string_view target) override;
    bool StartProcess(const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder) override;
    std::filesystem::path ProgramPath() override { return programPath_; }
    std::filesystem::path KnowledgeBasePath() override { return {}; }

    /// The `main` event of a main window.
    static nlohmann::json MainEvent(const TForm1& window);
    /// The `editor` event of an editor.
    static nlohmann::json EditorEvent(const TForm2& editor);

  private:
    /// The next action for a window that waits for one; nothing (the run then stops) when the
    /// script is at its end or the run is being stopped.
    std::optional<ScriptedAnswer> NextAction();
    /// The action does not fit the window: the run stops, naming its line.
    void Misfit(const ScriptedAnswer& action, const std::string& why);
    void MainWindowAction(TForm1& window, const ScriptedAnswer& action);
    void EditorAction(TForm2& editor, const ScriptedAnswer& action);
    std::optional<std::string> Choose(bool save, FileDialogRequest request);

    ScriptedPlatform& platform_;
    ScriptedAutomation& automation_;
    std::filesystem::path programPath_;
    std::string lastOpenFolder_;  ///< Windows-1252; empty until a dialog was answered
    std::string lastSaveFolder_;
    bool stopped_ = false;
    bool ranOut_ = false;
};

}  // namespace kelvo
