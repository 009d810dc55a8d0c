#include "lint/variable_checks.h"

#include <set>
#include <string>
#include <utility>

#include "store/text_field.h"

namespace kelvo {

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
                                    TrimRight(object) +
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
        warnings.push_back({read.position, LintCode::VariableNeverWritten, TrimRight(read.name)});
    }
    return warnings;
}

}  // namespace kelvo
