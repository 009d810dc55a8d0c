// The date and time texts: which forms read, and how they are written.
#include "commands/date_time_text.h"

#include <gtest/gtest.h>

#include <clocale>

#include "tests/case_name.h"

namespace kelvo {
namespace {

struct DateCase {
    std::string name;
    std::string text;
    std::optional<CivilDate> date;

    friend void PrintTo(const DateCase& row, std::ostream* out) { *out << row.name; }
};

class DateText : public testing::TestWithParam<DateCase> {};

TEST_P(DateText, Reads) {
    EXPECT_EQ(ParseDateText(GetParam().text), GetParam().date) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateText,
    testing::Values(DateCase{"TwoDigitFields", "31.01.2024", CivilDate{2024, 1, 31}},
                    DateCase{"BlanksAround", "  31.01.2024   ", CivilDate{2024, 1, 31}},
                    DateCase{"OneDigitDayAndMonth", "1.2.2024", CivilDate{2024, 2, 1}},
                    DateCase{"LeapDay", "29.02.2024", CivilDate{2024, 2, 29}},
                    DateCase{"FirstYear", "01.01.0001", CivilDate{1, 1, 1}},
                    DateCase{"LastYear", "31.12.9999", CivilDate{9999, 12, 31}},
                    DateCase{"NoLeapDay", "29.02.2023", std::nullopt},
                    DateCase{"ThirtyFirstOfFebruary", "31.02.2024", std::nullopt},
                    DateCase{"MonthThirteen", "01.13.2024", std::nullopt},
                    DateCase{"DayZero", "00.01.2024", std::nullopt},
                    DateCase{"YearZero", "01.01.0000", std::nullopt},
                    DateCase{"TwoDigitYear", "31.01.24", std::nullopt},
                    DateCase{"ThreeDigitDay", "031.01.2024", std::nullopt},
                    DateCase{"Slashes", "31/01/2024", std::nullopt},
                    DateCase{"IsoOrder", "2024-01-31", std::nullopt},
                    DateCase{"BlankInside", "31. 01.2024", std::nullopt},
                    DateCase{"TrailingText", "31.01.2024x", std::nullopt},
                    DateCase{"TrailingPoint", "31.01.2024.", std::nullopt},
                    DateCase{"MissingYear", "31.01.", std::nullopt},
                    DateCase{"Sign", "+1.01.2024", std::nullopt},
                    DateCase{"Empty", "", std::nullopt}),
    CaseName());

struct TimeCase {
    std::string name;
    std::string text;
    std::optional<ClockTime> time;

    friend void PrintTo(const TimeCase& row, std::ostream* out) { *out << row.name; }
};

class TimeText : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeText, Reads) {
    EXPECT_EQ(ParseTimeText(GetParam().text), GetParam().time) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeText,
    testing::Values(TimeCase{"TwoDigitFields", "09:05:03", ClockTime{9, 5, 3}},
                    TimeCase{"BlanksAround", " 23:59:59  ", ClockTime{23, 59, 59}},
                    TimeCase{"Midnight", "00:00:00", ClockTime{0, 0, 0}},
                    TimeCase{"OneDigitFields", "9:5:3", ClockTime{9, 5, 3}},
                    TimeCase{"WithoutSeconds", "10:30", ClockTime{10, 30, 0}},
                    TimeCase{"HourTwentyFive", "25:00:00", std::nullopt},
                    TimeCase{"HourTwentyFour", "24:00:00", std::nullopt},
                    TimeCase{"MinuteSixty", "10:60:00", std::nullopt},
                    TimeCase{"SecondSixty", "10:00:60", std::nullopt},
                    TimeCase{"HoursOnly", "10", std::nullopt},
                    TimeCase{"FourFields", "10:00:00:00", std::nullopt},
                    TimeCase{"ThreeDigitField", "100:00:00", std::nullopt},
                    TimeCase{"PointsInsteadOfColons", "10.30.00", std::nullopt},
                    TimeCase{"EmptyField", "10::00", std::nullopt},
                    TimeCase{"Sign", "-1:00:00", std::nullopt},
                    TimeCase{"Empty", "", std::nullopt}),
    CaseName());

TEST(DateTimeText, WritesTwoDigitFieldsAndAFourDigitYear) {
    EXPECT_EQ(FormatDateText(CivilDate{24, 2, 1}), "01.02.0024");
    EXPECT_EQ(FormatDateText(CivilDate{2024, 12, 31}), "31.12.2024");
    EXPECT_EQ(FormatTimeText(ClockTime{9, 5, 3}), "09:05:03");
}

TEST(DateTimeText, DoesNotDependOnTheProcessLocale) {
    // Whatever locale the process has (a German one where installed), the forms stay fixed.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string kept = previous != nullptr ? previous : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(ParseDateText("31.01.2024"), (CivilDate{2024, 1, 31}));
    EXPECT_EQ(ParseTimeText("12:34:56"), (ClockTime{12, 34, 56}));
    EXPECT_EQ(ParseDateText("01/31/2024"), std::nullopt);
    std::setlocale(LC_ALL, kept.c_str());
}

}  // namespace
}  // namespace kelvo
