#include "authoring/line_tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_builder.h"

namespace kelvo {
namespace {

std::string Padded(std::string_view text, std::size_t width = 30) {
    return std::string(text) + std::string(width - text.size(), ' ');
}

// ---- SplitTokens

struct SplitCase {
    const char* name;
    const char* line;
    std::size_t count;
    std::vector<std::string> tokens;
};

class SplitTokensTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTokensTest, Splits) {
    const TokenList list = SplitTokens(GetParam().line);
    EXPECT_EQ(list.count, GetParam().count);
    EXPECT_EQ(list.tokens, GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, SplitTokensTest,
    ::testing::Values(
        SplitCase{"Nothing", "F ", 0, {}}, SplitCase{"ColumnsOneAndTwoSkipped", "AB C", 1, {"C"}},
        SplitCase{"Words", "F  a   b c", 3, {"a", "b", "c"}},
        SplitCase{"BlanksInBracketsVanish", "F [MY VAR] x", 2, {"[MYVAR]", "x"}},
        SplitCase{"BlanksInParenthesesVanish", "F ( 1 2 . 5 )", 1, {"(12.5)"}},
        SplitCase{"BracketEndsToken", "F [A]B", 2, {"[A]", "B"}},
        SplitCase{"ParenthesisEndsToken", "F (1)(2)", 2, {"(1)", "(2)"}},
        SplitCase{"BracketsInsideWordOrdinary", "F a[b (c", 2, {"a[b", "(c"}},
        SplitCase{"ParenthesisInsideBracketsOrdinary", "F [a(b )c]", 1, {"[a(b)c]"}},
        SplitCase{"BracketInsideParenthesesOrdinary", "F ( [x] )", 1, {"([x])"}},
        SplitCase{"ClosingMarksStartWords", "F ] )", 2, {"]", ")"}},
        SplitCase{"UnclosedBracketRunsToEnd", "F [a b c", 1, {"[abc"}},
        SplitCase{"AllCountedFirstSixKept", "F 1 2 3 4 5 6 7 8", 8, {"1", "2", "3", "4", "5", "6"}},
        SplitCase{"TokenKeeps33",
                  "F 1234567890123456789012345678901234567890",
                  1,
                  {"123456789012345678901234567890123"}},
        SplitCase{"LongBracketTokenStillEndsAtBracket",
                  "F [1234567890123456789012345678901234567890] x",
                  2,
                  {"[12345678901234567890123456789012", "x"}}),
    testing::CaseName());

// ---- NormalizeTextName under each rule

struct NameCase {
    const char* name;
    const char* token;
    NameRule rule;
    StepVerdict verdict;
    const char* stored;  // for WellFormed, before padding
};

constexpr auto kOk = StepVerdict::WellFormed;
constexpr auto kBad = StepVerdict::Faulty;
constexpr auto kOther = StepVerdict::OtherShape;

class TextNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(TextNameTest, AppliesRule) {
    const NameCase& c = GetParam();
    const TokenStep step = NormalizeTextName(c.token, c.rule);
    EXPECT_EQ(step.verdict, c.verdict) << step.reason;
    if (c.verdict == kOk) {
        EXPECT_EQ(step.stored, Padded(c.stored));
    } else if (c.verdict == kBad) {
        EXPECT_FALSE(step.reason.empty());
    } else {
        EXPECT_EQ(step.stored, c.token) << "another shape passes through unchanged";
    }
}

using R = NameRule;
INSTANTIATE_TEST_SUITE_P(
    Rules, TextNameTest,
    ::testing::Values(
        NameCase{"PlainName", "abc", R::Plain, kOk, "ABC"},
        NameCase{"PlainRejectsPlus", "+abc", R::Plain, kBad, ""},
        NameCase{"PlainRejectsDoublePlus", "++abc", R::Plain, kBad, ""},
        NameCase{"PlainRejectsBraces", "a{1}", R::Plain, kBad, ""},
        NameCase{"PlainRejectsClosingBrace", "a}", R::Plain, kBad, ""},
        NameCase{"PlusAcceptsPlain", "abc", R::Plus, kOk, "ABC"},
        NameCase{"PlusAcceptsPlus", "+abc", R::Plus, kOk, "+ABC"},
        NameCase{"PlusAcceptsSubscript", "+a{12}", R::Plus, kOk, "+A{12}"},
        NameCase{"PlusRejectsBadSubscript", "+a{0}", R::Plus, kBad, ""},
        NameCase{"PlusRejectsBracesOnPlain", "a{1}", R::Plus, kBad, ""},
        NameCase{"PlusRejectsDoublePlus", "++abc", R::Plus, kBad, ""},
        NameCase{"DoublePlusAcceptsPlain", "abc", R::DoublePlus, kOk, "ABC"},
        NameCase{"DoublePlusAcceptsDoublePlus", "++abc", R::DoublePlus, kOk, "++ABC"},
        NameCase{"DoublePlusSubscript", "++abc{2}", R::DoublePlus, kOk, "++ABC{2}"},
        NameCase{"DoublePlusEndsInDigit", "++abc9", R::DoublePlus, kBad, ""},
        NameCase{"DoublePlusEndsInZero", "++abc0", R::DoublePlus, kBad, ""},
        NameCase{"DoublePlusDigitInside", "++a1b", R::DoublePlus, kOk, "++A1B"},
        NameCase{"DoublePlusOf24", "++abcdefghijklmnopqrstuv", R::DoublePlus, kOk,
                 "++ABCDEFGHIJKLMNOPQRSTUV"},
        NameCase{"DoublePlusOf25", "++abcdefghijklmnopqrstuvw", R::DoublePlus, kBad, ""},
        NameCase{"PlusOfThirtyUnderDoublePlus", "+abcdefghijklmnopqrstuvwxyz123", R::DoublePlus,
                 kOk, "+ABCDEFGHIJKLMNOPQRSTUVWXYZ123"},
        NameCase{"PlusOnlyRejectsPlain", "abc", R::PlusOnly, kBad, ""},
        NameCase{"PlusOnlyAcceptsPlus", "+abc", R::PlusOnly, kOk, "+ABC"},
        NameCase{"PlusOnlyAcceptsDoublePlus", "++abc", R::PlusOnly, kOk, "++ABC"},
        NameCase{"PlusOnlyDoublePlusDigit", "++abc1", R::PlusOnly, kBad, ""},
        NameCase{"PlusOnlyDoublePlusOf25", "++abcdefghijklmnopqrstuvw", R::PlusOnly, kBad, ""},
        NameCase{"Of30", "abcdefghijklmnopqrstuvwxyz1234", R::Plain, kOk,
                 "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"},
        NameCase{"Of31IsOtherShape", "abcdefghijklmnopqrstuvwxyz12345", R::Plain, kOther, ""},
        NameCase{"BracketIsOtherShape", "[a]", R::Plain, kOther, ""},
        NameCase{"ParenthesisIsOtherShape", "(a)", R::Plus, kOther, ""},
        NameCase{"UmlautsUpperCased", "\xE4\xF6\xFC\xDF", R::Plain, kOk, "\xC4\xD6\xDC\xDF"}),
    testing::CaseName());

// ---- NormalizeNumericName

class NumericNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NumericNameTest, AppliesRuleInsideBrackets) {
    const NameCase& c = GetParam();
    const TokenStep step = NormalizeNumericName(c.token, c.rule);
    EXPECT_EQ(step.verdict, c.verdict) << step.reason;
    if (c.verdict == kOk) {
        EXPECT_EQ(step.stored, testing::NumName(c.stored));
    } else if (c.verdict == kOther) {
        EXPECT_EQ(step.stored, c.token);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, NumericNameTest,
    ::testing::Values(NameCase{"Plain", "[abc]", R::Plain, kOk, "ABC"},
                      NameCase{"Empty", "[]", R::Plain, kOk, ""},
                      NameCase{"PlainRejectsPlus", "[+a]", R::Plain, kBad, ""},
                      NameCase{"PlusAcceptsPlus", "[+a]", R::Plus, kOk, "+A"},
                      NameCase{"PlusSubscript", "[+a{3}]", R::Plus, kOk, "+A{3}"},
                      NameCase{"PlusSubscriptVariable", "[+a{+i}]", R::Plus, kOk, "+A{+I}"},
                      NameCase{"PlusBadSubscript", "[+a{-3}]", R::Plus, kBad, ""},
                      NameCase{"BracesOnPlainName", "[a{3}]", R::Plus, kBad, ""},
                      NameCase{"DoublePlusAlwaysRejected", "[++a]", R::DoublePlus, kBad, ""},
                      NameCase{"DoublePlusRejectedUnderPlusOnly", "[++a]", R::PlusOnly, kBad, ""},
                      NameCase{"DoublePlusRuleActsAsPlus", "[+a]", R::DoublePlus, kOk, "+A"},
                      NameCase{"PlusOnlyRejectsPlain", "[a]", R::PlusOnly, kBad, ""},
                      NameCase{"PlusOnlyAcceptsPlus", "[+a]", R::PlusOnly, kOk, "+A"},
                      NameCase{"Of18", "[abcdefghijklmnop]", R::Plain, kOk, "ABCDEFGHIJKLMNOP"},
                      NameCase{"Of19IsOtherShape", "[abcdefghijklmnopq]", R::Plain, kOther, ""},
                      NameCase{"UnclosedIsOtherShape", "[abc", R::Plain, kOther, ""},
                      NameCase{"WordIsOtherShape", "abc", R::Plain, kOther, ""}),
    testing::CaseName());

// ---- CheckSubscript

struct SubscriptCase {
    const char* name;
    std::string text;
    bool accepted;
};

class SubscriptTest : public ::testing::TestWithParam<SubscriptCase> {};

TEST_P(SubscriptTest, Decides) {
    EXPECT_EQ(CheckSubscript(GetParam().text), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Subscripts, SubscriptTest,
    ::testing::Values(
        SubscriptCase{"Number", "+A{2}", true},
        SubscriptCase{"PaddedTextName", Padded("+A{2}"), true},
        SubscriptCase{"StoredNumericName", testing::NumName("+A{7}"), true},
        SubscriptCase{"Zero", "+A{0}", false}, SubscriptCase{"Empty", "+A{}", false},
        SubscriptCase{"PlusAlone", "+A{+}", false}, SubscriptCase{"Variable", "+A{+B}", true},
        SubscriptCase{"DoublePlusVariable", "+A{++}", true},
        SubscriptCase{"Twice", "+A{1}{2}", false}, SubscriptCase{"NotAtEnd", "+A{1}B", false},
        SubscriptCase{"ReversedBraces", "+A}1{", false},
        SubscriptCase{"TwoClosing", "+A1}}", false}, SubscriptCase{"OnlyOpening", "+A{1", false},
        SubscriptCase{"LeadingNumberRead", "+A{3X}", true},
        SubscriptCase{"LetterFirst", "+A{X3}", false}, SubscriptCase{"Negative", "+A{-3}", false},
        SubscriptCase{"LeadingBlanksAndSign", "+A{  +4}", true},
        SubscriptCase{"LeadingZeros", "+A{007}", true}, SubscriptCase{"NoBraces", "+A", false}),
    testing::CaseName());

// ---- NormalizeTextValue

TEST(NormalizeTextValue, DollarsBecomeBlanksCaseKept) {
    const TokenStep step = NormalizeTextValue("Hallo$$Welt$");
    ASSERT_TRUE(step.ok());
    EXPECT_EQ(step.stored, Padded("Hallo  Welt "));
}

TEST(NormalizeTextValue, ShapeLimits) {
    EXPECT_TRUE(NormalizeTextValue(std::string(30, 'x')).ok());
    EXPECT_EQ(NormalizeTextValue(std::string(31, 'x')).verdict, kOther);
    EXPECT_EQ(NormalizeTextValue("(x)").verdict, kOther);
    EXPECT_EQ(NormalizeTextValue("[x]").verdict, kOther);
}

// ---- NormalizeNumber and NormalizeCertainty

struct NumberCase {
    const char* name;
    const char* token;
    const char* stored;  // nullptr: faulty
};

class NumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTest, ReadsRangeAndFormat) {
    const TokenStep step = NormalizeNumber(GetParam().token);
    if (GetParam().stored == nullptr) {
        EXPECT_EQ(step.verdict, kBad) << step.stored;
    } else {
        ASSERT_TRUE(step.ok()) << step.reason;
        EXPECT_EQ(step.stored, testing::Num(GetParam().stored));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumberTest,
    ::testing::Values(
        NumberCase{"Whole", "(3)", "3.000"}, NumberCase{"Decimals", "(12.5)", "12.500"},
        NumberCase{"RoundedToThousandth", "(12.3456)", "12.346"},
        NumberCase{"Negative", "(-7.25)", "-7.250"},
        NumberCase{"NegativeZeroHasNoSign", "(-0.0004)", "0.000"},
        NumberCase{"PlusSign", "(+5)", "5.000"}, NumberCase{"LeadingPoint", "(.5)", "0.500"},
        NumberCase{"TrailingPoint", "(5.)", "5.000"}, NumberCase{"Exponent", "(1e3)", "1000.000"},
        NumberCase{"NegativeExponent", "(25E-1)", "2.500"},
        NumberCase{"TinyIsZero", "(1e-400)", "0.000"},
        NumberCase{"UpperLimit", "(999999999999.9991)", "999999999999.999"},
        NumberCase{"AboveUpperLimit", "(999999999999.9992)", nullptr},
        NumberCase{"UpperLimitAsExponent", "(9999999999999991e-4)", "999999999999.999"},
        NumberCase{"LowerLimit", "(-99999999999.9991)", "-99999999999.999"},
        NumberCase{"BelowLowerLimit", "(-99999999999.9992)", nullptr},
        NumberCase{"MinusOneE11", "(-1e11)", nullptr},
        NumberCase{"HugeExponent", "(1e400)", nullptr}, NumberCase{"Empty", "()", nullptr},
        NumberCase{"Comma", "(1,5)", nullptr}, NumberCase{"TwoPoints", "(1.2.3)", nullptr},
        NumberCase{"OnlyPoint", "(.)", nullptr},
        NumberCase{"ExponentWithoutDigits", "(1e)", nullptr},
        NumberCase{"Infinity", "(inf)", nullptr}, NumberCase{"Hexadecimal", "(0x10)", nullptr},
        NumberCase{"Letters", "(abc)", nullptr}),
    testing::CaseName());

TEST(NormalizeNumber, OtherShapesPassThrough) {
    EXPECT_EQ(NormalizeNumber("[x]").verdict, kOther);
    EXPECT_EQ(NormalizeNumber("(1").verdict, kOther);
    EXPECT_EQ(NormalizeNumber("1)").verdict, kOther);
}

class CertaintyTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(CertaintyTest, RoundsHalfToEvenWithinRange) {
    const TokenStep step = NormalizeCertainty(GetParam().token);
    if (GetParam().stored == nullptr) {
        EXPECT_EQ(step.verdict, kBad) << step.stored;
    } else {
        ASSERT_TRUE(step.ok()) << step.reason;
        EXPECT_EQ(step.stored, GetParam().stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Certainties, CertaintyTest,
    ::testing::Values(
        NumberCase{"Zero", "(0)", "(00)"}, NumberCase{"LeadingZero", "(5)", "(05)"},
        NumberCase{"NinetyNine", "(99)", "(99)"}, NumberCase{"Hundred", "(100)", nullptr},
        NumberCase{"MinusOne", "(-1)", nullptr}, NumberCase{"HalfToEvenDown", "(6.5)", "(06)"},
        NumberCase{"HalfToEvenUp", "(7.5)", "(08)"}, NumberCase{"HalfOfZero", "(0.5)", "(00)"},
        NumberCase{"AboveHalf", "(2.5000001)", "(03)"},
        NumberCase{"BelowHalfExactly", "(1.49999999999999999999)", "(01)"},
        NumberCase{"NinetyEightAndHalf", "(98.5)", "(98)"},
        NumberCase{"NinetyNineAndHalf", "(99.5)", nullptr},
        NumberCase{"JustBelowTheTop", "(99.4999)", "(99)"},
        NumberCase{"MinusHalf", "(-0.5)", "(00)"}, NumberCase{"SmallNegative", "(-0.4)", "(00)"},
        NumberCase{"NegativeRoundsAway", "(-0.6)", nullptr},
        NumberCase{"Exponent", "(9.9e1)", "(99)"},
        NumberCase{"ExponentToHundred", "(0.995e2)", nullptr}, NumberCase{"Tiny", "(1e-5)", "(00)"},
        NumberCase{"Huge", "(1e300)", nullptr}, NumberCase{"NotANumber", "(x)", nullptr},
        NumberCase{"Comma", "(7,5)", nullptr}),
    testing::CaseName());

// ---- CheckSlot

TEST(CheckSlot, ReportsTheFormThatDecided) {
    FormSet applied = kNoForm;
    EXPECT_TRUE(CheckSlot("(1)", kNumberForm | kNumericNameForm, NameRule::Plus, &applied).ok());
    EXPECT_EQ(applied, kNumberForm);
    EXPECT_TRUE(CheckSlot("[+a]", kNumberForm | kNumericNameForm, NameRule::Plus, &applied).ok());
    EXPECT_EQ(applied, kNumericNameForm);
    EXPECT_EQ(CheckSlot("abc", kNumberForm | kNumericNameForm, NameRule::Plus, &applied).verdict,
              kBad);
    EXPECT_EQ(applied, kNoForm);
}

}  // namespace
}  // namespace kelvo
