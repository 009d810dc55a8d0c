// The text commands "+", "-", "K", "G", "L", "S", "B", "A" and "Ü".
#include <algorithm>
#include <array>
#include <string>

#include "commands/command_handlers.h"
#include "commands/command_variables.h"
#include "commands/text_similarity.h"
#include "commands/variable_command.h"
#include "store/field_substitution.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

// Appends `appended` (or a line break for "<RETURN>") to the trimmed name variable, after the
// blanks "[+LEERZEICHEN    ]" asks for; the count is reset to 0 by every append.
void Append(VariableLine& line, std::string_view appended, double blanks) {
    std::string text = TrimRight(line.NameValue().value_or(""));
    // A "++" value longer than the image can hold is refused by the store anyway; the cap
    // only keeps an absurd count from allocating more than that.
    const double room = 30.0 * static_cast<double>(line.consultation().image().ImageCapacity());
    text.append(static_cast<std::size_t>(std::min(blanks, room)), ' ');
    if (ToUpper(TrimRight(appended)) == "<RETURN>") {
        text += "\r\n";
    } else {
        text += appended;
    }
    line.StoreName(text);
}

// The count of "[+LEERZEICHEN    ]", which is reset to 0 when it exists; 0 when it does not.
double TakeBlankCount(VariableLine& line) {
    if (!line.facts().LookupFact(PadRight(kBlankCountName, FactBase::kFieldWidth))) {
        return 0.0;
    }
    const double count = line.CountOf(kBlankCountName);
    line.Store(kBlankCountName, FormatStoredNumber(0.0));
    return count;
}

}  // namespace

// "+" name := trimmed name + blanks + the operand variable's value (or a line break).
void AppendVariable(VariableLine& line) {
    const double blanks = TakeBlankCount(line);
    const std::optional<std::string> value = line.OperandValue();
    if (!value) {
        line.Fail();
        return;
    }
    Append(line, *value, blanks);
}

// "-" name := trimmed name + blanks + the literal operand (or a line break).
void AppendLiteral(VariableLine& line) {
    const double blanks = TakeBlankCount(line);
    Append(line, line.OperandField(), blanks);
}

// "K" name := the operand variable in lower case.
void LowerCase(VariableLine& line) {
    if (const std::optional<std::string> value = line.OperandValue()) {
        line.StoreName(ToLower(*value));
    } else {
        line.Fail();
    }
}

// "G" name := the operand variable in upper case.
void UpperCase(VariableLine& line) {
    if (const std::optional<std::string> value = line.OperandValue()) {
        line.StoreName(ToUpper(*value));
    } else {
        line.Fail();
    }
}

// "L" name := the length of the operand variable's trimmed value.
void TextLength(VariableLine& line) {
    if (const std::optional<std::string> value = line.OperandValue()) {
        line.StoreName(FormatStoredNumber(static_cast<double>(TrimRight(*value).size())));
    } else {
        line.Fail();
    }
}

// "S" name := a part of the operand variable. Of a number, the w characters ending after d
// decimals (cut, not rounded); of a text, d characters from character w. w and d are the
// counts of "[+SYSTEM_VAR_0001]" and "[+SYSTEM_VAR_0002]".
void PartOfText(VariableLine& line) {
    const std::optional<std::string> value = line.OperandValue();
    if (!value) {
        line.Fail();
        return;
    }
    double w = line.CountOf(kSystemVar1Name);
    double d = line.CountOf(kSystemVar2Name);
    if (line.OperandIsNumeric()) {
        // The 16 characters of a stored number: the integer part ends at 12, the point is 13,
        // the decimals are 14 to 16. Entry d is where d decimals end.
        constexpr std::array<std::size_t, 4> kEndOfDecimals{12, 14, 15, 16};
        const auto decimals = static_cast<std::size_t>(std::min(d, 3.0));
        const std::size_t end = kEndOfDecimals[decimals];
        const auto width = static_cast<std::size_t>(std::min(w, static_cast<double>(end)));
        const std::string trimmed = TrimRight(*value);
        // Defensive: a value not in the numeric form is read as if padded to 16.
        const std::string digits = PadRight(
            trimmed.size() >= 2 ? std::string_view(trimmed).substr(1, trimmed.size() - 2) : "", 16);
        line.StoreName(PadRight(digits.substr(end - width, width), FactBase::kFieldWidth));
        return;
    }
    const double start = std::max(w, 1.0) - 1.0;
    if (start >= static_cast<double>(value->size())) {
        line.StoreName("");
        return;
    }
    const auto from = static_cast<std::size_t>(start);
    const auto length =
        static_cast<std::size_t>(std::min(d, static_cast<double>(value->size() - from)));
    line.StoreName(value->substr(from, length));
}

// "B" finds the trimmed name variable in the trimmed operand variable, without regard to
// case: "[+SYSTEM_VAR_0001]" := 1 and "[+SYSTEM_VAR_0002]" := the position, or both 0.
void SearchText(VariableLine& line) {
    const std::optional<std::string> sought = line.NameValue();
    const std::optional<std::string> searched = line.OperandValue();
    if (!sought || !searched) {
        line.Fail();
        return;
    }
    const std::string k = ToUpper(TrimRight(*sought));
    const std::string s = ToUpper(TrimRight(*searched));
    if (!line.Store(kSystemVar1Name, FormatStoredNumber(0.0)) ||
        !line.Store(kSystemVar2Name, FormatStoredNumber(0.0))) {
        return;
    }
    for (std::size_t p = 0; p < s.size(); ++p) {
        if (s.compare(p, k.size(), k) == 0 && p + k.size() <= s.size()) {
            if (line.Store(kSystemVar1Name, FormatStoredNumber(1.0))) {
                line.Store(kSystemVar2Name, FormatStoredNumber(static_cast<double>(p + 1)));
            }
            return;
        }
    }
}

// "A" "[+AEHNLICH       ]" := TextSimilarity(name variable, operand variable).
void CompareTexts(VariableLine& line) {
    const std::optional<std::string> a = line.NameValue();
    const std::optional<std::string> b = line.OperandValue();
    if (!a || !b) {
        line.Fail();
        return;
    }
    line.Store(kSimilarityName, FormatStoredNumber(TextSimilarity(*a, *b, line.facts())));
}

// "Ü" name := the operand variable's trimmed value with its variable fields filled in.
void SubstituteVariables(VariableLine& line) {
    if (const std::optional<std::string> value = line.OperandValue()) {
        line.StoreName(SubstituteFields(TrimRight(*value), line.facts()));
    } else {
        line.Fail();
    }
}

}  // namespace kelvo
