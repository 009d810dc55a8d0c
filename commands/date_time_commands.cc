// The date and time conversions "D" and "Z". A numeric name variable receives the number of
// the operand's text, a text name variable the text of the operand's number; each stores
// "+KELVO_KONVERTIERFEHLER" first.
#include <string>

#include "commands/command_handlers.h"
#include "commands/command_variables.h"
#include "commands/date_time_text.h"
#include "commands/variable_command.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

// Characters `from` to `to` (counted from 1) of a stored number padded to its 18 characters.
std::string Characters(std::string_view stored, std::size_t from, std::size_t to) {
    return PadRight(stored, kStoredNumberWidth).substr(from - 1, to - from + 1);
}

// Stores the outcome, then the result under the name variable.
void StoreConversion(VariableLine& line, bool converted, std::string_view result) {
    if (line.Store(kConversionErrorName, converted ? kConverted : kNotConverted)) {
        line.StoreName(PadRight(result, FactBase::kFieldWidth));
    }
}

}  // namespace

// "D" date text to the number yyyymm.dd, or such a number to the text "dd.mm.yyyy".
void ConvertDate(VariableLine& line) {
    const std::optional<std::string> value = line.OperandValue();
    if (!value) {
        line.Fail();
        return;
    }
    if (line.NameIsNumeric()) {
        const std::optional<CivilDate> date = ParseDateText(*value);
        if (!date) {
            StoreConversion(line, false, kStoredZero);
            return;
        }
        const std::string text = FormatDateText(*date);
        StoreConversion(
            line, true,
            "(      " + text.substr(6, 4) + text.substr(3, 2) + "." + text.substr(0, 2) + "0)");
        return;
    }
    const std::string text = Characters(*value, 15, 16) + "." + Characters(*value, 12, 13) + "." +
                             Characters(*value, 8, 11);
    // Characters 2-7 of a date number are blanks; a longer or negative number whose
    // characters 8-16 happen to look like a date is none.
    const bool converted = Characters(*value, 2, 7) == "      " && ParseDateText(text).has_value();
    StoreConversion(line, converted, ToLower(converted ? text : " "));
}

// "Z" time text to the number hhmm.ss, or such a number to the text "hh:mm:ss".
void ConvertTime(VariableLine& line) {
    const std::optional<std::string> value = line.OperandValue();
    if (!value) {
        line.Fail();
        return;
    }
    if (line.NameIsNumeric()) {
        const std::optional<ClockTime> time = ParseTimeText(*value);
        StoreConversion(
            line, time.has_value(),
            time ? FormatStoredNumber(time->hour * 100 + time->minute + time->second / 100.0)
                 : std::string(kStoredZero));
        return;
    }
    std::string digits = Characters(*value, 10, 13);
    std::replace(digits.begin(), digits.end(), ' ', '0');
    const std::string text =
        digits.substr(0, 2) + ":" + digits.substr(2, 2) + ":" + Characters(*value, 15, 16);
    const bool converted = ParseTimeText(text).has_value();
    StoreConversion(line, converted, ToLower(converted ? text : " "));
}

}  // namespace kelvo
