#include "store/stored_number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "tests/case_name.h"

namespace kelvo {
namespace {

TEST(RoundHalfEven, SendsExactHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(2.6), 3.0);
    EXPECT_EQ(RoundHalfEven(0.4999), 0.0);
}

struct FormatCase {
    const char* name;
    double value;
    const char* stored;
};

class FormatStoredNumberCases : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatStoredNumberCases, WritesEighteenCharacters) {
    const std::string stored = FormatStoredNumber(GetParam().value);
    EXPECT_EQ(stored, GetParam().stored);
    EXPECT_EQ(stored.size(), kStoredNumberWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatStoredNumberCases,
    testing::Values(FormatCase{"One", 1.0, "(           1.000)"},
                    FormatCase{"Fraction", 12.5, "(          12.500)"},
                    FormatCase{"Negative", -3.25, "(          -3.250)"},
                    FormatCase{"RoundsToThousandths", 2.0004, "(           2.000)"},
                    FormatCase{"NegativeZeroHasNoSign", -0.0004, "(           0.000)"},
                    FormatCase{"Largest", 999999999999.999, "(999999999999.999)"},
                    FormatCase{"Smallest", -99999999999.999, "(-99999999999.999)"}),
    CaseName());

struct ParseCase {
    const char* name;
    const char* text;
    bool reads;
    double value;
};

class ParseDecimalNumberCases : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimalNumberCases, ReadsTheWholeTextOrNothing) {
    const std::optional<double> number = ParseDecimalNumber(GetParam().text);
    ASSERT_EQ(number.has_value(), GetParam().reads);
    if (GetParam().reads) {
        EXPECT_DOUBLE_EQ(*number, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseDecimalNumberCases,
    testing::Values(
        ParseCase{"Integer", "42", true, 42}, ParseCase{"Signed", "-7.5", true, -7.5},
        ParseCase{"PlusSign", "+3", true, 3}, ParseCase{"Exponent", "1e3", true, 1000},
        ParseCase{"NegativeExponent", "25E-1", true, 2.5},
        ParseCase{"LeadingPoint", ".5", true, 0.5}, ParseCase{"TrailingPoint", "5.", true, 5},
        ParseCase{"Comma", "12,5", false, 0}, ParseCase{"Empty", "", false, 0},
        ParseCase{"SignOnly", "-", false, 0}, ParseCase{"PointOnly", ".", false, 0},
        ParseCase{"Blank", " 1", false, 0}, ParseCase{"Infinity", "inf", false, 0},
        ParseCase{"NotANumber", "nan", false, 0}, ParseCase{"Hexadecimal", "0x10", false, 0},
        ParseCase{"BareExponent", "1e", false, 0}, ParseCase{"Overflow", "1e999", false, 0},
        ParseCase{"TrailingText", "3x", false, 0}),
    CaseName());

TEST(ReadStoredNumber, ReadsBetweenTheParentheses) {
    EXPECT_EQ(ReadStoredNumber("(          12.500)            "), 12.5);
    EXPECT_EQ(ReadStoredNumber("(3)"), 3.0);
    EXPECT_FALSE(ReadStoredNumber("12.500"));
    EXPECT_FALSE(ReadStoredNumber("(abc)"));
    EXPECT_FALSE(ReadStoredNumber("("));
}

TEST(ReadStoredNumber, TakesBlanksAroundTheNumberAndNothingElse) {
    const struct {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"(  -1.250  )   ", -1.25}, {"(1)", 1.0},
        {"()", std::nullopt},       {"(   )", std::nullopt},
        {" (1)", std::nullopt},     {"(1 2)", std::nullopt},
        {"", std::nullopt},         {"      ", std::nullopt},
        {"(1", std::nullopt},       {"(+2.5e1)", 25.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadStoredNumber(c.text), c.number) << '"' << c.text << '"';
    }
}

// A stored value read by the rule alone: trailing blanks dropped, "(" first, the last
// character dropped, blanks around the rest ignored, the rest a whole decimal read by strtod.
std::optional<double> ReferenceStoredNumber(const std::string& value) {
    const std::size_t last = value.find_last_not_of(' ');
    if (last == std::string::npos || last < 1 || value[0] != '(') {
        return std::nullopt;
    }
    std::string inside = value.substr(1, last - 1);
    inside.erase(0, std::min(inside.size(), inside.find_first_not_of(' ')));
    inside.erase(inside.find_last_not_of(' ') + 1);
    static const std::regex kDecimal(R"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)");
    if (!std::regex_match(inside, kDecimal)) {
        return std::nullopt;
    }
    const double number = std::strtod(inside.c_str(), nullptr);
    return std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

// Every number as it is written, in a field of 30, and every form one character away from it.
TEST(ReadStoredNumber, ReadsWrittenNumbersAndTheirNeighboursByTheRule) {
    std::vector<double> values = {
        0.0,        1.0,  -1.0, 0.001, -0.001, 12.5, 999999999999.999, -99999999999.999,
        123456.789, 1e12, 1e15};
    std::mt19937_64 random(11);
    for (int i = 0; i < 300; ++i) {
        const double magnitude = std::pow(10.0, std::uniform_real_distribution<>(-3, 12)(random));
        values.push_back(std::uniform_int_distribution<>(0, 1)(random) ? magnitude : -magnitude);
    }
    const std::string others = " -+.09e()x";
    for (const double value : values) {
        std::string written = FormatStoredNumber(value);
        written.resize(30, ' ');
        ASSERT_EQ(ReadStoredNumber(written), ReferenceStoredNumber(written)) << written;
        for (std::size_t at = 0; at < 20; ++at) {
            for (const char other : others) {
                std::string changed = written;
                changed[at] = other;
                ASSERT_EQ(ReadStoredNumber(changed), ReferenceStoredNumber(changed))
                    << '"' << changed << '"';
            }
        }
    }
}

// The stored form as the C library writes it, the reference of FormatStoredNumber.
std::string PrintedStoredNumber(double value) {
    double rounded = std::nearbyint(value * 1000.0) / 1000.0;
    if (rounded == 0.0) {
        rounded = 0.0;
    }
    char buffer[400];
    const int n = std::snprintf(buffer, sizeof buffer, "(%16.3f)", rounded);
    return std::string(buffer, static_cast<std::size_t>(n));
}

TEST(FormatStoredNumber, WritesWhatTheCLibraryWrites) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.0004,
                                  -0.0004,
                                  0.0005,
                                  -0.0005,
                                  0.0015,
                                  1.0,
                                  -1.0,
                                  12.5,
                                  -12.5,
                                  999.9995,
                                  123456789012.345,
                                  -123456789012.345,
                                  999999999999.999,
                                  1e12,
                                  -1e12,
                                  1e13,
                                  1e15,
                                  -1e16,
                                  1e300,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        const double magnitude = std::pow(10.0, std::uniform_real_distribution<>(-4, 16)(random));
        values.push_back(std::uniform_int_distribution<>(0, 1)(random) ? magnitude : -magnitude);
    }
    for (const double value : values) {
        EXPECT_EQ(FormatStoredNumber(value), PrintedStoredNumber(value)) << value;
    }
}

TEST(FormatWholeNumber, WritesWhatTheCLibraryWrites) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             -1.0,
                             7.0,
                             2.5,
                             -2.5,
                             1e15,
                             9007199254740993.0,
                             9.2e18,
                             9.3e18,
                             -9.3e18,
                             1e19,
                             1e300,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (const double value : values) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
        EXPECT_EQ(FormatWholeNumber(value), buffer) << value;
    }
}

}  // namespace
}  // namespace kelvo
