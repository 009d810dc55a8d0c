#include "app/cli/consult_session.h"

#include "platform/database/database_files.h"
#include "store/stored_number.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <limits>
#include <memory>
#include <span>
#include <system_error>
#include <utility>

#include "app/cli/cli_command.h"
#include "app/cli/evidence_json.h"
#include "authoring/knowledge_base_text.h"
#include "authoring/knowledge_base_text_file.h"
#include "authoring/program_line_check.h"
#include "engine/consultation.h"
#include "engine/error_codes.h"
#include "engine/evidence.h"
#include "engine/program_check.h"
#include "engine/start_command.h"
#include "lint/knowledge_base_lint.h"
#include "platform/scripted/transcript_line.h"
#include "shell/consultation_run.h"
#include "store/atomic_file.h"
#include "store/fact_record.h"
#include "store/knowledge_base_file.h"
#include "store/knowledge_base_image.h"
#include "store/random_source.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo::cli {
namespace {

// The lines of a text form as the import splits them: a byte-order mark dropped, "\n" ends a
// line, a "\r" before it dropped, the last line needs no line end.
std::vector<std::string> SplitTextLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The line number of an import message "FILE:LINE: text" and the text behind it.
CheckProblem SplitMessage(const std::string& message, const std::string& file) {
    CheckProblem problem;
    std::size_t at = message.rfind(file + ":", 0) == 0 ? file.size() + 1 : 0;
    std::size_t end = at;
    while (end < message.size() && std::isdigit(static_cast<unsigned char>(message[end]))) {
        ++end;
    }
    if (end > at) {
        problem.line = std::stoi(message.substr(at, end - at));
    }
    if (message.compare(end, 2, ": ") == 0) {
        end += 2;
    }
    problem.text = message.substr(end);
    return problem;
}

}  // namespace

namespace {

// The fields of an end event other than its facts.
nlohmann::json EndEventHead(Consultation& consultation, int number) {
    return {{"event", "end"},
            {"consultation", number},
            {"sessionKey", consultation.SessionKey()},
            {"errorLine", consultation.ErrorLine()},
            {"checkFailed", consultation.CheckFailed()},
            {"errorReport", consultation.ErrorReported()},
            {"restart", consultation.RestartRequested()}};
}

// A field of a fact record as a JSON string; its Windows-1252 bytes become UTF-8.
void AppendFieldString(std::string& out, std::string_view bytes) {
    if (IsAscii(bytes)) {
        AppendJsonString(out, bytes);
    } else {
        AppendJsonString(out, Windows1252ToUtf8(bytes));
    }
}

// True when columns 1-65 of a fact record (name, value, certainty, origin) are all there and
// stand in JSON strings as they are.
bool PlainFields(std::string_view text) {
    constexpr std::size_t kFieldsEnd = FactRecord::kOriginColumn + 1;
    return text.size() >= kFieldsEnd && IsPlainJsonText(text.substr(0, kFieldsEnd));
}

// Appends the JSON object of the fact record `text` at `position`, with its keys in the order
// the JSON object keeps them.
void AppendFactObject(std::string& out, std::string_view text, int position) {
    char digits[16];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), position).ptr;
    const std::string_view number(digits, static_cast<std::size_t>(end - digits));
    if (PlainFields(text)) {
        // Put together in place and appended once: a long end event has one object per fact.
        std::array<char, 160> object;
        std::size_t length = 0;
        const auto put = [&](std::string_view piece) {
            std::copy(piece.begin(), piece.end(), object.begin() + length);
            length += piece.size();
        };
        const auto column = [text](std::size_t first, std::size_t width) {
            return text.substr(first - 1, width);
        };
        put("{\"certainty\":\"");
        put(column(FactRecord::kCertaintyColumn, 2));
        put("\",\"name\":\"");
        put(column(1, FactRecord::kNameWidth));
        put("\",\"origin\":\"");
        put(column(FactRecord::kOriginColumn, 2));
        put("\",\"position\":");
        put(number);
        put(",\"value\":\"");
        put(column(FactRecord::kValueColumn, FactRecord::kValueWidth));
        put("\"}");
        out.append(object.data(), length);
        return;
    }
    const FactRecord record(text);
    out += "{\"certainty\":";
    AppendFieldString(out, record.CertaintyField().view());
    out += ",\"name\":";
    AppendFieldString(out, record.NameField().view());
    out += ",\"origin\":";
    AppendFieldString(out, record.OriginField().view());
    out += ",\"position\":";
    out += number;
    out += ",\"value\":";
    AppendFieldString(out, record.ValueField().view());
    out += '}';
}

}  // namespace

