#pragma once

#include <string>
#include <vector>

#include "lint/lint_warning.h"

namespace kelvo {

/// Lints a whole program: `lines` are its stored lines (Windows-1252, normalized as the
/// grammar stores them), `folder` the knowledge base's folder (UTF-8) where the files it names
/// in writing must lie; an empty folder skips that check. Returns the warnings no comment
/// silences, in line order (and by number within a line); empty when nothing is found.
LintWarnings LintProgram(std::vector<std::string> lines, const std::string& folder);

}  // namespace kelvo
