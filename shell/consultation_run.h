#pragma once

// The one way an executable runs a knowledge base: the start command's loop with the
// consultation set up completely, the variable commands included.

#include <memory>
#include <vector>

#include "engine/consultation.h"
#include "engine/start_command.h"
#include "store/expected.h"
#include "store/knowledge_base_image.h"
#include "store/line_record.h"

namespace kelvo {

/// Runs the start command's loop (restarts included) over `records` with `services`: every
/// consultation gets the variable commands installed before hooks.prepare runs, and the
/// automation's notice of a missing desktop is reset. Each consultation loads a fresh copy of
/// `records` into `image`. Fails when the records do not load, or when a consultation ended
/// through an internal error (a task kind left without its runner).
Expected<StartCommandResult> RunKnowledgeBase(const std::vector<LineRecord>& records,
                                              KnowledgeBaseImage& image,
                                              const ConsultationConfig& config,
                                              ConsultationServices& services,
                                              const StartCommandHooks& hooks);

/// The same, with `image` sharing `records` instead of loading a copy: a consultation copies
/// them only when it changes one of them (the records stay as they are for a restart). A null
/// pointer runs no records.
Expected<StartCommandResult> RunSharedKnowledgeBase(
    std::shared_ptr<const std::vector<LineRecord>> records, KnowledgeBaseImage& image,
    const ConsultationConfig& config, ConsultationServices& services,
    const StartCommandHooks& hooks);

}  // namespace kelvo
