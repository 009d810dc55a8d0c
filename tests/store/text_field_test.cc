#include "store/text_field.h"

#include <gtest/gtest.h>

#include "tests/case_name.h"

namespace kelvo {
namespace {

TEST(PadRight, PadsOrCutsToTheWidth) {
    EXPECT_EQ(PadRight("ABC", 5), "ABC  ");
    EXPECT_EQ(PadRight(std::string(35, 'x') + "y", 30), std::string(30, 'x'));
    EXPECT_EQ(PadRight("", 3), "   ");
    EXPECT_EQ(PadRight("ABC", 0), "");
}

TEST(PadLeft, PadsButNeverCuts) {
    EXPECT_EQ(PadLeft("7", 6), "     7");
    EXPECT_EQ(PadLeft("12345678", 6), "12345678");
}

struct CentreCase {
    const char* name;
    std::size_t length;
    std::size_t width;
    std::size_t blanksBefore;
};

class CentreTextRounding : public testing::TestWithParam<CentreCase> {};

TEST_P(CentreTextRounding, PutsTheRoundedHalfOfTheMarginBefore) {
    const CentreCase& c = GetParam();
    const std::string text(c.length, 'x');
    const std::string centred = CentreText(text, c.width);
    ASSERT_EQ(centred.size(), c.width);
    EXPECT_EQ(centred.find('x'), c.blanksBefore);
    EXPECT_EQ(centred.substr(c.blanksBefore, c.length), text);
}

INSTANTIATE_TEST_SUITE_P(HalvesToEven, CentreTextRounding,
                         testing::Values(CentreCase{"HalfOf41RoundsDownTo20", 39, 80, 20},
                                         CentreCase{"HalfOf5RoundsDownTo2", 1, 6, 2},
                                         CentreCase{"HalfOf7RoundsUpTo4", 1, 8, 4},
                                         CentreCase{"EvenMargin", 10, 20, 5}),
                         CaseName());

TEST(CentreText, LeavesATextAsLongAsTheWidthUnchanged) {
    EXPECT_EQ(CentreText("abcdef", 6), "abcdef");
    EXPECT_EQ(CentreText("abcdefgh", 6), "abcdefgh");
}

TEST(Trim, RemovesBlanksOnlyNotTabs) {
    EXPECT_EQ(TrimRight("ab  "), "ab");
    EXPECT_EQ(TrimRight("ab\t "), "ab\t");
    EXPECT_EQ(TrimRight("    "), "");
    EXPECT_EQ(TrimLeft("   "), "");
    EXPECT_EQ(TrimLeft(""), "");
    EXPECT_EQ(TrimLeft("  \tab "), "\tab ");
}

TEST(Columns, CutsAndPadsToTheColumnRange) {
    EXPECT_EQ(Columns("K abc", 3, 5), "abc");
    EXPECT_EQ(Columns("K abc", 4, 8), "bc   ");
    EXPECT_EQ(Columns("K", 3, 4), "  ");
    EXPECT_EQ(Columns("", 1, 1), " ");
}

struct ContainsCase {
    const char* name;
    const char* needle;
    const char* haystack;
    bool contained;
};

class ContainsTextCases : public testing::TestWithParam<ContainsCase> {};

TEST_P(ContainsTextCases, ComparesUpperCasedAndRightTrimmed) {
    EXPECT_EQ(ContainsText(GetParam().needle, GetParam().haystack), GetParam().contained);
}

INSTANTIATE_TEST_SUITE_P(Table, ContainsTextCases,
                         testing::Values(ContainsCase{"IgnoresCase", "ab", "xxABxx ", true},
                                         ContainsCase{"LongerNeedle", "abc", "ab", false},
                                         ContainsCase{"Umlauts", "\xE4x", "Y\xC4X", true},
                                         ContainsCase{"TrailingBlanksOfNeedleIgnored", "ab   ",
                                                      "xab", true},
                                         ContainsCase{"InnerBlanksCount", "a b", "ab", false},
                                         ContainsCase{"EmptyNeedle", "", "x", true},
                                         ContainsCase{"BlankNeedle", "   ", "x", true},
                                         ContainsCase{"EmptyHaystack", "", "", false},
                                         ContainsCase{"BlankHaystack", "a", "   ", false}),
                         CaseName());

}  // namespace
}  // namespace kelvo
