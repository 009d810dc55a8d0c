// The assignment commands ".", "=", ">", "<" and "C", run as blocks of a "V" task.
#include <gtest/gtest.h>

#include "tests/case_name.h"
#include "tests/commands/command_run.h"

namespace kelvo {
namespace {

const std::string kN = "[+N              ]";
const std::string kX = "[+X              ]";
const std::string kConv = "+KELVO_KONVERTIERFEHLER";

class AssignmentCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(AssignmentCommand, LeavesTheRecords) {
    CheckCommandCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Table, AssignmentCommand,
    testing::Values(
        CommandCase{"LiteralNumber",
                    {"J [+A] . (5)"},
                    {{"[+A              ]", "(           5.000)/99/02"}}},
        CommandCase{"LiteralText", {"J +T . Hallo"}, {{"+T", "Hallo/99/02"}}},
        CommandCase{"LiteralTextWithBlanks", {"J +T . Hallo$Welt"}, {{"+T", "Hallo Welt/99/02"}}},
        CommandCase{"CopyTextWithCommaDoesNotRead",
                    {"J +T . 12,5", "J [+N] = +T"},
                    {{kN, "(           0.000)/99/02"}, {kConv, "1/99/02"}}},
        CommandCase{"CopyTextWithExponentReads",
                    {"J +T . 1e3", "J [+N] = +T"},
                    {{kN, "(        1000.000)/99/02"}, {kConv, "0/99/02"}}},
        CommandCase{"CopyTextWithDecimalPoint",
                    {"J +T . -12.5", "J [+N] = +T"},
                    {{kN, "(         -12.500)/99/02"}, {kConv, "0/99/02"}}},
        CommandCase{"CopyTextOutOfRange",
                    {"J +T . 999999999999.9991", "J [+N] = +T"},
                    {{kN, "(           0.000)/99/02"}, {kConv, "1/99/02"}}},
        CommandCase{"CopyTextJustInRange",
                    {"J +T . -99999999999.999", "J [+N] = +T"},
                    {{kN, "(-99999999999.999)/99/02"}, {kConv, "0/99/02"}}},
        CommandCase{"CopyNumberWholeToText",
                    {"J [+N] . (12)", "J +T = [+N]"},
                    {{"+T", "12/99/02"}, {kConv, "<none>"}}},
        CommandCase{
            "CopyNumberHalfToText", {"J [+N] . (0.5)", "J +T = [+N]"}, {{"+T", "0.5/99/02"}}},
        CommandCase{"CopyNegativeNumberToText",
                    {"J [+N] . (-3.25)", "J +T = [+N]"},
                    {{"+T", "-3.25/99/02"}}},
        CommandCase{"CopyNumberWithThreeDecimalsToText",
                    {"J [+N] . (7.125)", "J +T = [+N]"},
                    {{"+T", "7.125/99/02"}}},
        CommandCase{"CopyTextToText", {"J +S . abc", "J +T = +S"}, {{"+T", "abc/99/02"}}},
        CommandCase{"CopyNumberToNumber",
                    {"J [+N] . (4)", "J [+M] = [+N]"},
                    {{"[+M              ]", "(           4.000)/99/02"}}},
        CommandCase{"CopyMissingOperandIsError17",
                    {"J +T = [+N]", "J +U . danach"},
                    {{"+T", "<none>"}, {"+U", "<none>"}},
                    17},
        CommandCase{"StoreIndirectlyIntoNumber",
                    {"J +Q . 7", "J +Z - [+X]", "J +Q > +Z"},
                    {{kX, "(           7.000)/99/02"}}},
        CommandCase{"StoreIndirectlyNumberInParentheses",
                    {"J +Q - (2.5)", "J +Z - [+X]", "J +Q > +Z"},
                    {{kX, "(           2.500)/99/02"}}},
        CommandCase{"StoreIndirectlyUnreadableNumberGivesZero",
                    {"J +Q . sieben", "J +Z - [+X]", "J +Q > +Z"},
                    {{kX, "(           0.000)/99/02"}}},
        CommandCase{"StoreIndirectlyIntoText",
                    {"J +Q . 7", "J +Z . +NAME", "J +Q > +Z"},
                    {{"+NAME", "7/99/02"}}},
        CommandCase{"StoreIndirectlyWithoutTargetStoresNothing",
                    {"J +Q . 7", "J +Q > +Z"},
                    {{"+Z", "<none>"}}},
        CommandCase{
            "LoadIndirectlyFound", {"J +Z . +x", "J +X . abc", "J +Z < +Y"}, {{"+Y", "abc/99/02"}}},
        CommandCase{
            "LoadIndirectlyMissingGivesTheName", {"J +Z . +x", "J +Z < +Y"}, {{"+Y", "+X/99/02"}}},
        CommandCase{"CertaintyFromNumber", {"J +R . rot", "J +R C (45.9)"}, {{"+R", "rot/45/02"}}},
        CommandCase{"CertaintyBelowTen", {"J +R . rot", "J +R C (7)"}, {{"+R", "rot/07/02"}}},
        CommandCase{"CertaintyAbove99", {"J +R . rot", "J +R C (100)"}, {{"+R", "rot/00/02"}}},
        CommandCase{"CertaintyNegative", {"J +R . rot", "J +R C (-1)"}, {{"+R", "rot/00/02"}}},
        CommandCase{"CertaintyFromNumericVariable",
                    {"J +R . rot", "J [+C] . (12)", "J +R C [+C]"},
                    {{"+R", "rot/12/02"}}},
        CommandCase{"CertaintyFromTextVariable",
                    {"J +R . rot", "J +S . 33.7", "J +R C +S"},
                    {{"+R", "rot/33/02"}}},
        CommandCase{"CertaintyFromUnreadableText",
                    {"J +R . rot", "J +S . viel", "J +R C +S"},
                    {{"+R", "rot/00/02"}}},
        CommandCase{
            "CertaintyOfMissingVariableChangesNothing", {"J +R C (45)"}, {{"+R", "<none>"}}},
        CommandCase{"CertaintyFromMissingNumericVariableIsError3",
                    {"J +R . rot", "J +R C [+C]", "J +U . danach"},
                    {{"+R", "rot/00/02"}, {"+U", "danach/99/02"}},
                    3}),
    CaseName());

TEST(StoreIndirectly, SoundsTheBeep) {
    CommandRun run({"J +Q . 7", "J +Z . +NAME", "J +Q > +Z"});
    EXPECT_EQ(run.Events("beep").size(), 1u);
}

TEST(AssignLiteral, KeepsTheBlanksOfTheField) {
    CommandRun run({"J +T . Hallo"});
    EXPECT_EQ(run.RawValue("+T"), PadRight("Hallo", 30));
}

}  // namespace
}  // namespace kelvo
