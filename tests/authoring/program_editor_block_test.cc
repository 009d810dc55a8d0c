// The program editor's block commands and transfer.

#include <gtest/gtest.h>

#include <fstream>

#include "authoring/program_editor.h"
#include "tests/authoring/editor_fixture.h"
#include "tests/authoring/line_builder.h"

namespace kelvo::testing {
namespace {

const std::string kIntoItself(EditorMessageText(2));

enum class Command { Kopieren, Verschieben, Loeschen };

struct BlockCase {
    std::string name;
    Command command;
    int from;  // block, line numbers
    int to;
    int current;                // line number before the command
    std::vector<int> expected;  // the program afterwards, by original line numbers
    int expectedCurrent;        // line number afterwards
    bool refused;               // message 2
};

std::vector<int> Numbers(std::initializer_list<std::pair<int, int>> ranges) {
    std::vector<int> numbers;
    for (const auto& [first, last] : ranges) {
        Range(numbers, first, last);
    }
    return numbers;
}

class BlockCommandTest : public EditorTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(BlockCommandTest, ChangesTheProgramAndEndsWithoutABlock) {
    const BlockCase& c = GetParam();
    Open(NumberedLines(40));
    MarkBlock(c.from, c.to);
    GoTo(c.current);
    const EditorButton button = c.command == Command::Kopieren      ? EditorButton::Kopieren_1
                                : c.command == Command::Verschieben ? EditorButton::Verschieben_1
                                                                    : EditorButton::Loeschen_1;
    ASSERT_TRUE(editor().Click(button));
    EXPECT_EQ(Lines(), LinesNumbered(c.expected));
    EXPECT_EQ(editor().CurrentLine() + 1, c.expectedCurrent);
    EXPECT_EQ(Messages(),
              c.refused ? std::vector<std::string>{kIntoItself} : std::vector<std::string>{});
    EXPECT_EQ(editor().BlockStart(), TForm2::kNoBlock);
    EXPECT_EQ(editor().BlockEnd(), TForm2::kNoBlock);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::NoBlock);
    EXPECT_FALSE(editor().Edit8Red());
    EXPECT_EQ(editor().Edit8Text(),
              LinesNumbered(c.expected)[static_cast<std::size_t>(editor().CurrentLine())]);
    if (!c.refused) {
        EXPECT_EQ(desk_.cursors,
                  (std::vector<CursorShape>{CursorShape::Hourglass, CursorShape::Arrow}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockCommandTest,
    ::testing::Values(BlockCase{"CopyBehindTheBlock", Command::Kopieren, 10, 20, 30,
                                Numbers({{1, 30}, {10, 20}, {31, 40}}), 41, false},
                      BlockCase{"CopyBeforeTheBlock", Command::Kopieren, 10, 20, 5,
                                Numbers({{1, 5}, {10, 20}, {6, 40}}), 16, false},
                      BlockCase{"CopyOnTheBlocksLastLine", Command::Kopieren, 10, 20, 20,
                                Numbers({{1, 20}, {10, 20}, {21, 40}}), 31, false},
                      BlockCase{"CopyInsideTheBlockIsRefused", Command::Kopieren, 10, 20, 15,
                                Numbers({{1, 40}}), 15, true},
                      BlockCase{"CopyOnTheBlocksFirstLineIsRefused", Command::Kopieren, 10, 20, 10,
                                Numbers({{1, 40}}), 10, true},
                      BlockCase{"CopyAOneLineBlockOntoItself", Command::Kopieren, 7, 7, 7,
                                Numbers({{1, 7}, {7, 40}}), 8, false},
                      BlockCase{"CopyBehindTheLastLine", Command::Kopieren, 1, 2, 40,
                                Numbers({{1, 40}, {1, 2}}), 42, false},
                      BlockCase{"MoveBehindTheBlock", Command::Verschieben, 10, 20, 30,
                                Numbers({{1, 9}, {21, 30}, {10, 20}, {31, 40}}), 30, false},
                      BlockCase{"MoveBeforeTheBlock", Command::Verschieben, 10, 20, 5,
                                Numbers({{1, 5}, {10, 20}, {6, 9}, {21, 40}}), 16, false},
                      BlockCase{"MoveOnTheBlocksLastLineIsRefused", Command::Verschieben, 10, 20,
                                20, Numbers({{1, 40}}), 20, true},
                      BlockCase{"MoveToTheEnd", Command::Verschieben, 1, 3, 40,
                                Numbers({{4, 40}, {1, 3}}), 40, false},
                      BlockCase{"DeleteWithTheCurrentLineInside", Command::Loeschen, 10, 20, 15,
                                Numbers({{1, 9}, {21, 40}}), 9, false},
                      BlockCase{"DeleteWithTheCurrentLineBehind", Command::Loeschen, 10, 20, 30,
                                Numbers({{1, 9}, {21, 40}}), 19, false},
                      BlockCase{"DeleteWithTheCurrentLineBefore", Command::Loeschen, 10, 20, 4,
                                Numbers({{1, 9}, {21, 40}}), 4, false},
                      BlockCase{"DeleteFromTheFirstLine", Command::Loeschen, 1, 5, 3,
                                Numbers({{6, 40}}), 1, false},
                      BlockCase{"DeleteTheEnd", Command::Loeschen, 35, 40, 40, Numbers({{1, 34}}),
                                34, false}),
    CaseName());

TEST_F(EditorTest, DeletingEverythingLeavesAnEmptyProgram) {
    Open(NumberedLines(5));
    MarkBlock(1, 5);
    ASSERT_TRUE(editor().Click(EditorButton::Loeschen_1));
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(editor().CurrentLine(), 0);
    EXPECT_EQ(editor().Edit8Text(), std::string(82, ' '));
}

TEST_F(EditorTest, DeletingABlockMovesClearsOrKeepsTheMarks) {
    struct Marks {
        int f5;
        int f6;
        int f5After;  // line numbers; 0 = cleared
        int f6After;
        std::string label;
    };
    for (const Marks& m :
         {Marks{25, 5, 14, 5, "F5 + F6 = Markiert"}, Marks{15, 25, 0, 14, "F6 = Markiert"},
          Marks{10, 20, 0, 0, ""}, Marks{9, 21, 9, 10, "F5 + F6 = Markiert"}}) {
        Open(NumberedLines(40));
        state_.markF5 = m.f5 - 1;
        state_.markF6 = m.f6 - 1;
        MarkBlock(10, 20);
        GoTo(15);
        ASSERT_TRUE(editor().Click(EditorButton::Loeschen_1));
        EXPECT_EQ(state_.markF5 + 1, m.f5After) << m.f5;
        EXPECT_EQ(state_.markF6 + 1, m.f6After) << m.f6;
        EXPECT_EQ(editor().Label7().text, m.label);
        EXPECT_EQ(editor().CurrentLine() + 1, 9);
    }
}

TEST_F(EditorTest, CopyAndMoveClearTheMarks) {
    for (EditorButton button : {EditorButton::Kopieren_1, EditorButton::Verschieben_1}) {
        Open(NumberedLines(10));
        state_.markF5 = 1;
        state_.markF6 = 8;
        MarkBlock(3, 4);
        GoTo(9);
        ASSERT_TRUE(editor().Click(button));
        EXPECT_EQ(state_.markF5, -1);
        EXPECT_EQ(state_.markF6, -1);
        EXPECT_EQ(editor().Label7().text, "");
    }
}

TEST_F(EditorTest, BisBeforeVonMarksTheBlockInOrder) {
    Open(NumberedLines(20));
    GoTo(12);
    ASSERT_TRUE(editor().Click(EditorButton::Von_1));
    EXPECT_EQ(editor().BlockStart(), 11);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::StartChosen);
    GoTo(4);
    ASSERT_TRUE(editor().Click(EditorButton::Bis_1));
    EXPECT_EQ(editor().BlockStart(), 3);
    EXPECT_EQ(editor().BlockEnd(), 11);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::BlockMarked);
}

struct ButtonRow {
    EditorButton button;
    bool noBlock;
    bool startChosen;
    bool blockMarked;
};

TEST_F(EditorTest, ButtonsFollowTheThreeBlockStates) {
    const std::vector<ButtonRow> table = {
        {EditorButton::Einfuegen, true, true, false},
        {EditorButton::Von_1, true, false, false},
        {EditorButton::Bis_1, false, true, false},
        {EditorButton::Aus_1, false, false, true},
        {EditorButton::Verschieben_1, false, false, true},
        {EditorButton::Loeschen_1, false, false, true},
        {EditorButton::Kopieren_1, false, false, true},
        {EditorButton::Drucken_1, false, false, true},
        {EditorButton::Ueb_1, true, true, true},
        {EditorButton::In_Ablage_1, true, true, true},
        {EditorButton::Aus_Ablage_1, true, true, true},
        {EditorButton::So_Zei_P9, true, true, true},
        {EditorButton::Schliesen_1, true, true, true},
    };
    Open(NumberedLines(10));
    auto expectState = [&](bool ButtonRow::*column, const char* state) {
        for (const ButtonRow& row : table) {
            EXPECT_EQ(editor().Enabled(row.button), row.*column)
                << EditorButtonName(row.button) << " in " << state;
        }
    };
    expectState(&ButtonRow::noBlock, "no block");
    EXPECT_FALSE(editor().Enabled(EditorButton::Weitersuchen));
    EXPECT_FALSE(editor().Click(EditorButton::Bis_1));
    GoTo(3);
    editor().Click(EditorButton::Von_1);
    expectState(&ButtonRow::startChosen, "start chosen");
    EXPECT_FALSE(editor().Click(EditorButton::Von_1));
    GoTo(5);
    editor().Click(EditorButton::Bis_1);
    expectState(&ButtonRow::blockMarked, "block marked");
    EXPECT_FALSE(editor().Click(EditorButton::Einfuegen));
    EXPECT_EQ(Lines().size(), 10u);
    editor().Click(EditorButton::Aus_1);
    expectState(&ButtonRow::noBlock, "no block again");
    EXPECT_EQ(editor().BlockStart(), TForm2::kNoBlock);
}

TEST_F(EditorTest, VonInAnEmptyProgramChoosesNothing) {
    Open({});
    ASSERT_TRUE(editor().Click(EditorButton::Von_1));
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::NoBlock);
    EXPECT_EQ(editor().BlockStart(), TForm2::kNoBlock);
}

TEST_F(EditorTest, AFaultyLineStopsTheBlockCommands) {
    for (EditorButton button : {EditorButton::Kopieren_1, EditorButton::Verschieben_1,
                                EditorButton::Loeschen_1, EditorButton::Aus_1}) {
        Open(NumberedLines(10));
        desk_.dialogs.boxes.clear();
        state_.markF5 = 1;
        MarkBlock(2, 3);
        GoTo(7);
        editor().TypeText("x");
        ASSERT_TRUE(editor().Click(button));
        EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kFaultyLineMessage)})
            << EditorButtonName(button);
        EXPECT_EQ(Lines(), NumberedLines(10));
        EXPECT_EQ(editor().BlockStart(), 1);
        EXPECT_EQ(editor().BlockEnd(), 2);
        EXPECT_EQ(state_.markF5, 1);
    }
}

