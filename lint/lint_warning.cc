#include "lint/lint_warning.h"

namespace kelvo {

std::string_view LintShortText(LintCode code) {
    return kLintCatalogue[static_cast<std::size_t>(LintNumber(code) - 1)].text;
}

std::string LintWarning::Text() const {
    std::string text = "Warnung " + std::to_string(LintNumber(code)) + ": ";
    text += LintShortText(code);
    if (!detail.empty()) {
        text += ": " + detail;
    }
    return text;
}

}  // namespace kelvo
