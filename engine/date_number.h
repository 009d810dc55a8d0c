#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// Date and time numbers of computation lines. A date is the number yyyymm.dd (1 July 2017 is
// 201707.01) and a time of day the number hhnn.ss (14:05:09 is 1405.09). Written as a stored
// number, "(" + 16 characters + ")", a date number has its year in characters 8-11, its month
// in characters 12-13 and its day in characters 15-16:
//
//   (      201707.010)
//   123456789012345678
//
// The calendar is the proleptic Gregorian one, computed here without the C library or a locale.

/// A calendar date: year, month 1-12, day 1-31.
struct CivilDate {
    int year = 1;
    int month = 1;
    int day = 1;

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

/// The first and last year a date may have: a date is written with a four-digit year.
inline constexpr int kFirstDateYear = 1;
inline constexpr int kLastDateYear = 9999;

/// True for a leap year of the Gregorian calendar.
bool IsLeapYear(int year);

/// Days of a month (28 to 31); 0 for a month outside 1-12.
int DaysInMonth(int year, int month);

/// True when the date exists and its year lies in kFirstDateYear to kLastDateYear.
bool IsValidDate(const CivilDate& date);

/// Days from 1 January 1970 to `date` (negative before it). Valid for any date the calendar
/// rules give, including ones outside the four-digit years.
std::int64_t DaysFromCivil(const CivilDate& date);

/// The date `days` days after 1 January 1970 (the inverse of DaysFromCivil).
CivilDate CivilFromDays(std::int64_t days);

/// The date `days` whole days after `date` (before it for a negative count; a fraction of a
/// day is dropped towards the earlier date). Empty when the result is not a valid date.
std::optional<CivilDate> AddDays(const CivilDate& date, double days);

/// The number yyyymm.dd of a date: the digits of year, month, "." and day, read as a decimal.
double DateNumber(const CivilDate& date);

/// The number hhnn.ss of a time of day: the digits of hours, minutes, "." and seconds.
double TimeNumber(int hour, int minute, int second);

/// Reads the date held in the text of a stored date number: "dd.mm.yyyy" built from its
/// characters 15-16, 12-13 and 8-11. Empty when the text is too short, one of those characters
/// is not a digit, or the date does not exist (a month 13, a 30 February, the year 0).
std::optional<CivilDate> ReadDateNumberText(std::string_view storedNumber);

}  // namespace kelvo
