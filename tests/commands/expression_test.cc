// EvaluateExpression as a table of expression and result text, over a map of variables.
#include "commands/expression.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/case_name.h"

namespace kelvo {
namespace {

struct ExpressionCase {
    std::string name;
    std::string expression;
    std::string result;

    friend void PrintTo(const ExpressionCase& row, std::ostream* out) { *out << row.name; }
};

// The variables of every row: stored names as the fact base pads them.
std::optional<std::string> Lookup(std::string_view name) {
    static const std::map<std::string, std::string, std::less<>> kVariables{
        {"[+X              ]", "(          12.500)"},
        {"[+NEG            ]", "(          -4.000)"},
        {"[+A{3}           ]", "(           9.000)"},
        {"[+LEER           ]", "()"},
        {"++T", "3"},
        {"++LEER", ""},
        {"+E", "1e3   "},
        {"+AUSDRUCK", "[+X]"},
        {"+TEXT", "abc"},
    };
    const std::string key(name.substr(0, name.find_last_not_of(' ') + 1));
    const auto found = kVariables.find(key);
    if (found == kVariables.end()) {
        return std::nullopt;
    }
    return found->second;
}

class Expression : public testing::TestWithParam<ExpressionCase> {};

TEST_P(Expression, GivesItsResultText) {
    EXPECT_EQ(EvaluateExpression(GetParam().expression, Lookup), GetParam().result)
        << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Expression,
    testing::Values(
        // precedence and associativity through the hold-back rule
        ExpressionCase{"MultiplicationBeforeAddition", "=2+3*4", "          14.000"},
        ExpressionCase{"ParenthesesFirst", "=(2+3)*4", "          20.000"},
        ExpressionCase{"ParenthesesInAProduct", "=2+3*(1+1)", "           8.000"},
        ExpressionCase{"MultiplicationsBeforeDivisions", "=8/2*2", "           2.000"},
        ExpressionCase{"SubtractionThenAddition", "=10-2+3", "          11.000"},
        ExpressionCase{"SubtractionIsLeftAssociative", "=10-2-3", "           5.000"},
        ExpressionCase{"AdditionAfterAProduct", "=2*3+4", "          10.000"},
        ExpressionCase{"DivisionThenSubtraction", "=9/3-1", "           2.000"},
        ExpressionCase{"NestedParentheses", "=((1+2))*((3))", "           9.000"},
        ExpressionCase{"LongSum", "=1+2+3+4+5+6+7+8+9+10", "          55.000"},
        ExpressionCase{"Decimals", "=0.1+0.2", "           0.300"},
        ExpressionCase{"ExponentNumber", "=1E3/4", "         250.000"},
        ExpressionCase{"LowerCaseExponent", "=2e2+1", "         201.000"},
        ExpressionCase{"ResultRoundsToThreeDecimals", "=2/3", "           0.667"},
        ExpressionCase{"WideResult", "=123456789*1000000", "123456789000000.000"},
        ExpressionCase{"SingleNumber", "=42", "          42.000"},
        // signs
        ExpressionCase{"LeadingMinus", "=-3+2", "          -1.000"},
        ExpressionCase{"MinusAfterOperator", "=2*-3", "          -6.000"},
        ExpressionCase{"MinusAfterMinus", "=5--3", "           8.000"},
        ExpressionCase{"MinusAfterParenthesis", "=(-2)*3", "          -6.000"},
        ExpressionCase{"MinusAfterClosingParenthesisSubtracts", "=(5)-2", "           3.000"},
        ExpressionCase{"NegativeZeroHasNoSign", "=-0.0001*1", "           0.000"},
        ExpressionCase{"LeadingPlusIsNoSign", "=+3", "FEHLER"},
        // functions
        ExpressionCase{"Sine", "=SIN(30)", "           0.500"},
        ExpressionCase{"Cosine", "=COS(60)", "           0.500"},
        ExpressionCase{"Tangent", "=TAN(45)", "           1.000"},
        ExpressionCase{"SquareRoot", "=SQR(16)", "           4.000"},
        ExpressionCase{"SquareRootOfNegative", "=SQR(-4)", "FEHLER"},
        ExpressionCase{"LogarithmOfZero", "=LOG(0)", "FEHLER"},
        ExpressionCase{"Logarithm", "=LOG(1)", "           0.000"},
        ExpressionCase{"ArcSineOutOfRange", "=ASIN(2)", "FEHLER"},
        ExpressionCase{"ArcSineOfOne", "=ASIN(1)", "          90.000"},
        ExpressionCase{"ArcSineOfAHalf", "=ASIN(0.5)", "          30.000"},
        ExpressionCase{"ArcCosineOfMinusOne", "=ACOS(-1)", "         180.000"},
        ExpressionCase{"ArcCosineOutOfRange", "=ACOS(-1.5)", "FEHLER"},
        ExpressionCase{"ArcCosineOfOne", "=ACOS(1)", "           0.000"},
        ExpressionCase{"ArcTangent", "=ATAN(1)", "          45.000"},
        ExpressionCase{"RoundHalfUp", "=RND(2.5)", "           3.000"},
        ExpressionCase{"RoundNegativeHalfUp", "=RND(-2.5)", "          -2.000"},
        ExpressionCase{"RoundDown", "=RND(2.4)", "           2.000"},
        ExpressionCase{"IntegerPartTowardZero", "=INT(-2.7)", "          -2.000"},
        ExpressionCase{"Fraction", "=FRAC(-2.75)", "          -0.750"},
        ExpressionCase{"Absolute", "=ABS(-7)", "           7.000"},
        ExpressionCase{"LowerCaseFunction", "=sqr(9)", "           3.000"},
        ExpressionCase{"FunctionOfAnExpression", "=SQR(9+7)*2", "           8.000"},
        ExpressionCase{"FunctionInASum", "=1+ABS(-2)", "           3.000"},
        ExpressionCase{"NotAWholeFunctionName", "=IN(5)", "FEHLER"},
        ExpressionCase{"FunctionOfText", "=SQR(A)", "FEHLER"},
        // comments, blanks and line breaks
        ExpressionCase{"CommentIsIgnored", "=2 + 3 \"Zuschlag\"", "           5.000"},
        ExpressionCase{"CommentInTheMiddle", "=2\"plus\"+3", "           5.000"},
        ExpressionCase{"BlanksAnywhere", "= 1 2 + 3", "          15.000"},
        ExpressionCase{"LineBreaksAndTabs", "=2\r\n*\t3", "           6.000"},
        // variables
        ExpressionCase{"NumericVariable", "=[+X]*2", "          25.000"},
        ExpressionCase{"NumericVariableWithBlanksInTheName", "=[+ X]+0", "          12.500"},
        ExpressionCase{"NegativeNumericVariable", "=[+NEG]*2", "          -8.000"},
        ExpressionCase{"MissingNumericVariable", "=[+Y]+1", "FEHLER"},
        ExpressionCase{"EmptyNumericValue", "=[+LEER]+1", "FEHLER"},
        ExpressionCase{"SubscriptedName", "=[+A{3}]", "           9.000"},
        ExpressionCase{"AngleBracketVariable", "=<++T>+1", "           4.000"},
        ExpressionCase{"AngleBracketEmptyValue", "=<++LEER>+1", "FEHLER"},
        ExpressionCase{"AngleBracketMissing", "=<++FEHLT>+1", "FEHLER"},
        ExpressionCase{"AngleBracketExponentValue", "=<+E>/10", "         100.000"},
        ExpressionCase{"AngleBracketHoldingANumericName", "=<+AUSDRUCK>", "          12.500"},
        ExpressionCase{"AngleBracketText", "=<+TEXT>*2", "FEHLER"},
        // failures
        ExpressionCase{"DivisionByZero", "=1/0", "FEHLER"},
        ExpressionCase{"EqualsSignAlone", "=", "FEHLER"},
        ExpressionCase{"OnlyBlanks", "=   ", "FEHLER"},
        ExpressionCase{"OnlyAComment", "=\"nichts\"", "FEHLER"},
        ExpressionCase{"CommaIsNoDecimalPoint", "=1,5+1", "FEHLER"},
        ExpressionCase{"UnbalancedParenthesis", "=(2+3", "FEHLER"},
        ExpressionCase{"StrayCharacters", "=2+x", "FEHLER"},
        ExpressionCase{"TwoNumbers", "=2 (3)", "FEHLER"},
        ExpressionCase{"DanglingOperator", "=2+", "FEHLER"},
        ExpressionCase{"WithoutEqualsSignUnchanged", "12+3", "12+3"},
        ExpressionCase{"EmptyTextUnchanged", "", ""}),
    CaseName());

TEST(ExpressionTokens, MoreThanTheTableHoldsEndsInFehler) {
    std::string expression = "=1";
    for (int i = 0; i < kMaxExpressionTokens; ++i) {
        expression += "+1";
    }
    EXPECT_EQ(EvaluateExpression(expression, Lookup), "FEHLER");
}

TEST(ExpressionTokens, AlmostFullTableStillEvaluates) {
    std::string expression = "=1";
    for (int i = 0; i < 240; ++i) {  // 481 tokens
        expression += "+1";
    }
    EXPECT_EQ(EvaluateExpression(expression, Lookup), "         241.000");
}

}  // namespace
}  // namespace kelvo
