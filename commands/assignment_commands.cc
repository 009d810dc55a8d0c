// The assignment commands ".", "=", ">", "<" and "C".
#include <cmath>
#include <string>

#include "commands/command_handlers.h"
#include "commands/command_variables.h"
#include "commands/variable_command.h"
#include "store/beeper.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

// The text of a stored number without its parentheses, leading blanks and the zeros of the
// decimals that carry nothing: "(          12.500)" gives "12.5", "(          12.000)" "12".
std::string NumberAsText(std::string_view stored) {
    std::string text = TrimLeft(stored.substr(1, 16));
    if (text.ends_with(".000")) {
        text.resize(text.size() - 4);
    } else if (text.ends_with("00")) {
        text.resize(text.size() - 2);
    } else if (text.ends_with("0")) {
        text.resize(text.size() - 1);
    }
    return text;
}

// The stored name of a numeric target "[name]": the inner name upper-cased and padded to 16.
std::string NumericTargetName(std::string target) {
    if (target.ends_with("]") && target.size() <= kStoredNumberWidth) {
        target = "[" + PadRight(ToUpper(target.substr(1, target.size() - 2)), 16) + "]";
    }
    return target;
}

// A value for a numeric target in the numeric form: "7" and "(7)" both give
// "(           7.000)". A value that does not read gives 0.
std::string NumericTargetValue(std::string value) {
    if (!value.starts_with("(")) {
        value = "(" + value + ")";
    }
    const std::string inside =
        value.size() >= 2 && value.ends_with(")") ? value.substr(1, value.size() - 2) : value;
    const std::optional<double> number = ReadNumberText(inside);
    return number ? FormatStoredNumber(*number) : std::string(kStoredZero);
}

}  // namespace

// "." name := the literal operand (for a numeric name, a number already in the numeric form).
void AssignLiteral(VariableLine& line) {
    line.StoreName(line.OperandField());
}

// "=" name := the operand variable, text read as a number or a number written as text.
void CopyConverting(VariableLine& line) {
    const std::optional<std::string> value = line.OperandValue();
    if (!value) {
        line.Fail();
        return;
    }
    if (line.NameIsNumeric() && !line.OperandIsNumeric()) {
        const std::optional<double> number = ReadNumberText(*value);
        if (!line.Store(kConversionErrorName, number ? kConverted : kNotConverted)) {
            return;
        }
        line.StoreName(number ? FormatStoredNumber(*number) : std::string(kStoredZero));
    } else if (!line.NameIsNumeric() && line.OperandIsNumeric() && value->starts_with("(")) {
        line.StoreName(NumberAsText(*value));
    } else {
        line.StoreName(*value);
    }
}

// ">" the variable named by the operand variable's value := the name variable's value. A
// missing name variable counts as an empty text; without a target name nothing is stored.
void StoreIndirectly(VariableLine& line) {
    const std::string value = TrimRight(line.NameValue().value_or(""));
    std::string target = TrimRight(line.OperandValue().value_or(""));
    if (target.empty()) {
        return;  // a blank name would be a fact no lookup can mean
    }
    if (target.starts_with("[")) {
        target = NumericTargetName(std::move(target));
        if (!line.Store(target, NumericTargetValue(value))) {
            return;
        }
    } else if (!line.Store(target, value)) {
        return;
    }
    line.consultation().services().beeper.Beep();
}

// "<" operand variable := the value of the variable named by the name variable's value, or
// that name itself (padded and upper-cased) when there is no such variable.
void LoadIndirectly(VariableLine& line) {
    const std::string name =
        ToUpper(PadRight(TrimRight(line.NameValue().value_or("")), FactBase::kFieldWidth));
    const std::optional<std::string> value = line.ValueOf(name);
    line.Store(line.OperandField(), value ? TrimRight(*value) : name);
}

// "C" the name variable keeps its value and gets the certainty of the operand: a number, a
// numeric variable or a text variable holding a number, its whole part from 0 to 99 (any
// other value gives "00").
void SetCertainty(VariableLine& line) {
    const std::optional<std::string> value = line.NameValue();
    if (!value) {
        return;
    }
    double x = 0.0;
    const char first = line.OperandField()[0];
    if (first == '[' || first == '(') {
        const Consultation::Operand operand = line.NumberOperand();
        if (operand.status == Consultation::Operand::Status::Number) {
            x = std::trunc(operand.number);
        }
    } else if (const std::optional<std::string> text = line.OperandValue()) {
        x = std::trunc(ReadNumberText(*text).value_or(0.0));
    }
    std::string certainty = "00";
    if (x >= 0.0 && x <= 99.0) {
        const int whole = static_cast<int>(x);
        certainty = std::string(1, static_cast<char>('0' + whole / 10)) +
                    static_cast<char>('0' + whole % 10);
    }
    line.Store(line.NameField(), *value, certainty);
}

}  // namespace kelvo