nlohmann::json EndEvent(Consultation& consultation, int number, bool withEvidence) {
    nlohmann::json facts = nlohmann::json::array();
    const Evidence* evidence = withEvidence ? consultation.evidence() : nullptr;
    // After a failed program check the preparation never ran: there is no fact base.
    if (!consultation.CheckFailed()) {
        const KnowledgeBaseImage& image = consultation.image();
        for (int p = image.FactBoundary() + 1; p <= image.LastRecord(); ++p) {
            const FactRecord record(image.Text(p));
            facts.push_back({{"position", p},
                             {"name", Windows1252ToUtf8(record.Name())},
                             {"value", Windows1252ToUtf8(record.Value())},
                             {"certainty", Windows1252ToUtf8(record.Certainty())},
                             {"origin", Windows1252ToUtf8(record.Origin())}});
            if (evidence != nullptr) {
                facts.back()["evidence"] =
                    EvidenceJson(*evidence, image, evidence->EntryNumberAt(p), false);
            }
        }
    }
    nlohmann::json end = EndEventHead(consultation, number);
    end["facts"] = std::move(facts);
    if (evidence != nullptr) {
        end["removedFacts"] = RemovedFactsJson(*evidence, consultation.image());
    }
    return end;
}

void AppendEndEventLine(std::string& transcript, Consultation& consultation, int number) {
    nlohmann::json head = EndEventHead(consultation, number);
    head["facts"] = nullptr;
    std::string line;
    AppendTranscriptLine(line, head);
    // Only numbers, booleans and "end" come before the facts, so this finds their place.
    static constexpr std::string_view kFacts = "\"facts\":null";
    const std::size_t at = line.find(kFacts);
    transcript.append(line, 0, at);
    transcript += "\"facts\":[";
    if (!consultation.CheckFailed()) {
        const KnowledgeBaseImage& image = consultation.image();
        // About the length of a fact's object, so that a long transcript grows once.
        constexpr std::size_t kFactLength = 140;
        const int count = image.LastRecord() - image.FactBoundary();
        if (count > 0) {
            transcript.reserve(transcript.size() + line.size() +
                               kFactLength * static_cast<std::size_t>(count));
        }
        for (int p = image.FactBoundary() + 1; p <= image.LastRecord(); ++p) {
            if (p > image.FactBoundary() + 1) {
                transcript += ',';
            }
            AppendFactObject(transcript, image.Text(p), p);
        }
    }
    transcript += ']';
    transcript.append(line, at + kFacts.size());
}

Expected<std::vector<ScriptedAnswer>> ParseAnswers(std::string_view text,
                                                   const std::string& fileName) {
    std::vector<ScriptedAnswer> answers;
    int number = 0;
    for (const std::string& line : SplitTextLines(text)) {
        ++number;
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        if (!JsonDepthWithin(line, kMaxJsonDepth)) {
            return Error{fileName + ":" + std::to_string(number) +
                         ": zu tief verschachtelt (mehr als " + std::to_string(kMaxJsonDepth) +
                         " Ebenen)"};
        }
        nlohmann::json value = nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false);
        if (value.is_discarded()) {
            return Error{fileName + ":" + std::to_string(number) + ": kein JSON: " + line};
        }
        if (!value.is_object()) {
            return Error{fileName + ":" + std::to_string(number) + ": kein JSON-Objekt: " + line};
        }
        answers.push_back({std::move(value), number});
    }
    return answers;
}

std::optional<LocalDateTime> ParseClock(std::string_view text) {
    // Exactly "YYYY-MM-DD HH:MM:SS".
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t width, int& out) {
        out = 0;
        for (std::size_t i = at; i < at + width; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
                return false;
            }
            out = out * 10 + (text[i] - '0');
        }
        return true;
    };
    LocalDateTime time;
    if (!number(0, 4, time.year) || !number(5, 2, time.month) || !number(8, 2, time.day) ||
        !number(11, 2, time.hour) || !number(14, 2, time.minute) || !number(17, 2, time.second)) {
        return std::nullopt;
    }
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.year < 1 || time.month < 1 || time.month > 12 || time.hour > 23 || time.minute > 59 ||
        time.second > 59) {
        return std::nullopt;
    }
    const bool leap = (time.year % 4 == 0 && time.year % 100 != 0) || time.year % 400 == 0;
    const int days = kDays[time.month - 1] + (time.month == 2 && leap ? 1 : 0);
    if (time.day < 1 || time.day > days) {
        return std::nullopt;
    }
    return time;
}

