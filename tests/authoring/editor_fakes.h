#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "authoring/editor_services.h"
#include "store/file_fault_injector.h"
#include "tests/platform/memory_clipboard.h"

namespace kelvo::testing {

/// Message boxes, recorded; every box is answered with OK.
class RecordingDialogs final : public Dialogs {
  public:
    struct Box {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons) override {
        boxes.push_back({std::string(text), std::string(caption), icon});
        return MessageAnswer::Ok;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Box& box : boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }
    std::vector<Box> boxes;
};

/// File dialogs answered from a queue (nothing = cancelled), each request recorded.
class QueuedFileDialogs final : public FileDialogs {
  public:
    struct Shown {
        bool save;
        FileDialogRequest request;
    };
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
        return Next(false, request);
    }
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override {
        return Next(true, request);
    }
    void PrinterSetup() override {}

    std::deque<std::optional<std::string>> answers;
    std::vector<Shown> shown;

  private:
    std::optional<std::string> Next(bool save, const FileDialogRequest& request) {
        shown.push_back({save, request});
        EXPECT_FALSE(answers.empty()) << "a file dialog nobody expected";
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

/// The input box answered from a queue (nothing = cancelled), each call recorded.
class QueuedInputBox final : public InputBox {
  public:
    struct Shown {
        std::string title;
        std::string prompt;
        std::string preset;
    };
    std::optional<std::string> InputQuery(std::string_view title, std::string_view prompt,
                                          std::string_view preset) override {
        shown.push_back({std::string(title), std::string(prompt), std::string(preset)});
        EXPECT_FALSE(answers.empty()) << "an input box nobody expected";
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<Shown> shown;
};

/// Records the documents handed to it; opening succeeds when the document exists.
class RecordingShell final : public DesktopShell {
  public:
    bool OpenDocument(std::string_view target) override {
        opened.emplace_back(target);
        return std::filesystem::exists(std::filesystem::path(std::string(target)));
    }
    bool StartProcess(const std::vector<std::string>&, const std::filesystem::path&) override {
        return false;
    }
    std::filesystem::path ProgramPath() override { return {}; }
    std::filesystem::path KnowledgeBasePath() override { return {}; }
    std::vector<std::string> opened;
};

/// The progress window; its "Abbruch" is clicked at the chosen pump (from 1; 0 = never).
class ScriptedProgress final : public ProgressWindow {
  public:
    void Show() override { ++shows; }
    void Close() override { ++closes; }
    bool PumpOneEvent() override { return ++pumps == abortAtPump; }
    int abortAtPump = 0;
    int pumps = 0;
    int shows = 0;
    int closes = 0;
};

class CountingBeeper final : public Beeper {
  public:
    void Beep() override { ++beeps; }
    int beeps = 0;
};

/// A tick counter that moves only when slept on.
class SteppedTicks final : public TickSource {
  public:
    std::uint32_t TickCount() override { return now; }
    void Sleep(std::uint32_t milliseconds) override {
        now += milliseconds;
        slept += milliseconds;
    }
    std::uint32_t now = 5000;
    std::uint64_t slept = 0;
};

/// A printer whose pages hold `pageLines` lines; every line written is kept per page.
class RecordingPrinter final : public Printer {
  public:
    explicit RecordingPrinter(int pageLines = 72) : pageLines_(pageLines) {}
    Status BeginJob(std::string_view fontName, int pointSize) override {
        font = std::string(fontName);
        points = pointSize;
        pages.assign(1, {});
        ++jobs;
        return {};
    }
    Expected<PageGeometry> Geometry() override { return PageGeometry{210, 297, 2100, 2970}; }
    Status WriteLine(std::string_view text) override {
        if (failAtLine > 0 && ++written == failAtLine) {
            return Error{"Drucker meldet einen Fehler"};
        }
        pages.back().emplace_back(text);
        if (static_cast<int>(pages.back().size()) == pageLines_) {
            pages.emplace_back();
        }
        return {};
    }
    int PageNumber() const override { return static_cast<int>(pages.size()); }
    Status DrawPicture(const std::filesystem::path&, const PixelRect&) override { return {}; }
    Status EndJob() override {
        if (pages.size() > 1 && pages.back().empty()) {
            pages.pop_back();
        }
        ended = true;
        return {};
    }
    void AbortJob() override { aborted = true; }

    std::string font;
    int points = 0;
    int jobs = 0;
    int failAtLine = 0;
    int written = 0;
    bool ended = false;
    bool aborted = false;
    std::vector<std::vector<std::string>> pages;

  private:
    int pageLines_;
};

/// Every fake of the editor's services, wired together.
struct EditorDesk {
    RecordingDialogs dialogs;
    QueuedFileDialogs fileDialogs;
    QueuedInputBox inputBox;
    MemoryClipboard clipboard;
    RecordingShell shell;
    ScriptedProgress progress;
    CountingBeeper beeper;
    SteppedTicks ticks;
    RecordingPrinter printer;
    FileFaultInjector faults;
    std::vector<CursorShape> cursors;
    EditorServices services{
        .dialogs = dialogs,
        .fileDialogs = fileDialogs,
        .inputBox = inputBox,
        .clipboard = clipboard,
        .shell = shell,
        .progress = progress,
        .beeper = beeper,
        .ticks = ticks,
        .printer = &printer,
        .setCursor = [this](CursorShape shape) { cursors.push_back(shape); },
        .helpFolder = {},
        .screenWidth = 1024,
        .screenHeight = 768,
        .fileFaults = &faults,
    };
};

}  // namespace kelvo::testing
