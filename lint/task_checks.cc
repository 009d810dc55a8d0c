#include "lint/task_checks.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "store/text_field.h"

namespace kelvo {

LintWarnings CheckTasksNeverRun(const ProgramStructure& program, const VariableAccess& access) {
    // The conclusions of the rules by object: operator and value.
    std::unordered_map<std::string, std::vector<std::pair<char, std::string>>> conclusions;
    for (const RuleLines& rule : program.rules) {
        const std::string& line = program.lines[static_cast<std::size_t>(rule.line)];
        conclusions[program.Field(rule.line, 3, 32)].emplace_back(line[38],
                                                                  program.Field(rule.line, 41, 70));
    }
    LintWarnings warnings;
    for (int header : program.taskHeaders) {
        const std::string object = program.Field(header, 3, 32);
        const char op = program.lines[static_cast<std::size_t>(header)][38];
        const std::string value = program.Field(header, 41, 70);
        if (object == program.topGoal && access.IsWritten(object)) {
            continue;
        }
        bool produced = false;
        if (const auto found = conclusions.find(object); found != conclusions.end()) {
            for (const auto& [ruleOp, ruleValue] : found->second) {
                if (op != '.' || ruleOp != '.' || ruleValue == value) {
                    produced = true;
                    break;
                }
            }
        }
        if (produced) {
            continue;
        }
        std::string detail =
            "keine Regel schlie\xDF"
            "t " +
            TrimRight(object);
        if (op == '.') {
            detail += " . \"" + TrimRight(value) + "\"";
        }
        if (access.IsWritten(object)) {
            detail += " (Aufgaben folgen nur auf Regelschl\xFCsse)";
        }
        warnings.push_back({header, LintCode::TaskNeverRuns, std::move(detail)});
    }
    return warnings;
}

}  // namespace kelvo
