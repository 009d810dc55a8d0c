#pragma once

// A recording desktop for the shell model's tests: every call becomes one line of `log`, and
// the answers of dialogs come from queues the test fills.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "authoring/program_editor.h"
#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/desktop_shell.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/input_box.h"
#include "platform/progress_window.h"
#include "platform/session_windows.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "shell/shell_windows.h"
#include "shell/start_window.h"
#include "shell/version_text.h"
#include "store/beeper.h"
#include "store/random_source.h"
#include "store/windows1252.h"

namespace kelvo {

class FakeDesktop final : public ShellWindows,
                          public Dialogs,
                          public SessionWindows,
                          public Clock,
                          public Beeper,
                          public FileDialogs,
                          public InputBox,
                          public Clipboard,
                          public DesktopShell,
                          public ProgressWindow,
                          public Automation {
  public:
    // Answers, taken in order. A missing file answer cancels; a missing question answer is No.
    std::deque<std::optional<std::string>> files;  ///< UTF-8 paths; nothing cancels
    std::deque<MessageAnswer> answers;
    /// The progress window's "Abbruch" is clicked at these pumps (counted from 1).
    std::vector<int> breakOffAtPump;
    /// Run while the editor is shown (the test's hands on the keyboard); none closes nothing.
    std::function<void(TForm2&)> editorHands;
    /// The files that exist for the desktop's opener.
    std::function<bool(std::string_view)> documentExists = [](std::string_view) { return true; };
    std::optional<ScreenPoint> pointer = ScreenPoint{0, 0};

    std::vector<std::string> log;
    int mainChanges = 0;
    int editorsShown = 0;

    // ShellWindows
    void ShowStartWindow(TForm4& window) override {
        log.push_back(std::string("startwindow ") + (window.PictureMarked() ? "picture" : "none"));
        window.WndProcPaint();
    }
    void ShowEditor(TForm2& editor) override {
        ++editorsShown;
        log.push_back("editor line " + std::to_string(editor.CurrentLine() + 1));
        if (editorHands) {
            editorHands(editor);
        }
    }
    void ShowAboutBox(const AboutBox& about) override {
        log.push_back("about " + about.caption + " | " + about.productName + " | " + about.version);
    }
    void SetMainWindowVisible(bool visible) override {
        log.push_back(visible ? "main shown" : "main hidden");
    }
    void MainWindowChanged(const TForm1&) override { ++mainChanges; }
    void SetCursor(CursorShape shape) override {
        log.push_back(shape == CursorShape::Hourglass ? "cursor hourglass" : "cursor arrow");
    }

    // Dialogs
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override {
        MessageAnswer answer = MessageAnswer::Ok;
        if (buttons == MessageButtons::YesNo) {
            answer = MessageAnswer::No;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
        }
        const char* iconName = icon == MessageIcon::Warning       ? "warning"
                               : icon == MessageIcon::Information ? "information"
                               : icon == MessageIcon::Question    ? "question"
                                                                  : "none";
        log.push_back("message " + Windows1252ToUtf8(caption) + " | " + Windows1252ToUtf8(text) +
                      " | " + iconName +
                      (buttons == MessageButtons::YesNo
                           ? (answer == MessageAnswer::Yes ? " | yes" : " | no")
                           : ""));
        return answer;
    }

    // SessionWindows: every page is continued.
    PageOutcome ShowPage(const PageRequest& page, InspectorContext&) override {
        log.push_back("page " + std::to_string(page.formMode));
        return PageOutcome::Continue;
    }
    void ShowInspector(InspectorReason, int line, InspectorContext&) override {
        log.push_back("inspector " + std::to_string(line));
    }
    void SetSessionWindowVisible(bool) override {}
    void SetStatusText(std::string_view) override {}
    bool PumpOneEvent() override {
        if (progressShown_) {
            ++pumps_;
            for (const int at : breakOffAtPump) {
                if (at == pumps_) {
                    log.push_back("breakoff");
                    return true;
                }
            }
        }
        return false;
    }

    // Clock
    LocalDateTime Now() override { return {}; }
    std::uint32_t TickCount() override { return ticks; }
    void Sleep(std::uint32_t milliseconds) override { ticks += milliseconds; }
    std::uint32_t ticks = 0;

    // Beeper
    void Beep() override { log.push_back("beep"); }

    // FileDialogs
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
        return Choose("open", request);
    }
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override {
        return Choose("save", request);
    }
    void PrinterSetup() override {}

    // InputBox
    std::optional<std::string> InputQuery(std::string_view, std::string_view,
                                          std::string_view) override {
        return std::nullopt;
    }

    // Clipboard
    std::string Text() override { return clipboard_; }
    void SetText(std::string_view text) override { clipboard_ = std::string(text); }

    // DesktopShell
    bool OpenDocument(std::string_view target) override {
        const bool opened = documentExists(target);
        log.push_back("open " + std::string(target) + (opened ? "" : " failed"));
        return opened;
    }
    bool StartProcess(const std::vector<std::string>&, const std::filesystem::path&) override {
        return false;
    }
    std::filesystem::path ProgramPath() override { return {}; }
    std::filesystem::path KnowledgeBasePath() override { return {}; }

    // ProgressWindow (its PumpOneEvent is the one above)
    void Show() override {
        progressShown_ = true;
        log.push_back("progress shown");
    }
    void Close() override {
        progressShown_ = false;
        log.push_back("progress closed");
    }

    // Automation: only the pointer matters here.
    bool Available() override { return true; }
    bool EscapePressed() override { return false; }
    void KeyDown(int) override {}
    void KeyUp(int) override {}
    void MoveCursor(int x, int y) override { pointer = ScreenPoint{x, y}; }
    std::optional<ScreenPoint> CursorPosition() override { return pointer; }
    void MouseButtonEvent(MouseButton, bool) override {}
    ScreenSize Screen() override { return {1024, 768}; }
    PixelColour Pixel(int, int) override { return {}; }

    /// The services of a main window on this desktop.
    ShellServices Services() {
        ShellServices services{*this, *this, *this, *this, random_, *this,
                               *this, *this, *this, *this, *this};
        services.automation = this;
        return services;
    }

    /// The log lines that begin with `prefix`, in order.
    std::vector<std::string> Lines(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : log) {
            if (line.rfind(prefix, 0) == 0) {
                found.push_back(line);
            }
        }
        return found;
    }

    /// The log without the lines that begin with `prefix`.
    std::vector<std::string> Without(const std::string& prefix) const {
        std::vector<std::string> kept;
        for (const std::string& line : log) {
            if (line.rfind(prefix, 0) != 0) {
                kept.push_back(line);
            }
        }
        return kept;
    }

  private:
    std::optional<std::string> Choose(const char* kind, const FileDialogRequest& request) {
        std::string line =
            std::string("filedialog ") + kind + " | " + Windows1252ToUtf8(request.title) + " | ";
        for (const FileFilter& filter : request.filters) {
            line += Windows1252ToUtf8(filter.description) + "|" + filter.pattern;
        }
        line += " | " + Windows1252ToUtf8(request.folder);
        log.push_back(line);
        if (files.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> chosen = files.front();
        files.pop_front();
        if (chosen) {
            return Utf8ToWindows1252(*chosen);
        }
        return std::nullopt;
    }

    SeededRandomSource random_{7};
    std::string clipboard_;
    bool progressShown_ = false;
    int pumps_ = 0;
};

}  // namespace kelvo
