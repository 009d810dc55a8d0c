#include "platform/scripted/scripted_platform.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <limits>
#include <system_error>

#include "forms/consultation_form.h"
#include "forms/page_session.h"
#include "inspector/runtime_inspector.h"
#include "platform/scripted/form_json.h"
#include "platform/scripted/transcript_line.h"
#include "store/fact_base.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

std::string Utf8(std::string_view bytes) {
    return Windows1252ToUtf8(bytes);
}

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return "warning";
        case MessageIcon::Information:
            return "information";
        case MessageIcon::Question:
            return "question";
        case MessageIcon::None:
            break;
    }
    return "none";
}

const char* ReasonName(InspectorReason why) {
    switch (why) {
        case InspectorReason::Breakpoint:
            return "breakpoint";
        case InspectorReason::BreakOff:
            return "breakoff";
        case InspectorReason::Error:
            return "error";
        case InspectorReason::Page:
            return "page";
    }
    return "page";
}

constexpr const char* kPageAnswerShape =
    "{\"page\":\"weiter\"|\"abbruch\"} oder {\"page\":{\"fields\":...,\"press\":...}}";

// A name of a page answer in the form of the fact base: Windows-1252, upper case, trailing
// blanks dropped.
std::string AnswerName(const std::string& utf8) {
    return TrimRight(ToUpper(Utf8ToWindows1252(utf8)));
}

// The visible slot of `pool` whose variable is `name` (as AnswerName gives it); 0 for none.
int FindSlot(const TForm6& form, Pool pool, const std::string& name, bool editable) {
    for (int k = 1; k <= kPoolSlots[static_cast<std::size_t>(pool)]; ++k) {
        const FormSlot& slot = form.Slot(pool, k);
        if (slot.belegt && slot.component.visible && TrimRight(slot.belegtMit) == name &&
            !(editable && slot.component.readOnly)) {
            return k;
        }
    }
    return 0;
}

}  // namespace

void ScriptedPlatform::Record(nlohmann::json event) {
    if (transcript_ != nullptr) {
        AppendTranscriptLine(*transcript_, event);
        return;
    }
    events_.push_back(std::move(event));
}

ScriptedPlatform::ScriptedPlatform(std::vector<ScriptedAnswer> answers, ScriptedOptions options)
    : answers_(answers.begin(), answers.end()),
      options_(std::move(options)),
      clipboard_(Utf8ToWindows1252(options_.clipboard)) {
    if (options_.timeout.count() > 0) {
        deadline_ = std::chrono::steady_clock::now() + options_.timeout;
    }
}

std::optional<nlohmann::json> ScriptedPlatform::Take(const char* key, const char* expected) {
    if (Failed()) {
        return std::nullopt;
    }
    if (answers_.empty()) {
        ranOut_ = options_.strict;
        return std::nullopt;
    }
    const ScriptedAnswer& next = answers_.front();
    lastLine_ = next.line;
    if (!next.value.is_object() || !next.value.contains(key)) {
        scriptError_ = "Antwort in Zeile " + std::to_string(next.line) + " passt nicht: erwartet " +
                       expected + ", gefunden " + next.value.dump();
        return std::nullopt;
    }
    if (next.value.size() != 1) {
        Fault("eine Antwort hat genau einen Schl\xC3\xBCssel, gefunden " + next.value.dump());
        return std::nullopt;
    }
    nlohmann::json value = next.value.at(key);
    answers_.pop_front();
    return value;
}

ScriptedAnswer ScriptedPlatform::TakeAnswer() {
    ScriptedAnswer answer = std::move(answers_.front());
    answers_.pop_front();
    lastLine_ = answer.line;
    return answer;
}

void ScriptedPlatform::ReportMisfit(int line, const std::string& text) {
    if (!scriptError_) {
        scriptError_ = "Antwort in Zeile " + std::to_string(line) + " passt nicht: " + text;
    }
}

void ScriptedPlatform::CheckTimeout() {
    if (!timedOut_ && options_.timeout.count() > 0 &&
        std::chrono::steady_clock::now() >= deadline_) {
        timedOut_ = true;
        Record({{"event", "timeout"}});
    }
}