// ---- Transfer ------------------------------------------------------------------------------

TEST_F(EditorTest, TransferInsertsAnotherProgramAfterTheCurrentLine) {
    WriteProgram(dir_ / "OTHER.WBP", {"K a", "K b", "K c", "K d", "K e", "K f", "K g"});
    Open(NumberedLines(5));
    state_.markF5 = 3;
    GoTo(2);
    desk_.fileDialogs.answers.push_back((dir_ / "other.wbp").string());
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));

    ASSERT_EQ(desk_.fileDialogs.shown.size(), 1u);
    const auto& shown = desk_.fileDialogs.shown[0];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.request.title,
              "\xD6"
              "ffnen");
    ASSERT_EQ(shown.request.filters.size(), 1u);
    EXPECT_EQ(shown.request.filters[0].description, "WBP -  Wissensbasen KELVO");
    EXPECT_EQ(shown.request.filters[0].pattern, "*.wbp");

    EXPECT_EQ(Lines(), (std::vector<std::string>{"K 1", "K 2", "K a", "K b", "K c", "K d", "K e",
                                                 "K f", "K g", "K 3", "K 4", "K 5"}));
    EXPECT_EQ(editor().CurrentLine() + 1, 9);
    EXPECT_EQ(editor().Edit8Text(), "K g");
    EXPECT_EQ(state_.markF5, -1);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::NoBlock);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(LinesOf(dir_ / "OTHER.WBP").size(), 7u);
}

