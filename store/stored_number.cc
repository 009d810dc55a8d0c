#include "store/stored_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "store/text_field.h"

namespace kelvo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// decimal -> [sign] (digits ["." digits*] | "." digits) [("e"|"E") [sign] digits]
bool HasDecimalShape(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            ++i;
        }
        std::size_t exponent = 0;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++exponent;
        }
        if (exponent == 0) {
            return false;
        }
    }
    return i == s.size();
}

}  // namespace

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

std::string FormatStoredNumber(double value) {
    const double thousandths = std::nearbyint(value * 1000.0);
    double rounded = thousandths / 1000.0;
    if (rounded == 0.0) {
        rounded = 0.0;  // turns -0.0 into 0.0: no "-0.000"
    }
    // Below 10^15 thousandths the value printed with three decimals is exactly the whole
    // number of thousandths, so it is written from that without the C library.
    constexpr double kExact = 1e15;
    if (std::fabs(thousandths) < kExact) {
        const auto whole = static_cast<long long>(thousandths);
        const unsigned long long magnitude = whole < 0
                                                 ? 0ULL - static_cast<unsigned long long>(whole)
                                                 : static_cast<unsigned long long>(whole);
        char digits[32];
        char* end = std::to_chars(std::begin(digits), std::end(digits), magnitude / 1000).ptr;
        const auto part = static_cast<unsigned>(magnitude % 1000);
        *end++ = '.';
        *end++ = static_cast<char>('0' + part / 100);
        *end++ = static_cast<char>('0' + part / 10 % 10);
        *end++ = static_cast<char>('0' + part % 10);
        const auto count = static_cast<std::size_t>(end - digits);
        const std::size_t length = count + (whole < 0 ? 1 : 0);
        // "(", blanks up to 16, the sign, the digits, ")": put together in place.
        char text[48];
        std::size_t at = 0;
        text[at++] = '(';
        for (std::size_t blank = length; blank < 16; ++blank) {
            text[at++] = ' ';
        }
        if (whole < 0) {
            text[at++] = '-';
        }
        std::copy_n(digits, count, text + at);
        at += count;
        text[at++] = ')';
        return std::string(text, at);
    }
    char buffer[400];
    const int n = std::snprintf(buffer, sizeof buffer, "(%16.3f)", rounded);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string FormatWholeNumber(double value) {
    // Every whole double below 2^63 converts exactly, and its decimal digits are what "%.0f"
    // writes.
    constexpr double kExact = 9.2e18;
    if (std::fabs(value) < kExact && value == std::nearbyint(value) &&
        (value != 0.0 || !std::signbit(value))) {
        char digits[32];
        const auto end =
            std::to_chars(std::begin(digits), std::end(digits), static_cast<long long>(value)).ptr;
        return std::string(digits, end);
    }
    char buffer[400];
    const int n = std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

namespace {

// A decimal without exponent of at most 15 digits ([sign] digits ["." digits*] | [sign] "."
// digits), read in one pass without the C library: its digits make a whole number below 2^53
// and its scale a power of ten below 10^16, both exact as doubles, so their quotient is the
// correctly rounded value that from_chars gives too. Empty for anything else, which is left to
// the general reading.
std::optional<double> ShortDecimal(std::string_view text) {
    static constexpr std::array<double, 16> kScale = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        i = 1;
    }
    std::uint64_t whole = 0;
    std::size_t digits = 0;
    std::size_t decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (IsDigit(c) && digits < kScale.size() - 1) {
            whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
            ++digits;
            decimals += point ? 1 : 0;
        } else {
            return std::nullopt;  // an exponent, more digits or another character
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    const double value = static_cast<double>(whole) / kScale[decimals];
    return negative ? -value : value;
}

// A value as FormatStoredNumber writes it: "(" in column 1, ")" in column 18, blanks behind
// and a short decimal with blanks before it between them. Read without the scans of the
// general rule, with the same result; empty for any other form, which the rule reads.
std::optional<double> WrittenStoredNumber(std::string_view value) {
    constexpr std::size_t kClose = kStoredNumberWidth - 1;
    if (value.size() < kStoredNumberWidth || value[0] != '(' || value[kClose] != ')' ||
        value.find_first_not_of(' ', kStoredNumberWidth) != std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view inside = value.substr(1, kClose - 1);
    inside.remove_prefix(std::min(inside.find_first_not_of(' '), inside.size()));
    return ShortDecimal(inside);
}

}  // namespace

std::optional<double> ParseDecimalNumber(std::string_view text) {
    if (const std::optional<double> shortValue = ShortDecimal(text)) {
        return shortValue;
    }
    if (!HasDecimalShape(text)) {
        return std::nullopt;
    }
    std::string_view body = text;
    if (body.front() == '+') {
        body.remove_prefix(1);  // from_chars takes no plus sign
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ReadStoredNumber(std::string_view value) {
    if (const std::optional<double> written = WrittenStoredNumber(value)) {
        return written;
    }
    const std::size_t last = value.find_last_not_of(' ');
    if (last == std::string_view::npos || last < 1 || value.front() != '(') {
        return std::nullopt;
    }
    std::string_view inside = value.substr(1, last - 1);
    const std::size_t begin = inside.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return ParseDecimalNumber(std::string_view());
    }
    inside = inside.substr(begin, inside.find_last_not_of(' ') - begin + 1);
    return ParseDecimalNumber(inside);
}

}  // namespace kelvo
