#pragma once

// A knowledge base run the way `kelvo-cli consult` runs it — the start command's loop with
// every variable command, the scripted printer, screen and database files — but bounded: the
// engine gets a fixed budget of steps (BoundedSession) and no restart follows once it is spent.

#include <string_view>
#include <vector>

#include "platform/scripted/scripted_platform.h"
#include "store/line_record.h"

namespace kelvo {

/// How a bounded run is set up.
struct BoundedRunOptions {
    bool programmingModule = true;
    int breakpointLine = 0;
    int steps = 20000;
    /// The consultations the start command's loop may run, restarts included.
    int consultations = 3;
};

/// Runs `records` with `answers` (a non-strict script: running out continues pages and
/// answers "no"). Returns the number of consultations that ran; nothing that happens inside
/// is an error of the run.
int RunBoundedConsultation(const std::vector<LineRecord>& records,
                           std::vector<ScriptedAnswer> answers, const BoundedRunOptions& options);

/// The answers of a JSON Lines text as the answers reader takes them; none when it refuses
/// the text.
std::vector<ScriptedAnswer> AnswersOf(std::string_view text);

}  // namespace kelvo