std::optional<std::pair<int, int>> ParseScreenSize(std::string_view text) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return std::nullopt;
    }
    auto number = [](std::string_view digits) -> std::optional<int> {
        if (digits.empty() || digits.size() > 6) {
            return std::nullopt;
        }
        int value = 0;
        for (const char c : digits) {
            if (!std::isdigit(static_cast<unsigned char>(c))) {
                return std::nullopt;
            }
            value = value * 10 + (c - '0');
        }
        if (value < 1 || value > 100000) {
            return std::nullopt;
        }
        return value;
    };
    const auto width = number(text.substr(0, x));
    const auto height = number(text.substr(x + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return std::pair{*width, *height};
}

namespace {

// Reads `key` of `object` as a whole number from `low` to `high` into `out`; a missing key
// keeps `out`. Fails naming the key for a value of another type or outside the range.
Status ReadWhole(const nlohmann::json& object, const char* key, std::int64_t low, std::int64_t high,
                 int& out) {
    if (!object.contains(key)) {
        return {};
    }
    const nlohmann::json& value = object.at(key);
    if (!value.is_number_integer() ||
        (value.is_number_unsigned() &&
         value.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) ||
        value.get<std::int64_t>() < low || value.get<std::int64_t>() > high) {
        return Error{std::string("\"") + key + "\" ist keine ganze Zahl von " +
                     std::to_string(low) + " bis " + std::to_string(high) + ": " + value.dump()};
    }
    out = static_cast<int>(value.get<std::int64_t>());
    return {};
}

// Only the keys named may appear in `object`.
Status OnlyKeys(const nlohmann::json& object, std::initializer_list<std::string_view> keys,
                std::string_view what) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            return Error{"unbekannter Schl\xC3\xBCssel \"" + key + "\" " + std::string(what)};
        }
    }
    return {};
}

Status ReadColour(const nlohmann::json& value, PixelColour& colour) {
    if (!value.is_object()) {
        return Error{"\"background\" ist kein Objekt: " + value.dump()};
    }
    colour = PixelColour{};
    for (auto [key, part] :
         {std::pair{"red", &colour.red}, {"green", &colour.green}, {"blue", &colour.blue}}) {
        if (Status read = ReadWhole(value, key, 0, 255, *part); !read) {
            return read;
        }
    }
    return {};
}

constexpr std::int64_t kCoordinateLimit = 1 << 30;

}  // namespace

