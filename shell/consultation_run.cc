#include "shell/consultation_run.h"

#include "commands/install_variable_commands.h"
#include "platform/automation.h"

namespace kelvo {

Expected<StartCommandResult> RunKnowledgeBase(const std::vector<LineRecord>& records,
                                              KnowledgeBaseImage& image,
                                              const ConsultationConfig& config,
                                              ConsultationServices& services,
                                              const StartCommandHooks& hooks) {
    return RunSharedKnowledgeBase(std::make_shared<const std::vector<LineRecord>>(records), image,
                                  config, services, hooks);
}

Expected<StartCommandResult> RunSharedKnowledgeBase(
    std::shared_ptr<const std::vector<LineRecord>> records, KnowledgeBaseImage& image,
    const ConsultationConfig& config, ConsultationServices& services,
    const StartCommandHooks& hooks) {
    const ImageLoader loader = [&records](KnowledgeBaseImage& target) -> Status {
        // Every consultation starts from the records as loaded; a change copies them.
        auto loaded = target.LoadImage(records);
        if (!loaded) {
            return loaded.error();
        }
        return Status{};
    };
    bool internalError = false;
    StartCommandHooks complete;
    complete.prepare = [&](Consultation& consultation) {
        InstallVariableCommands(consultation);
        if (services.automation != nullptr) {
            services.automation->ResetUnavailableNotice();
        }
        if (hooks.prepare) {
            hooks.prepare(consultation);
        }
    };
    complete.finished = [&](Consultation& consultation) {
        if (consultation.LastErrorCode() == kInternalErrorCode) {
            internalError = true;
            consultation.SetRestartRequested(false);
        }
        if (hooks.finished) {
            hooks.finished(consultation);
        }
    };
    auto result = RunStartCommand(image, loader, config, services, complete);
    if (!result) {
        return result.error();
    }
    if (internalError) {
        return Error{
            "Interner Fehler: eine Konsultation wurde beendet, weil eine Aufgabenart ohne "
            "Ausf\xC3\xBChrung blieb"};
    }
    return result;
}

}  // namespace kelvo
