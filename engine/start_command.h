#pragma once

#include <functional>

#include "engine/consultation.h"
#include "store/expected.h"

namespace kelvo {

/// Loads the knowledge base into the image; called before each consultation of a start.
using ImageLoader = std::function<Status(KnowledgeBaseImage& image)>;

/// Called for each consultation: `prepare` before it runs (to install task runners),
/// `finished` after it ended, while its image still holds the fact base.
struct StartCommandHooks {
    std::function<void(Consultation&)> prepare;
    std::function<void(Consultation&)> finished;
};

/// What the start command leaves behind.
struct StartCommandResult {
    int consultations = 0;   ///< how many consultations ran (restarts included)
    int sessionKey = 0;      ///< SessionKey of the last one
    int errorLine = 0;       ///< ErrorLine after the last one
    int breakpointLine = 0;  ///< the breakpoint, as the inspector may have deleted it
    bool checkFailed = false;
};

/// The start command's loop: reset RecentStores, load the image, run one consultation, release
/// the image; again from a fresh image as long as a consultation asks for a restart. Fails
/// only when loading fails.
Expected<StartCommandResult> RunStartCommand(KnowledgeBaseImage& image, const ImageLoader& load,
                                             ConsultationConfig config,
                                             ConsultationServices& services,
                                             const StartCommandHooks& hooks);

}  // namespace kelvo