MessageAnswer ScriptedPlatform::MessageBox(std::string_view text, std::string_view caption,
                                           MessageIcon icon, MessageButtons buttons) {
    MessageAnswer answer = MessageAnswer::Ok;
    if (buttons == MessageButtons::YesNo) {
        answer = MessageAnswer::No;
        if (Stopping()) {
            // A stopped run (timeout or script fault) confirms the break-off it caused and
            // declines everything else.
            if (!stopBreakOffServed_ && caption == "Programm beenden ?") {
                stopBreakOffServed_ = true;
                answer = MessageAnswer::Yes;
            }
        } else if (auto value = Take("answer", "{\"answer\":\"yes\"|\"no\"}")) {
            if (*value == "yes") {
                answer = MessageAnswer::Yes;
            } else if (*value != "no") {
                scriptError_ = "Antwort in Zeile " + std::to_string(lastLine_) +
                               " passt nicht: " + value->dump() + " ist weder yes noch no";
            }
        }
    }
    const char* answerName =
        answer == MessageAnswer::Yes ? "yes" : (answer == MessageAnswer::No ? "no" : "ok");
    Record({{"event", "message"},
            {"caption", Utf8(caption)},
            {"text", Utf8(text)},
            {"icon", IconName(icon)},
            {"buttons", buttons == MessageButtons::YesNo ? "yesno" : "ok"},
            {"answer", answerName}});
    return answer;
}

void ScriptedPlatform::Fault(const std::string& text) {
    if (!scriptError_) {
        scriptError_ = "Antwort in Zeile " + std::to_string(lastLine_) + " passt nicht: " + text;
    }
}

bool ScriptedPlatform::ApplyPageAnswer(TForm6& form, const nlohmann::json& answer,
                                       std::string& press, bool& print, bool& inspect) {
    for (const auto& [key, value] : answer.items()) {
        if (key != "fields" && key != "checks" && key != "lists" && key != "press" &&
            key != "print" && key != "inspector" && key != "copy" && key != "paste") {
            Fault("unbekannter Schl\xC3\xBCssel \"" + key + "\" einer Seitenantwort");
            return false;
        }
    }
    auto objectOf = [&](const char* key) -> const nlohmann::json* {
        if (!answer.contains(key)) {
            return nullptr;
        }
        return &answer.at(key);
    };
    // The values of one kind are checked before the answer changes anything.
    for (const char* key : {"print", "inspector"}) {
        if (const nlohmann::json* flag = objectOf(key); flag != nullptr && !flag->is_boolean()) {
            Fault(std::string("\"") + key + "\" ist weder true noch false");
            return false;
        }
    }
    if (const nlohmann::json* button = objectOf("press");
        button != nullptr && !button->is_string()) {
        Fault("\"press\" ist kein Text");
        return false;
    }
    if (const nlohmann::json* fields = objectOf("fields")) {
        if (!fields->is_object()) {
            Fault("\"fields\" ist kein Objekt");
            return false;
        }
        for (const auto& [name, value] : fields->items()) {
            const std::string wanted = AnswerName(name);
            if (!value.is_string()) {
                Fault("der Wert von \"" + name + "\" ist kein Text");
                return false;
            }
            bool found = false;
            for (const Pool pool : {Pool::Edit, Pool::Memo}) {
                for (int k = 1; k <= kPoolSlots[static_cast<std::size_t>(pool)]; ++k) {
                    const FormSlot& slot = form.Slot(pool, k);
                    if (slot.belegt && slot.component.visible && !slot.component.readOnly &&
                        TrimRight(slot.belegtMit) == wanted) {
                        form.SetFieldText({pool, k}, Utf8ToWindows1252(value.get<std::string>()));
                        found = true;
                    }
                }
            }
            if (!found) {
                Fault("kein Eingabefeld \"" + name + "\" auf der Seite");
                return false;
            }
        }
    }
    if (const nlohmann::json* checks = objectOf("checks")) {
        if (!checks->is_object()) {
            Fault("\"checks\" ist kein Objekt");
            return false;
        }
        for (const auto& [name, value] : checks->items()) {
            const int slot = FindSlot(form, Pool::CheckBox, AnswerName(name), false);
            if (slot == 0 || !value.is_boolean()) {
                Fault(slot == 0 ? "kein Kontrollk\xC3\xA4stchen \"" + name + "\" auf der Seite"
                                : "der Wert von \"" + name + "\" ist weder true noch false");
                return false;
            }
            form.SetChecked(slot, value.get<bool>());
        }
    }
    if (const nlohmann::json* lists = objectOf("lists")) {
        if (!lists->is_object()) {
            Fault("\"lists\" ist kein Objekt");
            return false;
        }
        for (const auto& [name, value] : lists->items()) {
            const int slot = FindSlot(form, Pool::ListBox, AnswerName(name), false);
            if (slot == 0) {
                Fault("keine Liste \"" + name + "\" auf der Seite");
                return false;
            }
            const bool item = value.is_number_integer() && value.get<std::int64_t>() >= 0 &&
                              value.get<std::int64_t>() <= std::numeric_limits<int>::max();
            if (!item || !form.Select(slot, static_cast<int>(value.get<std::int64_t>()))) {
                Fault("die Liste \"" + name + "\" hat keinen Eintrag " + value.dump());
                return false;
            }
        }
    }
    // Copy and paste work on the whole text of the field named, as if it had the focus with
    // everything selected: copy from any edit field, paste into an input field.
    for (const char* key : {"copy", "paste"}) {
        if (!answer.contains(key)) {
            continue;
        }
        const bool paste = std::string_view(key) == "paste";
        const nlohmann::json& value = answer.at(key);
        int slot = 0;
        Pool pool = Pool::Edit;
        if (value.is_string()) {
            for (const Pool candidate : {Pool::Edit, Pool::Memo}) {
                if (slot == 0) {
                    slot = FindSlot(form, candidate, AnswerName(value.get<std::string>()), paste);
                    pool = candidate;
                }
            }
        }
        if (slot == 0) {
            Fault(std::string("kein ") + (paste ? "Eingabefeld " : "Feld ") + value.dump() +
                  " zum " + (paste ? "Einf\xC3\xBCgen" : "Kopieren") + " auf der Seite");
            return false;
        }
        form.SetFocus({pool, slot});
        form.SetSelection(0, form.Slot(pool, slot).component.text.size());
        if (paste) {
            form.Aus_AblageClick(Text());
        } else if (auto text = form.In_AblageClick()) {
            SetText(*text);
        }
    }
    print = answer.contains("print") && answer.at("print").get<bool>();
    inspect = answer.contains("inspector") && answer.at("inspector").get<bool>();
    press = answer.contains("press") ? answer.at("press").get<std::string>() : "weiter";
    return true;
}

