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
    double rounded = std::nearbyint(value * 1000.0) / 1000.0;
    if (rounded == 0.0) {
        rounded = 0.0;  // turns -0.0 into 0.0: no "-0.000"
    }
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "(%16.3f)", rounded);
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
    const std::string trimmed = TrimRight(value);
    if (trimmed.size() < 2 || trimmed.front() != '(') {
        return std::nullopt;
    }
    const std::string inside = TrimLeft(TrimRight(trimmed.substr(1, trimmed.size() - 2)));
    return ParseDecimalNumber(inside);
}

}  // namespace kelvo
