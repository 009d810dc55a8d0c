#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/date_number.h"

namespace kelvo {

// Dates and times written as text, read and written without the process locale.
//
// A date is day "." month "." year: day and month with one or two digits, the year with four
// digits, and the date must exist in the calendar (years 1 to 9999). A two-digit year is not
// read: its century would be a guess. A time is hours ":" minutes, optionally ":" seconds,
// each with one or two digits (hours 0-23, minutes and seconds 0-59); without seconds they are
// 0. Blanks before and after the text are allowed, nothing else.

/// A time of day.
struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

/// Reads a date text; empty when it is not one of the forms above or the date does not exist.
std::optional<CivilDate> ParseDateText(std::string_view text);

/// Reads a time text; empty when it is not one of the forms above.
std::optional<ClockTime> ParseTimeText(std::string_view text);

/// "dd.mm.yyyy".
std::string FormatDateText(const CivilDate& date);

/// "hh:mm:ss".
std::string FormatTimeText(const ClockTime& time);

}  // namespace kelvo