// The page commands of the answers script: one page answer may print the page and open the
// inspector before it presses a button, so it becomes a short queue of commands. The page
// event is recorded once per answer, showing the page before the answer changed it.
class ScriptedPageDesktop final : public PageDesktop {
  public:
    explicit ScriptedPageDesktop(ScriptedPlatform& platform) : platform_(platform) {}

    PageAction NextAction(TForm6& form) override {
        if (pending_.empty()) {
            ReadAnswer(form);
        }
        const PageAction action = pending_.front();
        pending_.pop_front();
        return action;
    }
    void PlayMedia(TForm6& /*form*/, const MediaRequest& request) override {
        platform_.Play(request);
    }
    void PrintPage(const TForm6& form) override {
        platform_.Record({{"event", "pageprint"}, {"caption", Utf8(TrimRight(form.Caption()))}});
    }
    void OpenInspector(InspectorContext& context) override {
        platform_.ShowInspector(InspectorReason::Page, 0, context);
    }

  private:
    void ReadAnswer(TForm6& form);

    ScriptedPlatform& platform_;
    std::deque<PageAction> pending_;
};

void ScriptedPageDesktop::ReadAnswer(TForm6& form) {
    ScriptedPlatform& p = platform_;
    nlohmann::json event = FormJson(form);
    event["event"] = "page";
    p.CheckTimeout();
    std::string press;
    bool print = false;
    bool inspect = false;
    int button = 0;
    bool stop = p.timedOut_ || p.Failed();
    if (!stop) {
        if (auto value = p.Take("page", kPageAnswerShape)) {
            if (value->is_string()) {
                press = value->get<std::string>();
            } else if (value->is_object()) {
                stop = !p.ApplyPageAnswer(form, *value, press, print, inspect);
            } else {
                p.Fault(value->dump() + " ist keine Seitenantwort");
                stop = true;
            }
        } else if (p.Failed()) {
            stop = true;
        } else {
            // Out of answers: Enter, which presses the focused page button or "Weiter".
            press = form.Slot(Pool::Button, 1).belegt ? "" : "weiter";
            button = press.empty() ? 1 : 0;
        }
    }
    if (!stop && press != "weiter" && press != "abbruch" && button == 0) {
        button = FindSlot(form, Pool::Button, AnswerName(press), false);
        if (button == 0) {
            p.Fault("kein Schalter \"" + press + "\" auf der Seite");
            stop = true;
        }
    }
    if (!stop && press == "weiter" && !form.Tool(ToolButton::Weiter).visible) {
        p.Fault("die Seite hat keinen Weiter-Schalter; ein Schalter der Seite beendet sie");
        stop = true;
    }
    if (!stop && inspect && !form.Tool(ToolButton::Datenbasis).visible) {
        p.Fault("die Seite hat keinen Datenbasis-Schalter (nur im Programmiermodul)");
        stop = true;
    }
    if (stop) {
        // A stopped run leaves the page as a confirmed break-off would.
        event["answer"] = "abbruch";
        p.Record(std::move(event));
        pending_.push_back({PageAction::Kind::Stop});
        return;
    }
    event["answer"] =
        button > 0 ? Utf8(TrimRight(form.Slot(Pool::Button, button).belegtMit)) : press;
    p.Record(std::move(event));
    if (print) {
        pending_.push_back({PageAction::Kind::Drucken});
    }
    if (inspect) {
        pending_.push_back({PageAction::Kind::Datenbasis});
    }
    if (button > 0) {
        pending_.push_back({PageAction::Kind::PageButton, button});
    } else if (press == "weiter") {
        pending_.push_back({PageAction::Kind::Weiter});
    } else {
        pending_.push_back({PageAction::Kind::Abbruch});
    }
}

