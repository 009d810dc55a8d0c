#include "engine/start_command.h"

namespace kelvo {

Expected<StartCommandResult> RunStartCommand(KnowledgeBaseImage& image, const ImageLoader& load,
                                             ConsultationConfig config,
                                             ConsultationServices& services,
                                             const StartCommandHooks& hooks) {
    StartCommandResult result;
    bool restart = false;
    do {
        image.ResetRecentStores();
        if (Status loaded = load(image); !loaded) {
            image.ReleaseImage();
            return loaded.error();
        }
        Consultation consultation(image, config, services);
        consultation.printBuffer().ClearPrintBuffer();
        if (hooks.prepare) {
            hooks.prepare(consultation);
        }
        consultation.Run();
        if (hooks.finished) {
            hooks.finished(consultation);
        }
        ++result.consultations;
        result.sessionKey = consultation.SessionKey();
        result.errorLine = consultation.ErrorLine();
        result.breakpointLine = consultation.BreakpointLine();
        result.checkFailed = consultation.CheckFailed();
        config.errorLine = consultation.ErrorLine();
        config.breakpointLine = consultation.BreakpointLine();
        restart = consultation.RestartRequested();
        image.ReleaseImage();
        consultation.printBuffer().Release();
    } while (restart);
    return result;
}

}  // namespace kelvo