TEST_F(EditorTest, TransferIntoAnEmptyProgramTakesTheLines) {
    WriteProgram(dir_ / "OTHER.WBP", {"K a", "K b", "K c"});
    Open({});
    desk_.fileDialogs.answers.push_back((dir_ / "OTHER.WBP").string());
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"K a", "K b", "K c"}));
    EXPECT_EQ(editor().CurrentLine(), 2);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EditorTest, TransferFromAMissingFileIsMessage102) {
    Open(NumberedLines(3));
    GoTo(3);
    ASSERT_TRUE(editor().Click(EditorButton::Von_1));  // start chosen: still no block
    desk_.fileDialogs.answers.push_back((dir_ / "NONE.WBP").string());
    state_.markF6 = 0;
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Name der Wissensbasis unkorrekt !"});
    EXPECT_EQ(Lines(), NumberedLines(3));
    EXPECT_EQ(state_.markF6, -1);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::StartChosen);
    EXPECT_EQ(editor().BlockStart(), 2);
}

TEST_F(EditorTest, TransferFromAFileThatIsNoKnowledgeBaseIsMessage102) {
    {
        std::ofstream out(dir_ / "BAD.WBP", std::ios::binary);
        out << "not a record file";
    }
    Open(NumberedLines(3));
    desk_.fileDialogs.answers.push_back((dir_ / "BAD.WBP").string());
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Name der Wissensbasis unkorrekt !"});
    EXPECT_EQ(Lines(), NumberedLines(3));
}

