#pragma once

// The reusable part of `kelvo-cli consult` and `kelvo-cli check`: reading an answers script,
// running the start command's loop on the scripted platform and writing the transcript. The
// subcommands are thin layers over this; tests may call it directly. docs/consult-format.md
// describes the formats.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/consultation.h"
#include "platform/clock.h"
#include "platform/scripted/scripted_automation.h"
#include "platform/scripted/scripted_platform.h"
#include "platform/scripted/scripted_printer.h"
#include "shell/knowledge_base_source.h"
#include "store/expected.h"
#include "store/line_record.h"
#include "store/search_mode.h"

namespace kelvo {
class FileFaultInjector;
}

namespace kelvo::cli {

/// Exit status of `consult` beyond those of cli_command.h.
inline constexpr int kExitRanOut = 3;       ///< --strict ran out of answers
inline constexpr int kExitErrorReport = 4;  ///< a consultation ended by an error report

/// The seed of the random source when --seed is not given, so that runs are reproducible.
inline constexpr std::uint64_t kDefaultSeed = 1;

/// Parses an answers script (JSON Lines): each non-empty line one JSON object, blank lines
/// skipped, every answer numbered by its line. Fails naming the first line that is not a JSON
/// object or nests deeper than kMaxJsonDepth ("FILE:LINE: ...").
Expected<std::vector<ScriptedAnswer>> ParseAnswers(std::string_view text,
                                                   const std::string& fileName);

/// Reads "YYYY-MM-DD HH:MM:SS" (a valid calendar date and time of day).
std::optional<LocalDateTime> ParseClock(std::string_view text);

/// How a scripted consultation runs.
struct ConsultOptions {
    bool programmingModule = true;
    int breakpointLine = 0;  ///< line number from 1; 0 = none
    std::uint64_t seed = kDefaultSeed;
    LocalDateTime clock = ScriptedOptions{}.clock;
    bool strict = false;
    std::chrono::milliseconds timeout{0};  ///< zero for none
    /// The screen pages and the inspector are sized for (--screen).
    int screenWidth = 1024;
    int screenHeight = 768;
    std::string clipboard;  ///< the clipboard's text at the start (UTF-8)
    /// The editor's clipboards 2 and 3 the inspector watches (--ablage2, --ablage3; UTF-8).
    std::string ablage2;
    std::string ablage3;
    /// The scripted printer's device (--printer-page-mm, --printer-page-pixels, --printer-lines).
    ScriptedPrinterOptions printer;
    /// The scripted screen of the automation commands (--desktop); its size follows --screen
    /// unless the JSON gives one.
    ScriptedScreenOptions desktop;
    /// How facts and rules are found (the literal scans serve the tests as reference).
    SearchMode searchMode = SearchMode::Indexed;
    /// Keeps the evidence of every fact record (explanations).
    bool explain = false;
    /// With `explain`: adds the evidence to the "end" events (consult --explain).
    bool evidenceInTranscript = false;
    /// Called with each consultation when it has ended, before its "end" event is recorded.
    std::function<void(Consultation&)> finished;
    /// When set, every event is appended to it as its transcript line when it happens and
    /// ConsultOutcome::events stays empty: the run keeps no events in memory.
    std::string* transcript = nullptr;
};

/// How deeply the JSON of an answer or of --desktop may nest ("{...}" and "[...]" counted).
inline constexpr int kMaxJsonDepth = 32;

/// False when `json` nests objects and arrays deeper than `limit` (strings are skipped).
bool JsonDepthWithin(std::string_view json, int limit);

/// Reads the scripted screen from a JSON object with the optional keys "available" (true or
/// false), "width" and "height" (1 to 100000), "background" {red, green, blue} (each 0 to 255,
/// missing ones 0), "pixels" [{x, y, red, green, blue}] and "escapeAtQuery" [n, ...] (n from
/// 1); values missing keep those of `base`. Fails naming the first key that does not fit:
/// another key, a value of another type or outside its range.
Expected<ScriptedScreenOptions> ParseDesktopOptions(std::string_view json,
                                                    ScriptedScreenOptions base);

/// Reads a pair "A,B" of positive numbers (decimals allowed), as the printer options take.
std::optional<std::pair<double, double>> ParseNumberPair(std::string_view text);

/// Reads a screen size "WIDTHxHEIGHT" (each 1 to 100000).
std::optional<std::pair<int, int>> ParseScreenSize(std::string_view text);

/// The options `consult` and `desktop` share, read from their command-line texts. Each reader
/// writes its usage error to standard error and returns false for a text it cannot take.
bool ReadClockOption(const std::string& text, LocalDateTime& clock);
bool ReadScreenOption(const std::string& text, int& width, int& height);
bool ReadDesktopOption(const std::string& text, ScriptedScreenOptions& screen);

/// The --timeout in seconds as a duration: zero for none, at least 1 ms for any positive
/// value, a year at most.
std::chrono::milliseconds TimeoutOf(double seconds);

/// Reads a script of answers or actions. Returns the exit status on failure (a file error is
/// kExitFailure, a malformed script kExitUsage), having written the error to standard error.
std::optional<int> ReadScriptFile(const std::string& file, std::vector<ScriptedAnswer>& script);

/// What a scripted run leaves behind.
struct ConsultOutcome {
    std::vector<nlohmann::json> events;  ///< the transcript, in order
    int exitCode = 0;                    ///< the exit status of `consult`
    int consultations = 0;               ///< restarts included
    bool errorReport = false;            ///< some consultation ended by an error report
    bool timedOut = false;
    bool ranOut = false;
    std::optional<std::string> scriptError;  ///< an answer that did not fit, naming its line
    std::size_t answersLeft = 0;             ///< answers the run did not consume
    /// A consultation the program did not set up completely (exit kExitFailure).
    std::optional<std::string> internalError;
};

/// Runs the start command's loop (restarts included) on the scripted platform with `answers`
/// and records "start" and "end" events around each consultation.
ConsultOutcome RunScriptedConsultation(const LoadedKnowledgeBase& knowledgeBase,
                                       std::vector<ScriptedAnswer> answers,
                                       const ConsultOptions& options);
/// The same, taking the records over: the consultations share them instead of copying them.
ConsultOutcome RunScriptedConsultation(LoadedKnowledgeBase&& knowledgeBase,
                                       std::vector<ScriptedAnswer> answers,
                                       const ConsultOptions& options);

/// The transcript as JSON Lines: one compact event per line, each ended by "\n" (UTF-8).
std::string TranscriptText(const std::vector<nlohmann::json>& events);

/// Writes `text` as the transcript file `file`, replacing an existing one through
/// ReplaceFileContent, so it holds its old or its complete new text and nothing is left
/// beside it. False after printing "FILE: Protokoll konnte nicht geschrieben werden" and why
/// to `err`; a transcript that is complete but whose folder could not be flushed is written.
/// `faults` (tests only) makes steps of the write fail.
bool WriteTranscriptFile(const std::string& file, std::string_view text, std::ostream& err,
                         FileFaultInjector* faults = nullptr);

/// The "end" event of consultation number `number` (from 1), with its fact base (empty after
/// a failed program check); `withEvidence` (and explanations on) gives each fact its
/// "evidence" and adds the "removedFacts" of the jump back.
nlohmann::json EndEvent(Consultation& consultation, int number, bool withEvidence = false);

/// Appends the transcript line of EndEvent(consultation, number) to `transcript`, the same
/// bytes, without building the facts as JSON values first.
void AppendEndEventLine(std::string& transcript, Consultation& consultation, int number);

/// A message box text on one console line: each "\r\n" a blank, runs of blanks one blank,
/// converted to UTF-8.
std::string OneLineMessage(std::string_view windows1252);

/// One problem `check` lists: the line number (from 1) and the text after "FILE:LINE: ".
struct CheckProblem {
    int line = 0;
    std::string text;
};

/// What `check` finds.
struct CheckReport {
    std::vector<CheckProblem> problems;  ///< in line order, grammar before the program check
    std::vector<std::string> warnings;   ///< "FILE:LINE: Warnung: ..."
    bool wouldStart = false;  ///< no program-check fault, and a text form has no faulty line
    /// With the lint: its warnings, "Warnung N: ..." (UTF-8), in line order.
    std::vector<CheckProblem> lintWarnings;
    /// False when the lint did not run: not asked for, or a line is faulty (a faulty line
    /// cannot be read for what it means).
    bool linted = false;
};

/// Checks a knowledge base: every line with the grammar (a record as its text form would be
/// typed), and the whole program with the program check listing every fault (8 and 9).
/// With `lint`, also lints the whole program when no line is faulty. Fails only for an
/// unknown extension or a file error.
Expected<CheckReport> CheckKnowledgeBase(const std::string& file, bool lint = false);

}  // namespace kelvo::cli
