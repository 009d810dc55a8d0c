#include "lint/variable_checks.h"

#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "store/text_field.h"

namespace kelvo {
namespace {

/// A name as an author writes it: a numeric name without the blanks inside its brackets.
std::string Shown(std::string_view name) {
    std::string shown = TrimRight(name);
    if (shown.starts_with('[') && shown.ends_with(']')) {
        shown = "[" + TrimRight(std::string_view(shown).substr(1, shown.size() - 2)) + "]";
    }
    return shown;
}

}  // namespace

LintWarnings CheckConditionObjects(const ProgramStructure& program, const VariableAccess& access) {
    LintWarnings warnings;
    if (!access.unknownWrites.empty()) {
        return warnings;
    }
    for (const RuleLines& rule : program.rules) {
        for (int q : rule.conditions) {
            const std::string object = program.Field(q, 3, 32);
            if (!access.IsWritten(object)) {
                warnings.push_back({q, LintCode::ObjectWithoutSource,
                                    Shown(object) +
                                        " setzt keine Regel, Tatsache, Seite, Berechnung, "
                                        "Variablen- oder Austauschzeile (Fehler 14)"});
            }
        }
    }
    return warnings;
}

LintWarnings CheckVariablesRead(const VariableAccess& access) {
    LintWarnings warnings;
    if (!access.unknownWrites.empty()) {
        return warnings;
    }
    std::set<std::pair<int, std::string>> seen;
    for (const VariableRead& read : access.reads) {
        if (read.position < 0 || access.IsWritten(read.name) ||
            !seen.emplace(read.position, read.name).second) {
            continue;
        }
        warnings.push_back({read.position, LintCode::VariableNeverWritten, Shown(read.name)});
    }
    return warnings;
}

}  // namespace kelvo