PageOutcome ScriptedPlatform::ShowPage(const PageRequest& page, InspectorContext& context) {
    CheckTimeout();
    ScriptedPageDesktop desktop(*this);
    PageSession session(page, context, desktop, *this,
                        {options_.screenWidth, options_.screenHeight, options_.fileFolder});
    return session.Run();
}

void ScriptedPlatform::ShowInspector(InspectorReason why, int line, InspectorContext& context) {
    CheckTimeout();
    TForm7 inspector(context.facts, context.breakpointLine,
                     {clipboard_, context.ablage2Text, context.ablage3Text}, options_.screenWidth,
                     options_.screenHeight);
    nlohmann::json event = InspectorJson(inspector);
    event["event"] = "inspector";
    event["why"] = ReasonName(why);
    event["line"] = line;
    // An inspector answer is optional: it is taken only when it is the next answer.
    if (!Stopping() && !answers_.empty() && answers_.front().value.is_object() &&
        answers_.front().value.contains("inspector")) {
        const ScriptedAnswer answer = answers_.front();
        answers_.pop_front();
        lastLine_ = answer.line;
        const nlohmann::json& value = answer.value.at("inspector");
        if (answer.value.size() != 1) {
            Fault("eine Antwort hat genau einen Schl\xC3\xBCssel, gefunden " + answer.value.dump());
        } else if (!value.is_object()) {
            Fault(value.dump() + " ist keine Antwort des Datenbasis-Fensters");
        } else {
            for (const auto& [key, item] : value.items()) {
                if (key != "deleteBreakpoint") {
                    Fault("unbekannte Antwort \"" + key + "\" des Datenbasis-Fensters");
                } else if (!item.is_boolean()) {
                    Fault("\"deleteBreakpoint\" ist weder true noch false");
                }
            }
            if (!scriptError_ && value.contains("deleteBreakpoint") &&
                value.at("deleteBreakpoint").get<bool>() && inspector.BreakpointButtonEnabled()) {
                inspector.Haltepunkt_loeschenClick();
                event["deleteBreakpoint"] = true;
            }
        }
    }
    Record(std::move(event));
}

