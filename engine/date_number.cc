#include "engine/date_number.h"

#include <cmath>
#include <cstdio>

#include "store/stored_number.h"

namespace kelvo {
namespace {

// Reads `count` decimal digits of `text` from `first` (0-based); -1 when one is not a digit.
int ReadDigits(std::string_view text, std::size_t first, std::size_t count) {
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

double ReadNumberText(const char* text) {
    // The text is made of digits and one point here, so it always reads.
    return ParseDecimalNumber(text).value_or(0.0);
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return IsLeapYear(year) ? 29 : 28;
        default:
            return 0;
    }
}

bool IsValidDate(const CivilDate& date) {
    return date.year >= kFirstDateYear && date.year <= kLastDateYear && date.month >= 1 &&
           date.month <= 12 && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

// Counts in eras of 400 years (146097 days), each starting on 1 March, so that the leap day
// is the last day of its year: day of year from the month by (153 * m + 2) / 5 with March as
// month 0.
std::int64_t DaysFromCivil(const CivilDate& date) {
    const std::int64_t year = date.month <= 2 ? std::int64_t{date.year} - 1 : date.year;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;                                     // 0-399
    const std::int64_t shiftedMonth = date.month > 2 ? date.month - 3 : date.month + 9;  // 0-11
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + date.day - 1;          // 0-365
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;  // 719468: days from 1 March 0000 to 1 January 1970
}

CivilDate CivilFromDays(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;  // 0-146096
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // 0-399
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0-11, March first
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

std::optional<CivilDate> AddDays(const CivilDate& date, double days) {
    if (!IsValidDate(date) || !std::isfinite(days)) {
        return std::nullopt;
    }
    const double whole = std::floor(days);
    // The four-digit years span fewer than 3.7 million days; anything further is out of range
    // and must not reach the integer conversion.
    constexpr double kLimit = 4'000'000.0;
    if (whole < -kLimit || whole > kLimit) {
        return std::nullopt;
    }
    const CivilDate result = CivilFromDays(DaysFromCivil(date) + static_cast<std::int64_t>(whole));
    if (!IsValidDate(result)) {
        return std::nullopt;
    }
    return result;
}

double DateNumber(const CivilDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d.%02d", date.year, date.month, date.day);
    return ReadNumberText(text);
}

double TimeNumber(int hour, int minute, int second) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d.%02d", hour, minute, second);
    return ReadNumberText(text);
}

std::optional<CivilDate> ReadDateNumberText(std::string_view storedNumber) {
    if (storedNumber.size() < 16) {
        return std::nullopt;
    }
    // Characters 8-11, 12-13 and 15-16 of the text.
    const CivilDate date{ReadDigits(storedNumber, 7, 4), ReadDigits(storedNumber, 11, 2),
                         ReadDigits(storedNumber, 14, 2)};
    if (!IsValidDate(date)) {  // also rejects the -1 of a character that is not a digit
        return std::nullopt;
    }
    return date;
}

}  // namespace kelvo
