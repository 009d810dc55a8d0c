#include "authoring/program_line_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_builder.h"

namespace kelvo {
namespace {

using testing::Columns;
using testing::Num;
using testing::NumName;

// A typed line and its normalized form; an empty `normalized` means the line is faulty.
struct LineCase {
    const char* name;
    std::string typed;
    std::string normalized;
};

const std::string kFaulty;

std::ostream& operator<<(std::ostream& out, const LineCase& c) {
    return out << c.typed;
}

std::vector<LineCase> LineCases() {
    const std::string thirty(30, 'A');
    const std::string sixteen(16, 'N');
    return {
        // ---- line kinds and column 2
        {"BlankLineIsFaulty", "    ", kFaulty},
        {"EmptyLineIsFaulty", "", kFaulty},
        {"UnknownKind", "Q x", kFaulty},
        {"OldDatabaseHeaderLess", "< A . b", kFaulty},
        {"OldDatabaseHeaderGreater", "> A . b", kFaulty},
        {"OldDatabaseLine", "D x", kFaulty},
        {"ColumnTwoNotBlank", "KX", kFaulty},
        {"LowerUmlautKindIsNoKind", "\xE4 x", kFaulty},

        // ---- free text: T, K, P keep columns 3 to 82 as typed
        {"TextKeptAsTyped", "T  Some text [with] (anything)",
         Columns({{1, "T  Some text [with] (anything)"}})},
        {"TextAlone", "T", Columns({{1, "T"}})},
        {"CommentAlone", "K", Columns({{1, "K"}})},
        {"CommentWithBlanks", "K      ", Columns({{1, "K"}})},
        {"CommentLowerCaseKind", "k Hallo Welt", Columns({{1, "K Hallo Welt"}})},
        {"ProjectLine", "p Abschnitt 1", Columns({{1, "P Abschnitt 1"}})},
        {"TextColumn83Dropped", "T " + std::string(80, 'x') + "Z",
         Columns({{1, "T " + std::string(80, 'x')}})},
        {"TextBeyond83Ignored", "T " + std::string(85, 'y'),
         Columns({{1, "T " + std::string(80, 'y')}})},
        {"TextKeepsUmlauts",
         "T \xC4rger \xFC"
         "ber \xAB"
         "Wert\xBB",
         Columns({{1,
                   "T \xC4rger \xFC"
                   "ber \xAB"
                   "Wert\xBB"}})},

        // ---- fact "F"
        {"FactTextValue", "f x (7) . hello$world",
         Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}, {41, "hello world"}})},
        {"FactNumber", "F [ZAHL] (99) . (3)",
         Columns({{1, "F"}, {3, NumName("ZAHL")}, {34, "(99)"}, {39, "."}, {41, Num("3.000")}})},
        {"FactCertaintyNotExamined", "F X ]] . v",
         Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}, {41, "v"}})},
        {"FactBlanksInBracketsVanish", "F [MY VAR] (1) . (2)",
         Columns({{1, "F"}, {3, NumName("MYVAR")}, {34, "(99)"}, {39, "."}, {41, Num("2.000")}})},
        {"FactPlusNameRejected", "F +X (99) . v", kFaulty},
        {"FactDoublePlusNameRejected", "F ++X (99) . v", kFaulty},
        {"FactNumericPlusNameRejected", "F [+X] (99) . (1)", kFaulty},
        {"FactBraceInPlainName", "F X{1} (99) . v", kFaulty},
        {"FactOperatorMustBeDot", "F X (99) = v", kFaulty},
        {"FactNumericNeedsNumber", "F [X] (99) . v", kFaulty},
        {"FactTextNeedsTextValue", "F X (99) . (1)", kFaulty},
        {"FactThreeTokens", "F X (99) .", kFaulty},
        {"FactFiveTokens", "F X (99) . a b", kFaulty},
        {"FactTextValueOf30", "F X (1) . " + std::string(30, 'v'),
         Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}, {41, std::string(30, 'v')}})},
        {"FactTextValueOf31", "F X (1) . " + std::string(31, 'v'), kFaulty},

        // ---- conditions "O", "U"
        {"ConditionCertaintyRoundsUp", "O NAME (7.5) = OTHER",
         Columns({{1, "O"}, {3, "NAME"}, {34, "(08)"}, {39, "="}, {41, "OTHER"}})},
        {"ConditionCertaintyRoundsToEven", "O NAME (6.5) = OTHER",
         Columns({{1, "O"}, {3, "NAME"}, {34, "(06)"}, {39, "="}, {41, "OTHER"}})},
        {"ConditionCertainty100", "O NAME (100) = OTHER", kFaulty},
        {"ConditionCertaintyMinus1", "O NAME (-1) = OTHER", kFaulty},
        {"ConditionCertaintyWord", "O NAME 50 = OTHER", kFaulty},
        {"ConditionCertaintyNumericName", "O NAME [X] = OTHER", kFaulty},
        {"ConditionNumericExponent", "O [N] (50) < (1e3)",
         Columns({{1, "O"}, {3, NumName("N")}, {34, "(50)"}, {39, "<"}, {41, Num("1000.000")}})},
        {"ConditionNumericTextOperator", "O [N] (50) . (1)", kFaulty},
        {"ConditionTwoCharacterOperator", "O [N] (50) <= (1)", kFaulty},
        {"ConditionNumericAgainstName", "U [+N{2}] (50) \xAB [+M]",
         Columns(
             {{1, "U"}, {3, NumName("+N{2}")}, {34, "(50)"}, {39, "\xAB"}, {41, NumName("+M")}})},
        {"ConditionNumericGreater", "O [N] (5) > [M]",
         Columns({{1, "O"}, {3, NumName("N")}, {34, "(05)"}, {39, ">"}, {41, NumName("M")}})},
        {"ConditionNumericRightGuillemet", "O [N] (5) \xBB (2)",
         Columns({{1, "O"}, {3, NumName("N")}, {34, "(05)"}, {39, "\xBB"}, {41, Num("2.000")}})},
        {"ConditionNumericEqual", "O [N] (5) = (2)",
         Columns({{1, "O"}, {3, NumName("N")}, {34, "(05)"}, {39, "="}, {41, Num("2.000")}})},
        {"ConditionNumericAgainstWord", "O [N] (50) = X", kFaulty},
        {"ConditionNumericHash", "O [N] (50) # (1)", kFaulty},
        {"ConditionNumericDoublePlus", "O [++N] (50) = (1)", kFaulty},
        {"ConditionTextPipe", "O X (50) | hello$there",
         Columns({{1, "O"}, {3, "X"}, {34, "(50)"}, {39, "|"}, {41, "hello there"}})},
        {"ConditionTextHash", "O X (50) # ++Y",
         Columns({{1, "O"}, {3, "X"}, {34, "(50)"}, {39, "#"}, {41, "++Y"}})},
        {"ConditionTextVariableUpperCased", "u x (1) = y",
         Columns({{1, "U"}, {3, "X"}, {34, "(01)"}, {39, "="}, {41, "Y"}})},
        {"ConditionTextLiteralKeepsCase", "u x (1) . y",
         Columns({{1, "U"}, {3, "X"}, {34, "(01)"}, {39, "."}, {41, "y"}})},
        {"ConditionDoublePlusName", "O ++X (50) . a",
         Columns({{1, "O"}, {3, "++X"}, {34, "(50)"}, {39, "."}, {41, "a"}})},
        {"ConditionDoublePlusEndsInDigit", "O ++X1 (50) . a", kFaulty},
        {"ConditionTextNumericOperator", "O X (50) < a", kFaulty},
        {"ConditionTextVariableNeedsName", "O X (50) = (1)", kFaulty},
        {"ConditionVariableDoublePlusDigit", "O X (50) = ++Y2", kFaulty},
        {"ConditionThreeTokens", "O X (50) =", kFaulty},

        // ---- rules "R"
        {"RuleSubscriptedPlusName", "R ZIEL = +A{2}",
         Columns({{1, "R"}, {3, "ZIEL"}, {39, "="}, {41, "+A{2}"}})},
        {"RuleSubscriptOnPlainName", "R ZIEL = A{2}", kFaulty},
        {"RuleSubscriptZero", "R ZIEL = +A{0}", kFaulty},
        {"RuleSubscriptEmpty", "R ZIEL = +A{}", kFaulty},
        {"RuleSubscriptPlusAlone", "R ZIEL = +A{+}", kFaulty},
        {"RuleSubscriptTwice", "R ZIEL = +A{1}{2}", kFaulty},
        {"RuleSubscriptVariable", "R ZIEL = +A{+B}",
         Columns({{1, "R"}, {3, "ZIEL"}, {39, "="}, {41, "+A{+B}"}})},
        {"RuleSubscriptLeadingNumber", "R ZIEL = +a{3x}",
         Columns({{1, "R"}, {3, "ZIEL"}, {39, "="}, {41, "+A{3X}"}})},
        {"RuleLiteralValue", "r ziel . Some$Value",
         Columns({{1, "R"}, {3, "ZIEL"}, {39, "."}, {41, "Some Value"}})},
        {"RulePipeNotAllowed", "R ZIEL | x", kFaulty},
        {"RuleHashNotAllowed", "R ZIEL # X", kFaulty},
        {"RulePlusConclusion", "R +Z . x", kFaulty},
        {"RuleDoublePlusVariable", "R ZIEL = ++A", kFaulty},
        {"RuleNumericConclusion", "R [Z] . x", kFaulty},
        {"RuleTwoTokens", "R ZIEL .", kFaulty},

        // ---- task headers "B", "«", "V", "H", "C", "N", "»", "X"
        {"HeaderB", "B FAKT . wert", Columns({{1, "B"}, {3, "FAKT"}, {39, "."}, {41, "wert"}})},
        {"HeaderRead", "\xAB DATEN = +Q",
         Columns({{1, "\xAB"}, {3, "DATEN"}, {39, "="}, {41, "+Q"}})},
        {"HeaderVariables", "v aufgabe | x$y",
         Columns({{1, "V"}, {3, "AUFGABE"}, {39, "|"}, {41, "x y"}})},
        {"HeaderComputation", "H X # Y", Columns({{1, "H"}, {3, "X"}, {39, "#"}, {41, "Y"}})},
        {"HeaderPrint", "C X . y", Columns({{1, "C"}, {3, "X"}, {39, "."}, {41, "y"}})},
        {"HeaderPages", "N X . y", Columns({{1, "N"}, {3, "X"}, {39, "."}, {41, "y"}})},
        {"HeaderWrite", "\xBB A . b", Columns({{1, "\xBB"}, {3, "A"}, {39, "."}, {41, "b"}})},
        {"HeaderJump", "x A = +b{+c}", Columns({{1, "X"}, {3, "A"}, {39, "="}, {41, "+B{+C}"}})},
        {"HeaderDoublePlusVariable", "C X = ++Y", kFaulty},
        {"HeaderNumericOperator", "N X < y", kFaulty},
        {"HeaderPlusName", "B +X . y", kFaulty},
        {"HeaderNumericValue", "B X . (1)", kFaulty},

        // ---- media and exchange "G", "W"
        {"MediaNumbers", "G BILD (10) (20)",
         Columns({{1, "G"}, {3, "BILD"}, {34, Num("10.000")}, {53, Num("20.000")}})},
        {"ExchangeNames", "w ++datei [+A] [b]",
         Columns({{1, "W"}, {3, "++DATEI"}, {34, NumName("+A")}, {53, NumName("B")}})},
        {"MediaTwoTokens", "G BILD (10)", kFaulty},
        {"MediaDoublePlusDigit", "G ++DATEI1 (1) (2)", kFaulty},
        {"ExchangeWordOperand", "W X abc (1)", kFaulty},
        {"MediaNumericFirst", "G [X] (1) (2)", kFaulty},
        {"MediaNumberOutOfRange", "G X (1e13) (2)", kFaulty},

        // ---- computations "M"
        {"ComputationWithFunction", "M [X] = SIN([A] + (0))",
         Columns({{1, "M"},
                  {3, NumName("X")},
                  {22, "="},
                  {24, "SIN"},
                  {29, "("},
                  {30, NumName("A")},
                  {49, "+"},
                  {51, Num("0.000")},
                  {69, ")"}})},
        {"ComputationWithoutFunction", "M [X] = ([A] * (2.5))",
         Columns({{1, "M"},
                  {3, NumName("X")},
                  {22, "="},
                  {29, "("},
                  {30, NumName("A")},
                  {49, "*"},
                  {51, Num("2.500")},
                  {69, ")"}})},
        {"ComputationNumberParenthesesRemoved", "M [X] = [A] + (5)", kFaulty},
        {"ComputationNothingToRemove", "M [X] = [A] + [B]",
         Columns({{1, "M"},
                  {3, NumName("X")},
                  {22, "="},
                  {29, "("},
                  {30, NumName("A")},
                  {49, "+"},
                  {51, NumName("B")},
                  {69, ")"}})},
        {"ComputationLowerCaseFunction", "m [x] = abs([a] - [b])",
         Columns({{1, "M"},
                  {3, NumName("X")},
                  {22, "="},
                  {24, "ABS"},
                  {29, "("},
                  {30, NumName("A")},
                  {49, "-"},
                  {51, NumName("B")},
                  {69, ")"}})},
        {"ComputationFourLetterFunction", "M [+X{2}] = MODU([+I] / (3))",
         Columns({{1, "M"},
                  {3, NumName("+X{2}")},
                  {22, "="},
                  {24, "MODU"},
                  {29, "("},
                  {30, NumName("+I")},
                  {49, "/"},
                  {51, Num("3.000")},
                  {69, ")"}})},
        {"ComputationUnknownFunction", "M [X] = FOO([A] + [B])", kFaulty},
        {"ComputationUnknownOperator", "M [X] = ([A] % [B])", kFaulty},
        {"ComputationTextResult", "M X = ([A] + [B])", kFaulty},
        {"ComputationNoEquals", "M [X] : ([A] + [B])", kFaulty},
        {"ComputationThreeOperands", "M [X] = ([A] + [B] + [C])", kFaulty},
        {"ComputationFourTokens", "M [X] = ([A] +)", kFaulty},
        {"ComputationWordOperand", "M [X] = (a + [B])", kFaulty},
        {"ComputationDoublePlusResult", "M [++X] = ([A] + [B])", kFaulty},

        // ---- action lines "="
        {"ActionLowerCaseMarker", "= (v)", Columns({{1, "= (V)"}})},
        {"ActionBlanksInMarkerVanish", "= ( V )", Columns({{1, "= (V)"}})},
        {"ActionRead", "= (\xAB)", Columns({{1, "= (\xAB)"}})},
        {"ActionWrite", "= (\xBB)", Columns({{1, "= (\xBB)"}})},
        {"ActionComputation", "= (h)", Columns({{1, "= (H)"}})},
        {"ActionPrint", "= (C)", Columns({{1, "= (C)"}})},
        {"ActionPages", "= (N)", Columns({{1, "= (N)"}})},
        {"ActionOldLess", "= (<)", kFaulty},
        {"ActionOldGreater", "= (>)", kFaulty},
        {"ActionUnknownMarker", "= (x)", kFaulty},
        {"ActionTwoMarkers", "= (V) (H)", kFaulty},
        {"ActionNoMarker", "=", kFaulty},
        {"ActionWordMarker", "= V", kFaulty},

        // ---- goal "Z" and jump target "Y"
        {"GoalName", "z ziel", Columns({{1, "Z"}, {3, "ZIEL"}})},
        {"GoalNumericName", "Z [X]", kFaulty},
        {"GoalTwoTokens", "Z A B", kFaulty},
        {"GoalPlusName", "Z +A", kFaulty},
        {"GoalNameOf30", "Z " + thirty, Columns({{1, "Z"}, {3, thirty}})},
        {"GoalNameOf31", "Z " + thirty + "B", kFaulty},
        {"GoalUmlautUpperCased", "Z \xE4rger\xDF", Columns({{1, "Z"}, {3, "\xC4RGER\xDF"}})},
        {"JumpTargetPlainName", "Y a", Columns({{1, "Y"}, {3, "A"}})},
        {"JumpTargetSubscript", "Y +A{2}", Columns({{1, "Y"}, {3, "+A{2}"}})},
        {"JumpTargetDoublePlus", "Y ++A", kFaulty},

        // ---- variable lines "J" (the command table has its own test)
        {"VariableDoublePlusEndsInDigit", "J ++LISTE1 . X", kFaulty},
        {"VariableDoublePlusOf24", "J ++ABCDEFGHIJKLMNOPQRSTUV . X",
         Columns({{1, "J"}, {3, "++ABCDEFGHIJKLMNOPQRSTUV"}, {39, "."}, {41, "X"}})},
        {"VariableDoublePlusOf25", "J ++ABCDEFGHIJKLMNOPQRSTUVW . X", kFaulty},
        {"VariableNumericWithTextCommand", "J [+N] A X", kFaulty},
        {"VariableLowerCaseCommand", "J +n a x",
         Columns({{1, "J"}, {3, "+N"}, {39, "A"}, {41, "X"}})},
        {"VariableNumericAssign", "J [+N] . (1)",
         Columns({{1, "J"}, {3, NumName("+N")}, {39, "."}, {41, Num("1.000")}})},
        {"VariablePlainTextName", "J X . y", kFaulty},
        {"VariablePlainNumericName", "J [N] . (1)", kFaulty},
        {"VariableNumericDoublePlus", "J [++N] . (1)", kFaulty},
        {"VariableTwoCharacterCommand", "J +T AB x", kFaulty},
        {"VariableUnknownCommand", "J +T ? x", kFaulty},
        {"VariableLowerUmlautCommand", "J +T \xF6 x",
         Columns({{1, "J"}, {3, "+T"}, {39, "\xD6"}, {41, "X"}})},
        {"VariableFourTokens", "J +T . a b", kFaulty},

        // ---- name shapes
        {"NumericNameOf18", "F [" + sixteen + "] (1) . (1)",
         Columns(
             {{1, "F"}, {3, "[" + sixteen + "]"}, {34, "(99)"}, {39, "."}, {41, Num("1.000")}})},
        {"NumericNameOf19", "F [" + sixteen + "N] (1) . (1)", kFaulty},
        {"NumericNameUnclosed", "F [X (1) . (1)", kFaulty},
        {"WordMayHoldBrackets", "Z A[B(C", Columns({{1, "Z"}, {3, "A[B(C"}})},
        {"TokenStartsRightAfterBracket", "R X . a[b]",
         Columns({{1, "R"}, {3, "X"}, {39, "."}, {41, "a[b]"}})},
        {"BracketTokenEndsWord", "Z [A]B", kFaulty},
    };
}

class CheckProgramLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CheckProgramLineTest, NormalizesOrRejects) {
    const LineCase& c = GetParam();
    const LineCheck check = CheckProgramLine(c.typed);
    if (c.normalized.empty()) {
        EXPECT_FALSE(check.ok) << "normalized to: [" << check.line << "]";
        EXPECT_TRUE(check.line.empty());
        EXPECT_FALSE(check.reason.empty()) << "a faulty line says why";
    } else {
        ASSERT_TRUE(check.ok) << check.reason;
        EXPECT_EQ(check.line, c.normalized);
        EXPECT_EQ(check.line.size(), kNormalizedLineWidth);
        EXPECT_TRUE(check.reason.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, CheckProgramLineTest, ::testing::ValuesIn(LineCases()),
                         testing::CaseName());

// The reason names the token and the rule; it is informative only.
struct ReasonCase {
    const char* name;
    const char* typed;
    const char* reason;
};

std::ostream& operator<<(std::ostream& out, const ReasonCase& c) {
    return out << c.typed;
}

class ReasonTest : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(ReasonTest, NamesTokenAndRule) {
    const LineCheck check = CheckProgramLine(GetParam().typed);
    ASSERT_FALSE(check.ok);
    EXPECT_EQ(check.reason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, ReasonTest,
    ::testing::Values(
        ReasonCase{"Blank", "   ", "leere Zeile; ein Kommentar ist \"K\""},
        ReasonCase{"Kind", "Q x", "unbekannte Zeilenart \"Q\""},
        ReasonCase{"ColumnTwo", "KX", "Spalte 2 muss leer sein"},
        ReasonCase{"Count", "Z A B", "1 Wort erwartet, 2 gefunden"},
        ReasonCase{"ComputationCount", "M [X] = ([A] +)",
                   "5 oder 6 W\xF6rter erwartet, 4 gefunden"},
        ReasonCase{"Plus", "Z +A", "Wort 1 \"+A\": Name mit \"+\" hier nicht erlaubt"},
        ReasonCase{"PlusOnly", "J X . y", "Wort 1 \"X\": hier ist ein Name mit \"+\" verlangt"},
        ReasonCase{"Brace", "R Z = A{2}",
                   "Wort 3 \"A{2}\": geschweifte Klammern nur in Namen mit \"+\""},
        ReasonCase{"Subscript", "R Z = +A{0}", "Wort 3 \"+A{0}\": ung\xFCltiger Index"},
        ReasonCase{"DoublePlusDigit", "J ++L1 . X",
                   "Wort 1 \"++L1\": Name mit \"++\" endet auf eine Ziffer"},
        ReasonCase{"Certainty", "O X (100) = Y",
                   "Wort 2 \"(100)\": Sicherheit au\xDF"
                   "erhalb von 0 bis 99"},
        ReasonCase{"Number", "F [N] (1) . (1,5)", "Wort 4 \"(1,5)\": keine Zahl"},
        ReasonCase{"Shape", "G X abc (1)", "Wort 2 \"abc\": erwartet Zahl oder numerischer Name"},
        ReasonCase{"Command", "J [+N] A X",
                   "Wort 2 \"A\": Befehl nach numerischem Namen nicht erlaubt"},
        ReasonCase{"Function", "M [X] = FOO([A] + [B])", "Wort 3 \"FOO\": unbekannte Funktion"}),
    testing::CaseName());

}  // namespace
}  // namespace kelvo
