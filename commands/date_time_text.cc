#include "commands/date_time_text.h"

#include <vector>

#include "store/text_field.h"

namespace kelvo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Splits `text` at `separator` into fields of digits; empty when a field is empty, holds
// anything but digits, or is shorter or longer than its widths (one entry per field).
std::optional<std::vector<int>> DigitFields(std::string_view text, char separator,
                                            const std::vector<std::size_t>& minWidths,
                                            const std::vector<std::size_t>& maxWidths) {
    std::vector<int> fields;
    std::size_t start = 0;
    for (std::size_t f = 0; f < maxWidths.size(); ++f) {
        const std::size_t end =
            f + 1 < maxWidths.size() ? text.find(separator, start) : text.size();
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view field = text.substr(start, end - start);
        if (field.size() < minWidths[f] || field.size() > maxWidths[f]) {
            return std::nullopt;
        }
        int value = 0;
        for (char c : field) {
            if (!IsDigit(c)) {
                return std::nullopt;
            }
            value = value * 10 + (c - '0');
        }
        fields.push_back(value);
        start = end + 1;
    }
    return fields;
}

std::string TwoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10 % 10),
                       static_cast<char>('0' + value % 10)};
}

}  // namespace

std::optional<CivilDate> ParseDateText(std::string_view text) {
    const std::string trimmed = TrimLeft(TrimRight(text));
    const std::optional<std::vector<int>> fields = DigitFields(trimmed, '.', {1, 1, 4}, {2, 2, 4});
    if (!fields) {
        return std::nullopt;
    }
    const CivilDate date{(*fields)[2], (*fields)[1], (*fields)[0]};
    if (!IsValidDate(date)) {
        return std::nullopt;
    }
    return date;
}

std::optional<ClockTime> ParseTimeText(std::string_view text) {
    const std::string trimmed = TrimLeft(TrimRight(text));
    std::optional<std::vector<int>> fields = DigitFields(trimmed, ':', {1, 1, 1}, {2, 2, 2});
    if (!fields) {
        fields = DigitFields(trimmed, ':', {1, 1}, {2, 2});
        if (!fields) {
            return std::nullopt;
        }
        fields->push_back(0);
    }
    const ClockTime time{(*fields)[0], (*fields)[1], (*fields)[2]};
    if (time.hour > 23 || time.minute > 59 || time.second > 59) {
        return std::nullopt;
    }
    return time;
}

std::string FormatDateText(const CivilDate& date) {
    const int year = date.year;
    return TwoDigits(date.day) + "." + TwoDigits(date.month) + "." + TwoDigits(year / 100) +
           TwoDigits(year % 100);
}

std::string FormatTimeText(const ClockTime& time) {
    return TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
}

}  // namespace kelvo
