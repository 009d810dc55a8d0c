#pragma once

#include "lint/lint_warning.h"
#include "lint/program_structure.h"
#include "lint/variable_access.h"

namespace kelvo {

// The checks of what nothing writes. Where some line stores into a variable whose name only
// the run knows, neither check says anything.

/// Condition objects that no line can give a value (warning 1, at the condition line): the
/// search would end with error 14.
LintWarnings CheckConditionObjects(const ProgramStructure& program, const VariableAccess& access);

/// Variables a line needs (operands, page fields that show them, print texts) that no line
/// writes (warning 10, at the reading line).
LintWarnings CheckVariablesRead(const VariableAccess& access);

}  // namespace kelvo
