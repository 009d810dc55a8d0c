#pragma once

#include "lint/lint_warning.h"
#include "lint/program_structure.h"

namespace kelvo {

// The checks of the rules among themselves.

/// Rules whose object is neither the goal nor the object of any condition: the search never
/// seeks it, so they never run (warning 2, at the rule line).
LintWarnings CheckRulesNeverSought(const ProgramStructure& program);

/// Objects needed, through the conditions of their rules, to conclude themselves; one warning
/// per circle of objects, at its first rule, naming the lines of one cycle (warning 4). An
/// object a fact line sets is known from the start and breaks no cycle.
LintWarnings CheckCircularRules(const ProgramStructure& program);

/// A rule equal, line by line, to an earlier one (warning 5, at the later rule).
LintWarnings CheckDuplicateRules(const ProgramStructure& program);

/// Conditions that cannot hold together: two groups of a rule that ask the same text object
/// for values "." with no value in common (warning 6, at the later group).
LintWarnings CheckContradictoryConditions(const ProgramStructure& program);

}  // namespace kelvo
