#pragma once

#include <string_view>
#include <vector>

#include "lint/lint_warning.h"
#include "lint/program_structure.h"

namespace kelvo {

// Silencing an intended warning: a comment line "K lint: aus N" directly above the line the
// warning is about names its number; several numbers may follow, separated by blanks or
// commas ("K lint: aus 1, 10"), and several such comment lines may stand one above the other.
// A comment cannot stand between a rule and its conditions or inside a task's body without
// changing the program, so a comment above a rule or a task header also covers the lines of
// its conditions or its body.

/// The warning numbers a stored comment line silences; empty for any other line.
std::vector<int> SilencedNumbers(std::string_view line);

/// `warnings` without those a comment silences.
LintWarnings RemoveSilenced(const ProgramStructure& program, LintWarnings warnings);

}  // namespace kelvo
