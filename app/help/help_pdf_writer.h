#pragma once

#include <filesystem>
#include <vector>

#include "app/help/help_source.h"
#include "store/expected.h"

namespace kelvo {

/// Renders the blocks of a help document to an A4 PDF at `target`: the title, headings,
/// paragraphs, bulleted lists and monospaced blocks, and in each page's footer the title and
/// "Seite n von m". The PDF is written beside the target and renamed over it at the end, so a
/// failure leaves no partial file. Needs a QGuiApplication. Fails, naming the target, when the
/// file cannot be written.
Status WriteHelpPdf(const std::vector<HelpBlock>& blocks, const std::filesystem::path& target);

}  // namespace kelvo
