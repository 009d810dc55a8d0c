#include "engine/date_number.h"

#include <gtest/gtest.h>

#include "tests/case_name.h"

#include "store/stored_number.h"

namespace kelvo {
namespace {

TEST(DaysFromCivil, CountsFromTheFirstOfJanuary1970) {
    EXPECT_EQ(DaysFromCivil({1970, 1, 1}), 0);
    EXPECT_EQ(DaysFromCivil({1970, 1, 2}), 1);
    EXPECT_EQ(DaysFromCivil({1969, 12, 31}), -1);
    EXPECT_EQ(DaysFromCivil({2000, 3, 1}), 11017);
    EXPECT_EQ(DaysFromCivil({2017, 7, 1}), 17348);
    EXPECT_EQ(DaysFromCivil({1, 1, 1}), -719162);
    EXPECT_EQ(DaysFromCivil({9999, 12, 31}), 2932896);
}

TEST(CivilFromDays, InvertsDaysFromCivilOverTheFourDigitYears) {
    std::int64_t expected = DaysFromCivil({1, 1, 1});
    for (int year = kFirstDateYear; year <= kLastDateYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                const CivilDate date{year, month, day};
                const std::int64_t days = DaysFromCivil(date);
                ASSERT_EQ(days, expected) << year << "-" << month << "-" << day;
                ASSERT_EQ(CivilFromDays(days), date) << days;
                ++expected;
            }
        }
    }
}

struct ValidityCase {
    const char* name;
    CivilDate date;
    bool valid;
};

class IsValidDateCases : public testing::TestWithParam<ValidityCase> {};

TEST_P(IsValidDateCases, KnowsTheCalendar) {
    EXPECT_EQ(IsValidDate(GetParam().date), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Table, IsValidDateCases,
                         testing::Values(ValidityCase{"Ordinary", {2017, 7, 1}, true},
                                         ValidityCase{"LeapDayOfLeapYear", {2016, 2, 29}, true},
                                         ValidityCase{"LeapDayOfCommonYear", {2017, 2, 29}, false},
                                         ValidityCase{"LeapDayOfCentury", {1900, 2, 29}, false},
                                         ValidityCase{"LeapDayOf400Years", {2000, 2, 29}, true},
                                         ValidityCase{"ThirtiethOfApril", {2017, 4, 30}, true},
                                         ValidityCase{"ThirtyFirstOfApril", {2017, 4, 31}, false},
                                         ValidityCase{"DayZero", {2017, 1, 0}, false},
                                         ValidityCase{"MonthZero", {2017, 0, 1}, false},
                                         ValidityCase{"MonthThirteen", {2017, 13, 1}, false},
                                         ValidityCase{"FirstYear", {1, 1, 1}, true},
                                         ValidityCase{"YearZero", {0, 12, 31}, false},
                                         ValidityCase{"LastDay", {9999, 12, 31}, true},
                                         ValidityCase{"FiveDigitYear", {10000, 1, 1}, false}),
                         CaseName());

struct AddCase {
    const char* name;
    CivilDate date;
    double days;
    bool valid;
    CivilDate result;
};

class AddDaysCases : public testing::TestWithParam<AddCase> {};

TEST_P(AddDaysCases, MovesByWholeDays) {
    const std::optional<CivilDate> moved = AddDays(GetParam().date, GetParam().days);
    ASSERT_EQ(moved.has_value(), GetParam().valid);
    if (GetParam().valid) {
        EXPECT_EQ(*moved, GetParam().result);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddDaysCases,
    testing::Values(AddCase{"EndOfFebruary", {2017, 2, 28}, 1, true, {2017, 3, 1}},
                    AddCase{"EndOfFebruaryInLeapYear", {2016, 2, 28}, 1, true, {2016, 2, 29}},
                    AddCase{"BackOverNewYear", {2017, 1, 1}, -1, true, {2016, 12, 31}},
                    AddCase{"Zero", {2017, 7, 1}, 0, true, {2017, 7, 1}},
                    AddCase{"AYear", {2017, 7, 1}, 365, true, {2018, 7, 1}},
                    AddCase{"FractionDropped", {2017, 7, 1}, 1.75, true, {2017, 7, 2}},
                    AddCase{
                        "NegativeFractionToEarlierDay", {2017, 7, 1}, -0.5, true, {2017, 6, 30}},
                    AddCase{"ToTheLastDay", {9999, 12, 30}, 1, true, {9999, 12, 31}},
                    AddCase{"BeyondTheLastDay", {9999, 12, 31}, 1, false, {}},
                    AddCase{"BeforeTheFirstDay", {1, 1, 1}, -1, false, {}},
                    AddCase{"HugeCount", {2017, 7, 1}, 1e15, false, {}},
                    AddCase{"InvalidStart", {2017, 2, 30}, 1, false, {}}),
    CaseName());

TEST(DateNumber, IsYearMonthPointDay) {
    EXPECT_EQ(DateNumber({2017, 7, 1}), 201707.01);
    EXPECT_EQ(DateNumber({2017, 3, 1}), 201703.01);
    EXPECT_EQ(DateNumber({1999, 12, 31}), 199912.31);
    EXPECT_EQ(FormatStoredNumber(DateNumber({2017, 7, 1})), "(      201707.010)");
}

TEST(TimeNumber, IsHoursMinutesPointSeconds) {
    EXPECT_EQ(TimeNumber(14, 5, 9), 1405.09);
    EXPECT_EQ(TimeNumber(0, 0, 0), 0.0);
    EXPECT_EQ(TimeNumber(0, 5, 30), 5.3);
    EXPECT_EQ(TimeNumber(23, 59, 59), 2359.59);
}

struct ReadCase {
    const char* name;
    const char* text;
    bool valid;
    CivilDate date;
};

class ReadDateNumberTextCases : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadDateNumberTextCases, TakesDayMonthAndYearFromTheirColumns) {
    const std::optional<CivilDate> date = ReadDateNumberText(GetParam().text);
    ASSERT_EQ(date.has_value(), GetParam().valid);
    if (GetParam().valid) {
        EXPECT_EQ(*date, GetParam().date);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadDateNumberTextCases,
    testing::Values(ReadCase{"StoredDate", "(      201702.280)", true, {2017, 2, 28}},
                    ReadCase{
                        "FactValuePadded", "(      201707.010)            ", true, {2017, 7, 1}},
                    ReadCase{"ThirdDecimalIgnored", "(      201702.289)", true, {2017, 2, 28}},
                    ReadCase{"LeapDay", "(      201602.290)", true, {2016, 2, 29}},
                    ReadCase{"NoLeapDay", "(      201702.290)", false, {}},
                    ReadCase{"MonthThirteen", "(      201713.010)", false, {}},
                    ReadCase{"DayZero", "(      201707.000)", false, {}},
                    ReadCase{"SmallNumber", "(           5.000)", false, {}},
                    ReadCase{"ThreeDigitYear", "(       99912.010)", false, {}},
                    ReadCase{"TooLongNumber", "(     2017070.010)", false, {}},
                    ReadCase{"SignLiesOutsideTheColumns", "(     -201707.010)", true, {2017, 7, 1}},
                    ReadCase{"Text", "kein Datum", false, {}}, ReadCase{"Empty", "", false, {}},
                    ReadCase{"Short", "(      201707.0", false, {}}),
    CaseName());

}  // namespace
}  // namespace kelvo
