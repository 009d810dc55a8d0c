// The block loop of Variablenbefehl and the table of command letters.
#include <gtest/gtest.h>

#include "authoring/command_table.h"
#include "commands/command_dispatch.h"
#include "commands/install_variable_commands.h"
#include "tests/commands/command_run.h"

namespace kelvo {
namespace {

TEST(VariableBlock, EndsAtTheFirstLineThatIsNoVariableLine) {
    CommandRun run({"J +A . 1", "J +B . 2", "J +C . 3", "K Ende", "J +D . 4"});
    EXPECT_EQ(run.Value("+A"), "1");
    EXPECT_EQ(run.Value("+C"), "3");
    EXPECT_EQ(run.Value("+D"), "<none>");
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST(VariableBlock, ErrorSeventeenEndsTheBlockAndTheConsultation) {
    CommandRun run({"J +A . 1", "J +T = +FEHLT", "J +U . danach"});
    EXPECT_EQ(run.Value("+A"), "1");
    EXPECT_EQ(run.Value("+U"), "<none>");
    EXPECT_EQ(run.ErrorCode(), 17);
    EXPECT_EQ(run.ErrorCaption(),
              "Fehlermeldung in Zeile: " + std::to_string(kFirstCommandLine + 1));
    EXPECT_TRUE(run.consultation().Ended());
    EXPECT_TRUE(run.Events("page").empty());  // no solution page after the error
}

TEST(VariableBlock, EndDoesNotStopTheRestOfTheBlock) {
    CommandRun run({"J +A . 1", "J +X E +Y", "J +B . 2"});
    EXPECT_EQ(run.Value("+B"), "2");
    EXPECT_TRUE(run.consultation().Ended());
    EXPECT_FALSE(run.consultation().RestartRequested());
    EXPECT_TRUE(run.Events("page").empty());
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST(VariableBlock, EndAsTheFirstLineStillRunsTheOtherTwo) {
    CommandRun run({"J +X E +Y", "J +A . 1", "J +B . 2"});
    EXPECT_EQ(run.Value("+A"), "1");
    EXPECT_EQ(run.Value("+B"), "2");
    EXPECT_TRUE(run.consultation().Ended());
}

TEST(VariableBlock, RunsAsAnActionOfATaskBlock) {
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\n"
        "B B . b\n= (V)\nJ +X . eins\nJ +Y . zwei\n= (N)\nT Seite\nK\n");
    InstallVariableCommands(run.consultation());
    run.Run();
    EXPECT_EQ(run.Value("+X"), "eins");
    EXPECT_EQ(run.Value("+Y"), "zwei");
    ASSERT_GE(run.Events("page").size(), 1u);
    EXPECT_EQ(run.Events("page")[0]["caption"], "Seite");
}

TEST(VariableBlock, AFullImageEndsTheBlock) {
    // 3000 blanks take 101 records of a "++" value; the image has room for far fewer.
    ConsultationHarness run(
        std::string(kVariableTaskHead) + "J [+LEERZEICHEN] . (3000)\nJ ++T - a\nJ +D . 4\nK\n", {},
        ConsultationConfig{}, 40);
    InstallVariableCommands(run.consultation());
    run.Run();
    EXPECT_TRUE(run.image().Full());
    EXPECT_EQ(run.Value("+D"), "<none>");
    EXPECT_TRUE(run.consultation().Ended());
    EXPECT_EQ(run.consultation().LastErrorCode(), -1);  // the engine's own stop
}

TEST(CommandTable, HasEveryLetterOfTheLineGrammar) {
    for (const CommandOperands& row : kCommandTable) {
        const VariableCommand* command = FindVariableCommand(row.command);
        ASSERT_NE(command, nullptr) << row.command;
        EXPECT_EQ(command->letter, row.command);
    }
    EXPECT_EQ(FindVariableCommand('Y'), nullptr);
    EXPECT_EQ(FindVariableCommand(' '), nullptr);
}

TEST(CommandTable, EveryCommandHasAHandler) {
    for (const CommandOperands& row : kCommandTable) {
        EXPECT_NE(FindVariableCommand(row.command)->handler, nullptr) << row.command;
    }
}

}  // namespace
}  // namespace kelvo
