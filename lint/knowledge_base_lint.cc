#include "lint/knowledge_base_lint.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "lint/file_checks.h"
#include "lint/lint_silencing.h"
#include "lint/page_checks.h"
#include "lint/program_structure.h"
#include "lint/rule_checks.h"
#include "lint/task_checks.h"
#include "lint/variable_access.h"
#include "lint/variable_checks.h"

namespace kelvo {

LintWarnings LintProgram(std::vector<std::string> lines, const std::string& folder) {
    const ProgramStructure program = ReadProgramStructure(std::move(lines));
    const VariableAccess access = CollectVariableAccess(program);
    LintWarnings all;
    auto add = [&all](LintWarnings found) {
        all.insert(all.end(), std::make_move_iterator(found.begin()),
                   std::make_move_iterator(found.end()));
    };
    add(CheckConditionObjects(program, access));
    add(CheckRulesNeverSought(program));
    add(CheckTasksNeverRun(program, access));
    add(CheckCircularRules(program));
    add(CheckDuplicateRules(program));
    add(CheckContradictoryConditions(program));
    add(CheckPageFieldNames(program));
    add(CheckPageOverflow(program));
    add(CheckMediaLines(program));
    add(CheckVariablesRead(access));
    add(CheckFilesNamed(program, access, folder));
    all = RemoveSilenced(program, std::move(all));
    std::stable_sort(all.begin(), all.end(), [](const LintWarning& a, const LintWarning& b) {
        return std::tie(a.position, a.code) < std::tie(b.position, b.code);
    });
    return all;
}

}  // namespace kelvo