TEST_F(EditorTest, CancelledTransferKeepsTheBlockButNotTheMarks) {
    Open(NumberedLines(6));
    state_.markF5 = 4;
    MarkBlock(2, 3);
    desk_.fileDialogs.answers.push_back(std::nullopt);
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_TRUE(desk_.fileDialogs.shown[0].save);
    EXPECT_EQ(editor().BlockStart(), 1);
    EXPECT_EQ(editor().BlockEnd(), 2);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::BlockMarked);
    EXPECT_EQ(state_.markF5, -1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EditorTest, TransferOfABlockWritesANewKnowledgeBase) {
    Open(NumberedLines(10));
    MarkBlock(4, 6);
    GoTo(9);
    desk_.fileDialogs.answers.push_back((dir_ / "teil.wbp").string());
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_EQ(desk_.fileDialogs.shown[0].request.title, "Neu");
    EXPECT_EQ(LinesOf(dir_ / "teil.WBP"), LinesNumbered({4, 5, 6}));
    EXPECT_EQ(Lines(), NumberedLines(10));
    EXPECT_EQ(editor().CurrentLine() + 1, 9);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::NoBlock);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "teil.WBP.partial"));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EditorTest, TransferOfABlockToAnExistingNameIsMessage100) {
    WriteProgram(dir_ / "DA.WBP", {"K old"});
    Open(NumberedLines(10));
    MarkBlock(4, 6);
    desk_.fileDialogs.answers.push_back((dir_ / "da.wbp").string());
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Dateiname schon vergeben !"});
    EXPECT_EQ(LinesOf(dir_ / "DA.WBP"), std::vector<std::string>{"K old"});
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::BlockMarked);
}

TEST_F(EditorTest, TransferOfABlockIntoAMissingFolderIsMessage101) {
    Open(NumberedLines(10));
    MarkBlock(4, 6);
    desk_.fileDialogs.answers.push_back((dir_ / "no" / "such" / "X.WBP").string());
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Wissensbasis konnte nicht angelegt werden !"});
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::BlockMarked);
}

TEST_F(EditorTest, TransferNameWithoutExtensionGetsOne) {
    Open(NumberedLines(4));
    MarkBlock(1, 2);
    desk_.fileDialogs.answers.push_back((dir_ / "neu").string());
    ASSERT_TRUE(editor().Click(EditorButton::Ueb_1));
    EXPECT_EQ(LinesOf(dir_ / "neu.WBP"), LinesNumbered({1, 2}));
}

}  // namespace
}  // namespace kelvo::testing
