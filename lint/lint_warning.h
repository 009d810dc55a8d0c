#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// The warnings of the knowledge-base lint: each has a number, which a comment line
// "K lint: aus N" names to silence it, and a short German text (Windows-1252).

enum class LintCode {
    ObjectWithoutSource = 1,  ///< a condition object nothing can give a value
    RuleNeverSought = 2,      ///< a rule whose object is never sought
    TaskNeverRuns = 3,        ///< a task header no rule can produce
    CircularRules = 4,        ///< an object needed, through conditions, to conclude itself
    DuplicateRule = 5,        ///< the same rule twice
    ContradictoryConditions = 6,
    InvalidFieldName = 7,  ///< a page field whose name is invalid stays text
    PageOverflow = 8,      ///< a page longer than a page goes on as a new page
    MisplacedMediaLine = 9,
    VariableNeverWritten = 10,
    MissingFile = 11,
};

/// The number and short text of every warning, in the order of the numbers.
struct LintCatalogueEntry {
    LintCode code;
    std::string_view text;
};

// ORDER: entry k holds warning number k + 1 (checked below).
inline constexpr std::array<LintCatalogueEntry, 11> kLintCatalogue{{
    {LintCode::ObjectWithoutSource, "Bedingungsobjekt erh\xE4lt nirgends einen Wert"},
    {LintCode::RuleNeverSought, "Regelobjekt wird nie gesucht"},
    {LintCode::TaskNeverRuns, "Aufgabe wird nie ausgel\xF6st"},
    {LintCode::CircularRules, "Zirkul\xE4re Regeln"},
    {LintCode::DuplicateRule, "Doppelte Regel"},
    {LintCode::ContradictoryConditions,
     "Widerspr\xFC"
     "chliche Bedingungen"},
    {LintCode::InvalidFieldName, "Ung\xFCltiger Feldname bleibt Text"},
    {LintCode::PageOverflow, "Seite l\xE4nger als eine Seite"},
    {LintCode::MisplacedMediaLine, "Medienzeile an falscher Stelle"},
    {LintCode::VariableNeverWritten, "Variable wird gelesen, aber nie geschrieben"},
    {LintCode::MissingFile, "Datei nicht vorhanden"},
}};

namespace lint_catalogue_checks {
constexpr bool NumberedInOrder() {
    for (std::size_t i = 0; i < kLintCatalogue.size(); ++i) {
        if (static_cast<std::size_t>(kLintCatalogue[i].code) != i + 1) {
            return false;
        }
    }
    return true;
}
}  // namespace lint_catalogue_checks
static_assert(lint_catalogue_checks::NumberedInOrder(), "ORDER: entry k is warning k + 1");

/// The number of a warning.
constexpr int LintNumber(LintCode code) {
    return static_cast<int>(code);
}

/// The short text of a warning (Windows-1252).
std::string_view LintShortText(LintCode code);

/// One warning about one program line.
struct LintWarning {
    int position = 0;  ///< the line it is about, from 0
    LintCode code = LintCode::ObjectWithoutSource;
    std::string detail;  ///< what it is about (Windows-1252); may be empty

    /// "Warnung N: short text: detail" (Windows-1252), without file and line.
    std::string Text() const;
};

/// The warnings found by one check family, in any order.
using LintWarnings = std::vector<LintWarning>;

}  // namespace kelvo
