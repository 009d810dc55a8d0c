#include "app/cli/explain_command.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/cli/cli_command.h"
#include "app/cli/consult_session.h"
#include "app/cli/evidence_json.h"
#include "engine/evidence.h"
#include "engine/evidence_text.h"
#include "store/fact_record.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo::cli {
namespace {

struct ExplainCommandOptions {
    std::string knowledgeBase;
    std::string answers;
    std::string object;
    std::optional<std::string> whyNot;
    std::string module;
    double timeout = 0.0;
    bool json = false;
};

// The explanation of `object` in the consultation that has just ended, as text (UTF-8).
std::string ExplanationText(Consultation& consultation, const std::string& object,
                            const std::optional<std::string>& whyNot) {
    const Evidence& evidence = *consultation.evidence();
    const KnowledgeBaseImage& image = consultation.image();
    std::string text;
    auto add = [&text](const std::string& line) { text += Windows1252ToUtf8(line) + "\n"; };
    int found = 0;
    for (int p = image.FactBoundary() + 1; p <= image.LastRecord(); ++p) {
        if (!FactRecord(image.Text(p)).NameEquals(object)) {
            continue;
        }
        if (found++ > 0) {
            text += "\n";
        }
        for (const std::string& line : ExplainFactLines(evidence, image, p)) {
            add(line);
        }
    }
    if (found == 0) {
        add(TrimRight(object) + ": kein Fakt in der Datenbasis");
    }
    if (whyNot) {
        text += "\n";
        for (const std::string& line :
             WhyNotLines(evidence, image, object, Utf8ToWindows1252(*whyNot))) {
            add(line);
        }
    }
    return text;
}

int RunExplain(const ExplainCommandOptions& command) {
    auto loaded = LoadKnowledgeBase(command.knowledgeBase);
    if (!loaded) {
        std::cerr << loaded.error().message << "\n";
        return kExitFailure;
    }
    for (const std::string& warning : loaded->warnings) {
        std::cerr << warning << "\n";
    }
    ConsultOptions options;
    options.programmingModule = command.module.empty() ? loaded->kind != KnowledgeBaseKind::RunOnly
                                                       : command.module == "programming";
    options.timeout = TimeoutOf(command.timeout);
    options.explain = true;

    std::vector<ScriptedAnswer> answers;
    if (!command.answers.empty()) {
        if (const auto status = ReadScriptFile(command.answers, answers)) {
            return *status;
        }
    }

    // The explanation of the last consultation (a restart runs the knowledge base again).
    std::string text;
    nlohmann::json data;
    options.finished = [&](Consultation& consultation) {
        if (consultation.CheckFailed() || consultation.evidence() == nullptr) {
            text =
                "Die Programmpr\xC3\xBC"
                "fung ist fehlgeschlagen; es gibt keine Datenbasis.\n";
            data = {{"checkFailed", true}};
            return;
        }
        const std::string object = command.object.empty() ? PadRight(consultation.TopGoal(), 30)
                                                          : StoredObjectName(command.object);
        const std::string whyNotValue =
            command.whyNot ? Utf8ToWindows1252(*command.whyNot) : std::string();
        if (command.json) {
            data = ExplainJson(*consultation.evidence(), consultation.image(), object,
                               command.whyNot.has_value(), whyNotValue);
            data["checkFailed"] = false;
        } else {
            text = ExplanationText(consultation, object, command.whyNot);
        }
    };
    const ConsultOutcome outcome = RunScriptedConsultation(*loaded, std::move(answers), options);
    if (command.json) {
        data["exitCode"] = outcome.exitCode;
        std::cout << data.dump(2) << "\n";
    } else {
        std::cout << text;
    }
    if (outcome.internalError) {
        std::cerr << command.knowledgeBase << ": " << *outcome.internalError << "\n";
    }
    if (outcome.scriptError) {
        std::cerr << command.answers << ": " << *outcome.scriptError << "\n";
    }
    if (outcome.timedOut) {
        std::cerr << command.knowledgeBase << ": Zeitlimit von " << command.timeout
                  << " s erreicht; die Sitzung wurde abgebrochen\n";
    }
    return outcome.exitCode;
}

}  // namespace

void AddExplainCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ExplainCommandOptions>();
    CLI::App* command = app.add_subcommand(
        "explain",
        "F\xC3\xBC"
        "hrt eine Sitzung wie consult und zeigt, warum das Ziel (oder ein Objekt) seine Werte "
        "hat: die Herkunft jedes Fakts mit Zeilennummern und der Rechnung der Sicherheiten; "
        "mit --why-not die Regeln, die nicht geschlossen haben. Exit-Status wie consult.");
    command->add_option("KB", options->knowledgeBase, "Wissensbasis (.WBP, .WBB oder .txt)")
        ->required();
    command->add_option("--answers", options->answers,
                        "Antworten, eine JSON-Zeile je Antwort (ohne Angabe: keine)");
    command->add_option("--object", options->object,
                        "das zu erkl\xC3\xA4rende Objekt (ohne Angabe: das Ziel)");
    command->add_option("--why-not", options->whyNot,
                        "die Regeln des Objekts mit diesem Wert, die nicht geschlossen haben "
                        "(leer: alle Werte)");
    command->add_flag("--json", options->json, "die Erkl\xC3\xA4rung als JSON");
    command
        ->add_option("--module", options->module,
                     "programming oder user (ohne Angabe: user f\xC3\xBC"
                     "r .WBB, sonst programming)")
        ->check(CLI::IsMember({"programming", "user"}));
    command
        ->add_option("--timeout", options->timeout,
                     "Zeitlimit in Sekunden; danach wird die Sitzung wie nach einem "
                     "best\xC3\xA4tigten Abbruch beendet")
        ->check(CLI::PositiveNumber);
    command->callback([options, &exitCode] { exitCode = RunExplain(*options); });
}

}  // namespace kelvo::cli