bool JsonDepthWithin(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;  // the escaped character
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return false;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

Expected<ScriptedScreenOptions> ParseDesktopOptions(std::string_view text,
                                                    ScriptedScreenOptions base) {
    if (!JsonDepthWithin(text, kMaxJsonDepth)) {
        return Error{"zu tief verschachtelt"};
    }
    const nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
    if (!value.is_object()) {
        return Error{"kein JSON-Objekt"};
    }
    Status read =
        OnlyKeys(value, {"available", "width", "height", "background", "pixels", "escapeAtQuery"},
                 "des Bildschirms");
    if (read && value.contains("available")) {
        if (!value.at("available").is_boolean()) {
            read = Error{"\"available\" ist weder true noch false"};
        } else {
            base.available = value.at("available").get<bool>();
        }
    }
    if (read) {
        read = ReadWhole(value, "width", 1, 100000, base.width);
    }
    if (read) {
        read = ReadWhole(value, "height", 1, 100000, base.height);
    }
    if (read && value.contains("background")) {
        read = ReadColour(value.at("background"), base.background);
    }
    if (read && value.contains("pixels")) {
        if (!value.at("pixels").is_array()) {
            read = Error{"\"pixels\" ist keine Liste"};
        } else {
            base.pixels.clear();
            for (const nlohmann::json& point : value.at("pixels")) {
                ScriptedPixel pixel;
                if (!point.is_object()) {
                    read = Error{"ein Bildpunkt ist kein Objekt: " + point.dump()};
                } else {
                    read = OnlyKeys(point, {"x", "y", "red", "green", "blue"}, "eines Bildpunkts");
                }
                if (read) {
                    read = ReadWhole(point, "x", -kCoordinateLimit, kCoordinateLimit, pixel.x);
                }
                if (read) {
                    read = ReadWhole(point, "y", -kCoordinateLimit, kCoordinateLimit, pixel.y);
                }
                if (read) {
                    read = ReadColour(point, pixel.colour);
                }
                if (!read) {
                    break;
                }
                base.pixels.push_back(pixel);
            }
        }
    }
    if (read && value.contains("escapeAtQuery")) {
        const nlohmann::json& queries = value.at("escapeAtQuery");
        if (!queries.is_array()) {
            read = Error{"\"escapeAtQuery\" ist keine Liste"};
        } else {
            base.escapeAtQuery.clear();
            for (const nlohmann::json& query : queries) {
                int number = 0;
                read = ReadWhole(nlohmann::json{{"escapeAtQuery", query}}, "escapeAtQuery", 1,
                                 std::numeric_limits<int>::max(), number);
                if (!read) {
                    break;
                }
                base.escapeAtQuery.push_back(number);
            }
        }
    }
    if (!read) {
        return read.error();
    }
    return base;
}

std::optional<std::pair<double, double>> ParseNumberPair(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<double> first = ParseDecimalNumber(text.substr(0, comma));
    const std::optional<double> second = ParseDecimalNumber(text.substr(comma + 1));
    if (!first || !second || !(*first > 0.0) || !(*second > 0.0)) {
        return std::nullopt;
    }
    return std::pair{*first, *second};
}

namespace {

ConsultOutcome RunScripted(const LoadedKnowledgeBase& knowledgeBase,
                           std::shared_ptr<const std::vector<LineRecord>> records,
                           std::vector<ScriptedAnswer> answers, const ConsultOptions& options) {
    ScriptedOptions scripted;
    scripted.strict = options.strict;
    scripted.clock = options.clock;
    scripted.timeout = options.timeout;
    scripted.screenWidth = options.screenWidth;
    scripted.screenHeight = options.screenHeight;
    scripted.clipboard = options.clipboard;
    scripted.fileFolder = std::filesystem::path(knowledgeBase.file).parent_path().string();
    std::error_code pathError;
    const std::filesystem::path knowledgeBasePath =
        std::filesystem::absolute(knowledgeBase.file, pathError);
    scripted.knowledgeBasePath =
        (pathError ? std::filesystem::path(knowledgeBase.file) : knowledgeBasePath)
            .lexically_normal()
            .string();
    scripted.programPath = std::filesystem::read_symlink("/proc/self/exe", pathError).string();
    ScriptedPlatform platform(std::move(answers), scripted);
    platform.StreamEvents(options.transcript);
    SeededRandomSource random(options.seed);
    ConsultationServices services{platform, platform, platform, random, platform};
    services.clipboard = &platform;
    services.media = &platform;
    services.fileDialogs = &platform;
    services.shell = &platform;
    ScriptedPrinter printer(platform, options.printer);
    services.printer = &printer;
    DatabaseFiles database;
    services.database = &database;
    ScriptedAutomation automation(platform, platform, options.desktop);
    services.automation = &automation;

    ConsultationConfig config;
    config.programmingModule = options.programmingModule;
    config.breakpointLine = options.breakpointLine;
    config.ablage2Text = Utf8ToWindows1252(options.ablage2);
    config.ablage3Text = Utf8ToWindows1252(options.ablage3);
    config.searchMode = options.searchMode;
    config.explain = options.explain;

    ConsultOutcome outcome;
    KnowledgeBaseImage image(options.programmingModule);
    StartCommandHooks hooks;
    hooks.prepare = [&](Consultation& /*consultation*/) {
        platform.Record({{"event", "start"},
                         {"file", knowledgeBase.file},
                         {"module", options.programmingModule ? "programming" : "user"},
                         {"consultation", outcome.consultations + 1}});
    };
    hooks.finished = [&](Consultation& consultation) {
        ++outcome.consultations;
        const bool errorReport = consultation.ErrorReported();
        outcome.errorReport = outcome.errorReport || errorReport;
        // A run stopped by the timeout or by the script does not start again.
        if (platform.timedOut() || platform.scriptError() || platform.ranOut()) {
            consultation.SetRestartRequested(false);
        }
        if (options.finished) {
            options.finished(consultation);
        }
        if (options.transcript != nullptr && !options.evidenceInTranscript) {
            AppendEndEventLine(*options.transcript, consultation, outcome.consultations);
        } else {
            platform.Record(
                EndEvent(consultation, outcome.consultations, options.evidenceInTranscript));
        }
    };
    auto result = RunSharedKnowledgeBase(std::move(records), image, config, services, hooks);
    outcome.events = platform.events();
    outcome.timedOut = platform.timedOut();
    outcome.ranOut = platform.ranOut();
    outcome.scriptError = platform.scriptError();
    outcome.answersLeft = platform.answersLeft();
    if (!result) {
        outcome.internalError = result.error().message;
        outcome.exitCode = kExitFailure;
    } else if (outcome.scriptError) {
        outcome.exitCode = kExitUsage;
    } else if (outcome.ranOut) {
        outcome.exitCode = kExitRanOut;
    } else if (outcome.errorReport) {
        outcome.exitCode = kExitErrorReport;
    } else {
        outcome.exitCode = kExitSuccess;
    }
    return outcome;
}

}  // namespace

ConsultOutcome RunScriptedConsultation(const LoadedKnowledgeBase& knowledgeBase,
                                       std::vector<ScriptedAnswer> answers,
                                       const ConsultOptions& options) {
    return RunScripted(knowledgeBase,
                       std::make_shared<const std::vector<LineRecord>>(knowledgeBase.records),
                       std::move(answers), options);
}

ConsultOutcome RunScriptedConsultation(LoadedKnowledgeBase&& knowledgeBase,
                                       std::vector<ScriptedAnswer> answers,
                                       const ConsultOptions& options) {
    auto records =
        std::make_shared<const std::vector<LineRecord>>(std::move(knowledgeBase.records));
    return RunScripted(knowledgeBase, std::move(records), std::move(answers), options);
}

bool ReadClockOption(const std::string& text, LocalDateTime& clock) {
    if (text.empty()) {
        return true;
    }
    const auto parsed = ParseClock(text);
    if (!parsed) {
        std::cerr << "--clock: \"" << text << "\" ist keine Zeitangabe \"JJJJ-MM-TT HH:MM:SS\"\n";
        return false;
    }
    clock = *parsed;
    return true;
}

bool ReadScreenOption(const std::string& text, int& width, int& height) {
    const auto screen = ParseScreenSize(text);
    if (!screen) {
        std::cerr << "--screen: \"" << text
                  << "\" ist keine Bildschirmgr\xC3\xB6\xC3\x9F"
                     "e BREITExH\xC3\x96HE\n";
        return false;
    }
    width = screen->first;
    height = screen->second;
    return true;
}

bool ReadDesktopOption(const std::string& text, ScriptedScreenOptions& screen) {
    if (text.empty()) {
        return true;
    }
    const auto desktop = ParseDesktopOptions(text, screen);
    if (!desktop) {
        std::cerr << "--desktop: " << desktop.error().message << "\n";
        return false;
    }
    screen = *desktop;
    return true;
}

std::chrono::milliseconds TimeoutOf(double seconds) {
    // A limit beyond a year is no limit in practice; capping it keeps the conversion defined.
    constexpr double kLongestTimeout = 366.0 * 24 * 3600;
    std::chrono::milliseconds timeout(
        static_cast<std::int64_t>(std::min(seconds, kLongestTimeout) * 1000.0));
    if (seconds > 0.0 && timeout.count() == 0) {
        timeout = std::chrono::milliseconds(1);
    }
    return timeout;
}

std::optional<int> ReadScriptFile(const std::string& file, std::vector<ScriptedAnswer>& script) {
    auto text = ReadTextFile(file);
    if (!text) {
        std::cerr << text.error().message << "\n";
        return kExitFailure;
    }
    auto parsed = ParseAnswers(*text, file);
    if (!parsed) {
        std::cerr << parsed.error().message << "\n";
        return kExitUsage;
    }
    script = std::move(*parsed);
    return std::nullopt;
}

std::string TranscriptText(const std::vector<nlohmann::json>& events) {
    std::string text;
    for (const nlohmann::json& event : events) {
        AppendTranscriptLine(text, event);
    }
    return text;
}

bool WriteTranscriptFile(const std::string& file, std::string_view text, std::ostream& err,
                         FileFaultInjector* faults) {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    const ReplaceOutcome written = ReplaceFileContent(file, bytes, ReplaceMode::Overwrite, faults);
    if (!written.replaced) {
        err << file << ": Protokoll konnte nicht geschrieben werden ("
            << written.status.error().message << ")\n";
        return false;
    }
    return true;
}

std::string OneLineMessage(std::string_view windows1252) {
    std::string out;
    for (std::size_t i = 0; i < windows1252.size(); ++i) {
        char c = windows1252[i];
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
        if (c == ' ' && (out.empty() || out.back() == ' ')) {
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return Windows1252ToUtf8(out);
}

Expected<CheckReport> CheckKnowledgeBase(const std::string& file, bool lint) {
    const auto kind = KindOf(file);
    if (!kind) {
        return Error{file + ": unbekannte Endung (erwartet .WBP, .WBB oder .txt)"};
    }
    CheckReport report;
    std::vector<CheckProblem> grammar;
    std::vector<LineRecord> records;
    bool textFaults = false;
    if (*kind == KnowledgeBaseKind::Text) {
        auto text = ReadTextFile(file);
        if (!text) {
            return text.error();
        }
        TextImport imported = ImportKnowledgeBaseText(*text, file);
        report.warnings = std::move(imported.warnings);
        for (const std::string& fault : imported.faults) {
            grammar.push_back(SplitMessage(fault, file));
        }
        textFaults = !imported.ok();
        if (imported.ok()) {
            records = std::move(imported.records);
        } else {
            // Every line at its position for the program check: a well-formed line normalized,
            // a faulty one as typed (kind letter upper-cased).
            for (const std::string& line : SplitTextLines(*text)) {
                TextImport one = ImportKnowledgeBaseText(line, file);
                if (one.ok() && one.records.size() == 1) {
                    records.push_back(one.records.front());
                    continue;
                }
                std::string typed = Utf8ToWindows1252(line);
                typed.resize(std::min(typed.size(), LineRecord::kMaxText));
                if (!typed.empty()) {
                    typed[0] =
                        static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
                }
                records.emplace_back(typed);
            }
        }
    } else {
        auto opened = KnowledgeBaseFile::Open(file, KnowledgeBaseFile::Mode::ReadOnly);
        if (!opened) {
            return opened.error();
        }
        auto all = opened->ReadAll(KnowledgeBaseImage::kMaxProgramLines);
        if (!all) {
            return all.error();
        }
        records = std::move(*all);
        for (std::size_t i = 0; i < records.size(); ++i) {
            // The record as its text form would be typed; a run-only record without its digit.
            std::string stored(records[i].text());
            if (*kind == KnowledgeBaseKind::RunOnly && stored.size() > kNormalizedLineWidth) {
                stored.resize(kNormalizedLineWidth);
            }
            const int line = static_cast<int>(i) + 1;
            const LineCheck checked = CheckProgramLine(ExportProgramLine(stored));
            if (!checked.ok) {
                grammar.push_back({line, Windows1252ToUtf8(std::string(kFaultyLineMessage) + " (" +
                                                           checked.reason + ")")});
            } else if (checked.line != PadRight(stored, kNormalizedLineWidth)) {
                report.warnings.push_back(file + ":" + std::to_string(line) +
                                          ": Warnung: Datensatz nicht in Normalform");
            }
        }
    }

    std::vector<CheckProblem> program;
    KnowledgeBaseImage image(true);
    if (auto loaded = image.LoadImage(records); !loaded) {
        return loaded.error();
    }
    std::string goal;
    for (const ProgramProblem& problem : CheckProgram(image, image.LastRecord(), true, &goal)) {
        program.push_back({problem.position + 1, "Fehler " + std::to_string(problem.code) + ": " +
                                                     OneLineMessage(ErrorMessage(problem.code))});
    }
    report.wouldStart = program.empty() && !textFaults;
    const bool faultyLines = !grammar.empty() || textFaults;
    report.problems = std::move(grammar);
    report.problems.insert(report.problems.end(), program.begin(), program.end());
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const CheckProblem& a, const CheckProblem& b) { return a.line < b.line; });
    if (lint && !faultyLines) {
        std::vector<std::string> lines;
        lines.reserve(records.size());
        for (const LineRecord& record : records) {
            lines.emplace_back(record.text());
        }
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(file, error);
        for (const LintWarning& warning :
             LintProgram(std::move(lines), error ? std::string() : full.parent_path().string())) {
            report.lintWarnings.push_back(
                {warning.position + 1, Windows1252ToUtf8(warning.Text())});
        }
        report.linted = true;
    }
    return report;
}

}  // namespace kelvo::cli
