#include "fuzz/bounded_consultation.h"

#include "app/cli/consult_session.h"
#include "engine/consultation.h"
#include "fuzz/bounded_session.h"
#include "platform/database/database_files.h"
#include "platform/scripted/scripted_automation.h"
#include "platform/scripted/scripted_printer.h"
#include "shell/consultation_run.h"
#include "store/knowledge_base_image.h"
#include "store/random_source.h"

namespace kelvo {

int RunBoundedConsultation(const std::vector<LineRecord>& records,
                           std::vector<ScriptedAnswer> answers, const BoundedRunOptions& options) {
    ScriptedPlatform platform(std::move(answers), ScriptedOptions{});
    BoundedSession session(platform, options.steps);
    SeededRandomSource random(1);
    ConsultationServices services{session, session, platform, random, platform};
    services.clipboard = &platform;
    services.media = &platform;
    services.fileDialogs = &platform;
    services.shell = &platform;
    ScriptedPrinter printer(platform, ScriptedPrinterOptions{});
    services.printer = &printer;
    DatabaseFiles database;
    services.database = &database;
    ScriptedAutomation automation(platform, platform, ScriptedScreenOptions{});
    services.automation = &automation;

    ConsultationConfig config;
    config.programmingModule = options.programmingModule;
    config.breakpointLine = options.breakpointLine;
    KnowledgeBaseImage image(options.programmingModule);
    int consultations = 0;
    StartCommandHooks hooks;
    hooks.finished = [&](Consultation& consultation) {
        ++consultations;
        if (session.Spent() || consultations >= options.consultations) {
            consultation.SetRestartRequested(false);
        }
    };
    (void)RunKnowledgeBase(records, image, config, services, hooks);
    return consultations;
}

std::vector<ScriptedAnswer> AnswersOf(std::string_view text) {
    auto answers = cli::ParseAnswers(text, "fuzz.jsonl");
    if (!answers) {
        return {};
    }
    return std::move(*answers);
}

}  // namespace kelvo
