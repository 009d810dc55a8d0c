#pragma once

#include <string>

#include "lint/lint_warning.h"
#include "lint/program_structure.h"
#include "lint/variable_access.h"

namespace kelvo {

/// Files named in writing that are not beside the knowledge base (warning 11, at the line that
/// uses the file): the file-name variable of an exchange line of a read block, of a media line
/// of a page or of a picture line of a printout, where every write of that variable is a
/// written text (a fact line or an assignment "."). Names the run builds, names with a drive,
/// and programs that may create files at run time (copies, moves, text files, started
/// programs, a new knowledge base) make the check say nothing. `folder` is the knowledge
/// base's folder (UTF-8); empty: no check.
LintWarnings CheckFilesNamed(const ProgramStructure& program, const VariableAccess& access,
                             const std::string& folder);

}  // namespace kelvo
