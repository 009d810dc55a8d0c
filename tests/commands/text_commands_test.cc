// The text commands "+", "-", "K", "G", "L", "S", "B", "A" and "Ü", and TextSimilarity.
#include <gtest/gtest.h>

#include "commands/text_similarity.h"
#include "tests/case_name.h"
#include "tests/commands/command_run.h"

namespace kelvo {
namespace {

const std::string kBlanks = "[+LEERZEICHEN    ]";
const std::string kVar1 = "[+SYSTEM_VAR_0001]";
const std::string kVar2 = "[+SYSTEM_VAR_0002]";
const std::string kSimilar = "[+AEHNLICH       ]";

class TextCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(TextCommand, LeavesTheRecords) {
    CheckCommandCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Append, TextCommand,
    testing::Values(
        CommandCase{"LiteralsWithOneBlankCount",
                    {"J [+LEERZEICHEN] . (1)", "J ++T - Hallo", "J ++T - Welt"},
                    {{"++T", " HalloWelt/99/02"}, {kBlanks, "(           0.000)/99/02"}}},
        CommandCase{"LiteralWithThreeBlanks",
                    {"J ++T - Hallo", "J [+LEERZEICHEN] . (3)", "J ++T - Welt"},
                    {{"++T", "Hallo   Welt/99/02"}}},
        CommandCase{"NegativeBlankCountIsZero",
                    {"J ++T - a", "J [+LEERZEICHEN] . (-2)", "J ++T - b"},
                    {{"++T", "ab/99/02"}}},
        CommandCase{"BlankCountRoundsHalfToEven",
                    {"J ++T - a", "J [+LEERZEICHEN] . (2.5)", "J ++T - b"},
                    {{"++T", "a  b/99/02"}}},
        CommandCase{"VariableWithBlankCount",
                    {"J +A . eins", "J +B . zwei", "J [+LEERZEICHEN] . (1)", "J +A + +B"},
                    {{"+A", "eins zwei/99/02"}, {kBlanks, "(           0.000)/99/02"}}},
        CommandCase{"MissingOperandIsError17AndResetsTheCount",
                    {"J [+LEERZEICHEN] . (4)", "J +A + +B"},
                    {{kBlanks, "(           0.000)/99/02"}, {"+A", "<none>"}},
                    17},
        CommandCase{"ToAMissingNameVariable", {"J +B . zwei", "J +A + +B"}, {{"+A", "zwei/99/02"}}},
        CommandCase{"PlainTextIsCutTo30",
                    {"J +A . 12345678901234567890", "J +A - abcdefghijklmn"},
                    {{"+A", "12345678901234567890abcdefghij/99/02"}}},
        CommandCase{"DoublePlusKeepsTheWholeText",
                    {"J ++A . 12345678901234567890", "J ++A - abcdefghijklmn"},
                    {{"++A", "12345678901234567890abcdefghijklmn/99/02"}}},
        CommandCase{"NumberLiteralAppendsItsCharacters",
                    {"J ++T - x", "J ++T - (5)"},
                    {{"++T", "x(           5.000)/99/02"}}}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Case, TextCommand,
    testing::Values(CommandCase{"Lower",
                                {"J +A . \xC3\x84PFEL$Gro\xC3\x9F", "J +B K +A"},
                                {{"+B", "\xE4pfel gro\xDF/99/02"}}},
                    CommandCase{"Upper",
                                {"J +A . \xC3\xBC"
                                 "ber$stra\xC3\x9F"
                                 "e",
                                 "J +B G +A"},
                                {{"+B",
                                  "\xDC"
                                  "BER STRA\xDF"
                                  "E/99/02"}}},
                    CommandCase{"LowerOfMissingIsError17", {"J +B K +A"}, {{"+B", "<none>"}}, 17},
                    CommandCase{"UpperOfMissingIsError17", {"J +B G +A"}, {{"+B", "<none>"}}, 17},
                    CommandCase{"Length",
                                {"J +T . abc", "J [+N] L +T"},
                                {{"[+N              ]", "(           3.000)/99/02"}}},
                    CommandCase{"LengthOfEmpty",
                                {"J +T . $", "J [+N] L +T"},
                                {{"[+N              ]", "(           0.000)/99/02"}}},
                    CommandCase{"LengthOfMissingIsError17",
                                {"J [+N] L +T"},
                                {{"[+N              ]", "<none>"}},
                                17}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Part, TextCommand,
    testing::Values(CommandCase{"NumberTwoDecimals",
                                {"J [+X] . (1234.567)", "J [+SYSTEM_VAR_0001] . (7)",
                                 "J [+SYSTEM_VAR_0002] . (2)", "J +T S [+X]"},
                                {{"+T", "1234.56/99/02"}}},
                    CommandCase{"NumberNoDecimals",
                                {"J [+X] . (1234.567)", "J [+SYSTEM_VAR_0001] . (5)",
                                 "J [+SYSTEM_VAR_0002] . (0)", "J +T S [+X]"},
                                {{"+T", " 1234/99/02"}}},
                    CommandCase{"NumberCountsLimited",
                                {"J [+X] . (1234.567)", "J [+SYSTEM_VAR_0001] . (20)",
                                 "J [+SYSTEM_VAR_0002] . (5)", "J +T S [+X]"},
                                {{"+T", "        1234.567/99/02"}}},
                    CommandCase{"NumberOneDecimalWidthLimited",
                                {"J [+X] . (-1234.567)", "J [+SYSTEM_VAR_0001] . (15)",
                                 "J [+SYSTEM_VAR_0002] . (1)", "J +T S [+X]"},
                                {{"+T", "       -1234.5/99/02"}}},
                    CommandCase{"NumberWithoutCountsIsEmpty",
                                {"J [+X] . (1234.567)", "J +T S [+X]"},
                                {{"+T", "/99/02"}}},
                    CommandCase{"Text",
                                {"J +A . Expertensystem", "J [+SYSTEM_VAR_0001] . (7)",
                                 "J [+SYSTEM_VAR_0002] . (6)", "J +T S +A"},
                                {{"+T", "ensyst/99/02"}}},
                    CommandCase{"TextFromZero",
                                {"J +A . Expertensystem", "J [+SYSTEM_VAR_0001] . (0)",
                                 "J [+SYSTEM_VAR_0002] . (3)", "J +T S +A"},
                                {{"+T", "Exp/99/02"}}},
                    CommandCase{"TextPastTheEnd",
                                {"J +A . Expertensystem", "J [+SYSTEM_VAR_0001] . (12)",
                                 "J [+SYSTEM_VAR_0002] . (10)", "J +T S +A"},
                                {{"+T", "tem/99/02"}}},
                    CommandCase{"TextStartBeyondTheField",
                                {"J +A . Expertensystem", "J [+SYSTEM_VAR_0001] . (40)",
                                 "J [+SYSTEM_VAR_0002] . (3)", "J +T S +A"},
                                {{"+T", "/99/02"}}},
                    CommandCase{"MissingOperandIsError17", {"J +T S +A"}, {{"+T", "<none>"}}, 17}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Search, TextCommand,
    testing::Values(
        CommandCase{"Found",
                    {"J +K . sys", "J +S . Expertensystem", "J +K B +S"},
                    {{kVar1, "(           1.000)/99/02"}, {kVar2, "(           9.000)/99/02"}}},
        CommandCase{
            "NotFound",
            {"J [+SYSTEM_VAR_0002] . (5)", "J +K . xyz", "J +S . Expertensystem", "J +K B +S"},
            {{kVar1, "(           0.000)/99/02"}, {kVar2, "(           0.000)/99/02"}}},
        CommandCase{"AtTheEnd",
                    {"J +K . STEM", "J +S . Expertensystem", "J +K B +S"},
                    {{kVar2, "(          11.000)/99/02"}}},
        CommandCase{"LongerThanTheRest",
                    {"J +K . stemx", "J +S . Expertensystem", "J +K B +S"},
                    {{kVar1, "(           0.000)/99/02"}}},
        CommandCase{"EmptyIsFoundAtOne",
                    {"J +K . $", "J +S . abc", "J +K B +S"},
                    {{kVar1, "(           1.000)/99/02"}, {kVar2, "(           1.000)/99/02"}}},
        CommandCase{"MissingNameIsError17", {"J +S . abc", "J +K B +S"}, {{kVar1, "<none>"}}, 17},
        CommandCase{
            "MissingOperandIsError17", {"J +K . abc", "J +K B +S"}, {{kVar1, "<none>"}}, 17}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Similarity, TextCommand,
    testing::Values(
        CommandCase{"EqualTexts",
                    {"J [+SYSTEM_VAR_0001] . (50)", "J [+SYSTEM_VAR_0002] . (50)", "J +A . Haus",
                     "J +B . HAUS", "J +A A +B"},
                    {{kSimilar, "(         100.000)/99/02"}}},
        CommandCase{"CoverOnly",
                    {"J [+SYSTEM_VAR_0001] . (100)", "J [+SYSTEM_VAR_0002] . (0)", "J +A . HAUS",
                     "J +B . MAUS", "J +A A +B"},
                    {{kSimilar, "(          75.000)/99/02"}}},
        CommandCase{"WeightsAboveHundred",
                    {"J [+SYSTEM_VAR_0001] . (60)", "J [+SYSTEM_VAR_0002] . (50)", "J +A . HAUS",
                     "J +B . MAUS", "J +A A +B"},
                    {{kSimilar, "(           0.000)/99/02"}}},
        CommandCase{"MissingWeight",
                    {"J [+SYSTEM_VAR_0001] . (100)", "J +A . HAUS", "J +B . MAUS", "J +A A +B"},
                    {{kSimilar, "(           0.000)/99/02"}}},
        CommandCase{
            "MissingTextIsError17", {"J +A . HAUS", "J +A A +B"}, {{kSimilar, "<none>"}}, 17}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Substitute, TextCommand,
    testing::Values(CommandCase{"FillsAField",
                                {"J +NAME . Otto", "J +T . Guten$Tag$[+NAME$$$$[!",
                                 "J +U \xC3\x9C +T"},
                                {{"+U", "Guten Tag Otto       !/99/02"}}},
                    CommandCase{"MissingIsError17", {"J +U \xC3\x9C +T"}, {{"+U", "<none>"}}, 17}),
    CaseName());

TEST(AppendLiteral, ReturnAppendsALineBreakWhateverTheCase) {
    CommandRun run({"J ++T - Zeile", "J ++T - <return>", "J ++T - zwei"});
    EXPECT_EQ(run.Value("++T"), "Zeile\r\nzwei");
}

TEST(AppendVariable, ReturnInTheOperandAppendsALineBreak) {
    CommandRun run({"J +R . <RETURN>", "J ++T - a", "J [+LEERZEICHEN] . (2)", "J ++T + +R"});
    EXPECT_EQ(run.Value("++T"), "a  \r\n");
}

struct SimilarityCase {
    std::string name;
    std::string a;
    std::string b;
    double cover;
    double length;
    double result;

    friend void PrintTo(const SimilarityCase& row, std::ostream* out) { *out << row.name; }
};

class Similarity : public testing::TestWithParam<SimilarityCase> {};

TEST_P(Similarity, GivesItsPercentage) {
    const SimilarityCase& row = GetParam();
    EXPECT_DOUBLE_EQ(TextSimilarity(row.a, row.b, row.cover, row.length), row.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Similarity,
    testing::Values(SimilarityCase{"Equal", "HAUS", "HAUS", 0.5, 0.5, 100.0},
                    SimilarityCase{"OnePairMissing", "HAUS", "MAUS", 1.0, 0.0, 75.0},
                    SimilarityCase{"LengthOnly", "AB", "ABCD", 0.0, 1.0, 50.0},
                    SimilarityCase{"ShorterSecond", "HAUSTIER", "haus  ", 1.0, 0.0, 100.0},
                    SimilarityCase{"OneCharacterHasNoPairs", "A", "A", 1.0, 0.0, 0.0},
                    SimilarityCase{"Empty", "", "HAUS", 0.5, 0.5, 0.0},
                    SimilarityCase{"NegativeWeight", "HAUS", "HAUS", -0.1, 0.5, 0.0},
                    SimilarityCase{"WeightsAboveOne", "HAUS", "HAUS", 0.6, 0.5, 0.0},
                    SimilarityCase{"WeightsOfAThirdAndTwoThirds", "HAUS", "HAUS", 0.33, 0.67,
                                   100.0},
                    SimilarityCase{"RepeatedPairCountsOnce", "AAA", "AA", 1.0, 0.0, 100.0},
                    SimilarityCase{"NoCommonPair", "ABCD", "WXYZ", 1.0, 0.0, 0.0}),
    CaseName());

TEST(Similarity, ShorterTextsBeyond254CharactersAreComparedWhole) {
    const std::string a(300, 'A');
    EXPECT_DOUBLE_EQ(TextSimilarity(a, a, 1.0, 0.0), 100.0);
}

}  // namespace
}  // namespace kelvo