bool ScriptedPlatform::PumpOneEvent() {
    CheckTimeout();
    if (Stopping()) {
        // The run is stopped as by a confirmed break-off: request one until it was served.
        return !stopBreakOffServed_;
    }
    if (answers_.empty()) {
        return false;
    }
    const nlohmann::json& next = answers_.front().value;
    if (!next.is_object() || !next.contains("breakoff")) {
        return false;
    }
    lastLine_ = answers_.front().line;
    if (next.size() != 1 || next.at("breakoff") != true) {
        // Only {"breakoff":true} clicks "Abbruch"; anything else under that key does not fit,
        // and the run stops as after any answer that does not fit.
        Fault(next.size() != 1
                  ? "eine Antwort hat genau einen Schl\xC3\xBCssel, gefunden " + next.dump()
                  : "\"breakoff\" ist nicht true, gefunden " + next.at("breakoff").dump());
        answers_.pop_front();
        return !stopBreakOffServed_;
    }
    answers_.pop_front();
    Record({{"event", "breakoff"}});
    return true;
}

void ScriptedPlatform::Beep() {
    Record({{"event", "beep"}});
}

std::string ScriptedPlatform::Text() {
    Record({{"event", "clipboard"}, {"action", "read"}, {"text", Utf8(clipboard_)}});
    return clipboard_;
}

void ScriptedPlatform::SetText(std::string_view text) {
    clipboard_ = std::string(text);
    Record({{"event", "clipboard"}, {"action", "write"}, {"text", Utf8(clipboard_)}});
}

std::optional<std::string> ScriptedPlatform::ChooseFile(const char* dialog,
                                                        const FileDialogRequest& request) {
    nlohmann::json event{{"event", "filedialog"}, {"dialog", dialog}};
    if (!request.title.empty()) {
        event["title"] = Utf8(request.title);
    }
    nlohmann::json list = nlohmann::json::array();
    for (const FileFilter& filter : request.filters) {
        list.push_back(
            {{"description", Utf8(filter.description)}, {"pattern", Utf8(filter.pattern)}});
    }
    event["filters"] = std::move(list);
    if (!request.folder.empty()) {
        event["folder"] = Utf8(request.folder);
    }
    std::optional<std::string> chosen;
    if (!Stopping()) {
        if (auto value = Take("file", "{\"file\":\"PFAD\"} oder {\"file\":null}")) {
            if (value->is_string() && !value->get<std::string>().empty()) {
                // The dialog gives a full path: a relative answer is taken from the current
                // folder.
                std::error_code error;
                std::filesystem::path path = value->get<std::string>();
                const std::filesystem::path full = std::filesystem::absolute(path, error);
                chosen = Utf8ToWindows1252((error ? path : full).lexically_normal().string());
            } else if (!value->is_null()) {
                Fault(value->dump() + " ist weder ein Dateiname noch null");
            }
        }
    }
    event["file"] = chosen ? nlohmann::json(Utf8(*chosen)) : nlohmann::json(nullptr);
    Record(std::move(event));
    return chosen;
}

std::optional<std::string> ScriptedPlatform::OpenFileName(const FileDialogRequest& request) {
    return ChooseFile("open", request);
}

std::optional<std::string> ScriptedPlatform::SaveFileName(const FileDialogRequest& request) {
    return ChooseFile("save", request);
}

void ScriptedPlatform::PrinterSetup() {
    Record({{"event", "printersetup"}});
}

bool ScriptedPlatform::OpenDocument(std::string_view target) {
    std::error_code error;
    const bool opened =
        !target.empty() && (target.find("://") != std::string_view::npos ||
                            std::filesystem::exists(std::filesystem::path(target), error));
    Record({{"event", "open"}, {"target", std::string(target)}, {"opened", opened}});
    return opened;
}

bool ScriptedPlatform::StartProcess(const std::vector<std::string>& arguments,
                                    const std::filesystem::path& workingFolder) {
    std::error_code error;
    const bool started =
        !arguments.empty() && !arguments.front().empty() &&
        (workingFolder.empty() || std::filesystem::is_directory(workingFolder, error));
    Record({{"event", "process"},
            {"arguments", arguments},
            {"folder", workingFolder.string()},
            {"started", started}});
    return started;
}

void ScriptedPlatform::Play(const MediaRequest& request) {
    for (const std::string& command : request.commands) {
        Record({{"event", "media"}, {"command", command}});
    }
}

}  // namespace kelvo
