#include "lint/lint_silencing.h"

#include <algorithm>
#include <string>

#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

bool SilencedAbove(const ProgramStructure& program, int position, int number) {
    for (int k = position - 1; k >= 0 && program.Kind(k) == 'K'; --k) {
        const std::vector<int> numbers =
            SilencedNumbers(program.lines[static_cast<std::size_t>(k)]);
        if (std::find(numbers.begin(), numbers.end(), number) != numbers.end()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<int> SilencedNumbers(std::string_view line) {
    if (line.size() < 2 || line[0] != 'K' || line[1] != ' ') {
        return {};
    }
    // comment -> "K" blanks "lint:" blanks "aus" (blanks|",")* number ((blanks|",")+ number)*
    const std::string text = ToUpper(TrimLeft(TrimRight(line.substr(2))));
    std::string_view rest = text;
    if (!rest.starts_with("LINT:")) {
        return {};
    }
    rest.remove_prefix(5);
    rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
    if (!rest.starts_with("AUS") || (rest.size() > 3 && rest[3] != ' ')) {
        return {};
    }
    rest.remove_prefix(3);
    std::vector<int> numbers;
    std::size_t i = 0;
    while (i < rest.size()) {
        if (rest[i] == ' ' || rest[i] == ',') {
            ++i;
            continue;
        }
        int number = 0;
        std::size_t digits = 0;
        while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9' && digits < 4) {
            number = number * 10 + (rest[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || (i < rest.size() && rest[i] != ' ' && rest[i] != ',')) {
            return {};  // not a list of numbers: an ordinary comment
        }
        numbers.push_back(number);
    }
    return numbers;
}

LintWarnings RemoveSilenced(const ProgramStructure& program, LintWarnings warnings) {
    std::erase_if(warnings, [&](const LintWarning& warning) {
        const int number = LintNumber(warning.code);
        const int unit = program.unitStart[static_cast<std::size_t>(warning.position)];
        return SilencedAbove(program, warning.position, number) ||
               (unit != warning.position && SilencedAbove(program, unit, number));
    });
    return warnings;
}

}  // namespace kelvo
