#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/desktop_shell.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/media_player.h"
#include "platform/session_windows.h"
#include "store/beeper.h"

namespace kelvo {

/// One answer of an answers script: the JSON value and the script line it came from (from 1).
struct ScriptedAnswer {
    nlohmann::json value;
    int line = 0;
};

struct ScriptedOptions {
    /// Running out of answers is an error instead of continuing pages and answering "no".
    bool strict = false;
    /// The local date and time the clock shows; it does not advance except by Sleep.
    LocalDateTime clock{2017, 7, 1, 14, 5, 9};
    /// Wall-clock limit of the run; zero for none.
    std::chrono::milliseconds timeout{0};
    /// The screen the pages and the inspector are sized for.
    int screenWidth = 1024;
    int screenHeight = 768;
    /// The clipboard's text at the start (UTF-8).
    std::string clipboard;
    /// Where a file that a page names is looked for when it is not found from the current
    /// folder (the knowledge base's folder); empty for none.
    std::string fileFolder;
    /// The running knowledge-base file and the program as the desktop shell reports them
    /// (UTF-8; empty for none).
    std::string knowledgeBasePath;
    std::string programPath;
};

class TForm6;

/// The desktop of tests and of `kelvo-cli consult`: every interaction that offers a choice
/// takes the next answer of a script, and every call is recorded as one JSON event (texts
/// converted to UTF-8). Nothing is shown and no event loop runs.
class ScriptedPlatform final : public Dialogs,
                               public SessionWindows,
                               public Clock,
                               public Beeper,
                               public Clipboard,
                               public MediaPlayer,
                               public FileDialogs,
                               public DesktopShell {
  public:
    ScriptedPlatform(std::vector<ScriptedAnswer> answers, ScriptedOptions options);

    // Dialogs
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;

    // SessionWindows
    PageOutcome ShowPage(const PageRequest& page, InspectorContext& context) override;
    void ShowInspector(InspectorReason why, int line, InspectorContext& context) override;
    void SetSessionWindowVisible(bool visible) override { sessionWindowVisible_ = visible; }
    void SetCursor(CursorShape shape) override { cursor_ = shape; }
    void SetStatusText(std::string_view text) override { statusText_ = std::string(text); }
    bool PumpOneEvent() override;

    // Clock
    LocalDateTime Now() override { return options_.clock; }
    std::uint32_t TickCount() override { return ticks_; }
    void Sleep(std::uint32_t milliseconds) override { ticks_ += milliseconds; }

    // Beeper
    void Beep() override;

    // Clipboard (texts Windows-1252)
    std::string Text() override;
    void SetText(std::string_view text) override;

    // MediaPlayer: records the playback as its media commands, one event each.
    void Play(const MediaRequest& request) override;

    // FileDialogs: answered by {"file":"PATH"} or {"file":null} (cancel); running out cancels.
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    void PrinterSetup() override;

    // DesktopShell: records each request. A document opens when it exists (or is an address);
    // a program starts when its working folder exists. Nothing is run.
    bool OpenDocument(std::string_view target) override;
    bool StartProcess(const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder) override;
    std::filesystem::path ProgramPath() override { return options_.programPath; }
    std::filesystem::path KnowledgeBasePath() override { return options_.knowledgeBasePath; }

    /// Appends an event of the caller's own (the start and end of a run); every event of the
    /// platform goes through here.
    void Record(nlohmann::json event);

    /// The events so far; empty while they are streamed.
    const std::vector<nlohmann::json>& events() const { return events_; }

    /// From now on each event is appended to `transcript` as its line (AppendTranscriptLine)
    /// when it happens instead of being kept in events(), so a long run keeps none in memory;
    /// null keeps them again. `transcript` must outlive the platform's use of it.
    void StreamEvents(std::string* transcript) { transcript_ = transcript; }
    /// The transcript the events go to; null when they are kept in events().
    std::string* StreamedTranscript() const { return transcript_; }

    /// The first fault of the script (an answer that does not fit its interaction), naming its
    /// line; empty when there is none.
    const std::optional<std::string>& scriptError() const { return scriptError_; }
    /// True when a strict run ran out of answers.
    bool ranOut() const { return ranOut_; }
    /// True when the timeout stopped the run.
    bool timedOut() const { return timedOut_; }
    /// Answers not consumed by the run.
    std::size_t answersLeft() const { return answers_.size(); }

    // The script shared with the windows of a desktop (kelvo-cli desktop): they take their
    // actions from the same queue as the consultations' answers.

    /// The next answer without taking it; null when none is left.
    const ScriptedAnswer* PeekAnswer() const {
        return answers_.empty() ? nullptr : &answers_.front();
    }
    /// Takes the next answer (there must be one); faults reported afterwards name its line.
    ScriptedAnswer TakeAnswer();
    /// Notes that the answer of script line `line` does not fit (the first fault counts):
    /// "Antwort in Zeile N passt nicht: `text`". The run is stopped from then on.
    void ReportMisfit(int line, const std::string& text);
    /// The folder where files that pages name are looked for after the current folder: the
    /// running knowledge base's folder (UTF-8).
    void SetFileFolder(std::string folder) { options_.fileFolder = std::move(folder); }
    /// A dialog found no answer left: a strict run has run out (and is stopped).
    void NoteRanOut() { ranOut_ = ranOut_ || options_.strict; }
    /// True when the run is being stopped: the timeout (checked now), a script fault or a
    /// strict run-out.
    bool StopRequested() {
        CheckTimeout();
        return Stopping();
    }

    bool sessionWindowVisible() const { return sessionWindowVisible_; }
    CursorShape cursor() const { return cursor_; }
    const std::string& statusText() const { return statusText_; }

  private:
    /// Takes the next answer if it has `key`; otherwise records a script error (when there is
    /// an answer of another kind) or notes running out. Returns the value of `key`.
    std::optional<nlohmann::json> Take(const char* key, const char* expected);
    bool Failed() const { return scriptError_.has_value() || ranOut_; }
    /// The run is being stopped: after the timeout, a script fault or a strict run-out, the
    /// next Ausst gets a break-off request whose "Programm beenden ?" is answered yes.
    bool Stopping() const { return timedOut_ || Failed(); }
    void CheckTimeout();
    /// Applies the fields, check boxes and lists of a page answer object to the form and reads
    /// what else it asks; false (with the script error set) for a faulty answer. `press`
    /// receives "weiter", "abbruch" or a page button's variable name as written.
    bool ApplyPageAnswer(TForm6& form, const nlohmann::json& answer, std::string& press,
                         bool& print, bool& inspect);
    void Fault(const std::string& text);
    std::optional<std::string> ChooseFile(const char* dialog, const FileDialogRequest& request);

    friend class ScriptedPageDesktop;

    std::deque<ScriptedAnswer> answers_;
    ScriptedOptions options_;
    std::vector<nlohmann::json> events_;
    std::string* transcript_ = nullptr;
    std::optional<std::string> scriptError_;
    std::chrono::steady_clock::time_point deadline_;
    bool ranOut_ = false;
    bool timedOut_ = false;
    bool stopBreakOffServed_ = false;
    int lastLine_ = 0;  ///< script line of the answer taken last
    bool sessionWindowVisible_ = true;
    CursorShape cursor_ = CursorShape::Arrow;
    std::string statusText_;
    std::uint32_t ticks_ = 0;
    std::string clipboard_;  ///< Windows-1252
};

}  // namespace kelvo
