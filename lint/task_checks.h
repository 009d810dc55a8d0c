#pragma once

#include "lint/lint_warning.h"
#include "lint/program_structure.h"
#include "lint/variable_access.h"

namespace kelvo {

/// Task headers whose object and value no rule concludes (warning 3, at the header): tasks
/// run only for facts a rule concludes (and for the goal's facts), never for a fact line, an
/// answer or a command. A header on the goal object counts as reachable by any write of it.
LintWarnings CheckTasksNeverRun(const ProgramStructure& program, const VariableAccess& access);

}  // namespace kelvo
