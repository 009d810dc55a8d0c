#include "store/stored_number.h"

#include <charconv>
#include <cmath>
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
        const std::size_t length = static_cast<std::size_t>(end - digits) + (whole < 0 ? 1 : 0);
        std::string text = "(";
        if (length < 16) {
            text.append(16 - length, ' ');
        }
        if (whole < 0) {
            text += '-';
        }
        text.append(digits, end);
        text += ')';
        return text;
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

std::optional<double> ParseDecimalNumber(std::string_view text) {
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
