#pragma once

// `kelvo-cli consult KB --interactive`: the consultation for a person at a terminal, on the
// terminal platform (platform/terminal/), with the start command's loop as in a scripted run.

#include <iosfwd>

#include "app/cli/consult_session.h"

namespace kelvo::cli {

/// Runs the consultation (restarts included) reading the person's input from `in` and writing
/// to `out`. Returns the exit status: 0, or kExitErrorReport when a consultation ended by an
/// error report.
int RunInteractiveConsultation(const LoadedKnowledgeBase& knowledgeBase,
                               const ConsultOptions& options, std::istream& in, std::ostream& out);

}  // namespace kelvo::cli
