#pragma once

#include "lint/lint_warning.h"
#include "lint/program_structure.h"

namespace kelvo {

// The checks of the pages of display tasks and of media lines.

/// Field descriptions that stay text (warning 7, at the text line): names that are invalid,
/// and fields written in a page's caption.
LintWarnings CheckPageFieldNames(const ProgramStructure& program);

/// Text bodies longer than one page: the text line that becomes the caption of a further page
/// (warning 8).
LintWarnings CheckPageOverflow(const ProgramStructure& program);

/// Media lines no page or printout shows (warning 9): after a full page (error 13), first in
/// the body of an action line (which then shows nothing), or outside every text body.
LintWarnings CheckMediaLines(const ProgramStructure& program);

}  // namespace kelvo
