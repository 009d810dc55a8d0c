#include "platform/scripted/scripted_platform.h"

#include "forms/closing_page.h"
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

}  // namespace

ScriptedPlatform::ScriptedPlatform(std::vector<ScriptedAnswer> answers, ScriptedOptions options)
    : answers_(answers.begin(), answers.end()), options_(options) {
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
    nlohmann::json value = next.value.at(key);
    answers_.pop_front();
    return value;
}

void ScriptedPlatform::CheckTimeout() {
    if (!timedOut_ && options_.timeout.count() > 0 &&
        std::chrono::steady_clock::now() >= deadline_) {
        timedOut_ = true;
        events_.push_back({{"event", "timeout"}});
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
    events_.push_back({{"event", "message"},
                       {"caption", Utf8(caption)},
                       {"text", Utf8(text)},
                       {"icon", IconName(icon)},
                       {"buttons", buttons == MessageButtons::YesNo ? "yesno" : "ok"},
                       {"answer", answerName}});
    return answer;
}

PageOutcome ScriptedPlatform::ShowPage(const PageRequest& page, InspectorContext& context) {
    FactBase& facts = context.facts;
    CheckTimeout();
    nlohmann::json lines = nlohmann::json::array();
    std::string caption;
    if (page.formMode == 1) {
        caption = TrimRight(page.formPage[0]);
        for (int i = 1; i < kPageLines; ++i) {
            lines.push_back(Utf8(TrimRight(page.formPage[static_cast<std::size_t>(i)])));
        }
    } else {
        for (const std::string& label :
             ClosingPageLabels(page.formMode, page.solutionRecord, facts)) {
            lines.push_back(Utf8(TrimRight(label)));
        }
    }
    PageOutcome outcome = PageOutcome::Continue;
    if (timedOut_ || Failed()) {
        outcome = PageOutcome::Abort;
    } else if (auto value = Take("page", "{\"page\":\"weiter\"|\"abbruch\"}")) {
        if (*value == "abbruch") {
            outcome = PageOutcome::Abort;
        } else if (*value != "weiter") {
            scriptError_ = "Antwort in Zeile " + std::to_string(lastLine_) +
                           " passt nicht: " + value->dump() + " ist weder weiter noch abbruch";
            outcome = PageOutcome::Abort;
        }
    } else if (Failed()) {
        outcome = PageOutcome::Abort;
    }
    events_.push_back({{"event", "page"},
                       {"mode", page.formMode},
                       {"caption", Utf8(caption)},
                       {"lines", lines},
                       {"answer", outcome == PageOutcome::Continue ? "weiter" : "abbruch"}});
    return outcome;
}

void ScriptedPlatform::ShowInspector(InspectorReason why, int line, InspectorContext& /*context*/) {
    events_.push_back({{"event", "inspector"}, {"why", ReasonName(why)}, {"line", line}});
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
    if (next.is_object() && next.contains("breakoff") && next.at("breakoff") == true) {
        answers_.pop_front();
        events_.push_back({{"event", "breakoff"}});
        return true;
    }
    return false;
}

void ScriptedPlatform::Beep() {
    events_.push_back({{"event", "beep"}});
}

}  // namespace kelvo
