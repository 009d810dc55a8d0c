// The program editor's display, line field, moves, inserting, marks, closing and window.

#include "authoring/program_editor.h"

#include <gtest/gtest.h>

#include "tests/authoring/editor_fixture.h"
#include "tests/authoring/line_builder.h"

namespace kelvo::testing {
namespace {

const std::string kFaulty(kFaultyLineMessage);

TEST_F(EditorTest, OpensOnErrorLineLimitedToTheLastRecord) {
    state_.errorLine = 3;
    Open(NumberedLines(9));
    EXPECT_EQ(editor().CurrentLine(), 3);
    EXPECT_EQ(editor().Edit8Text(), "K 4");
    EXPECT_FALSE(editor().Edit8Changed());

    state_.errorLine = 50;
    Reopen();
    EXPECT_EQ(editor().CurrentLine(), 8);
    EXPECT_EQ(editor().Counter(), "Zeile =      9");
    EXPECT_EQ(editor().ScrollBar().position, 8);
    EXPECT_EQ(editor().ScrollBar().maximum, 8);
}

TEST_F(EditorTest, RowsShowEightyTwoCharactersAndABlankAroundTheCurrentLine) {
    Open(NumberedLines(9));
    GoTo(3);
    for (int offset : {-7, -3}) {
        EXPECT_EQ(editor().Row(offset).text, std::string(83, ' ')) << offset;
    }
    EXPECT_EQ(editor().Row(-2).text, PadRight("K 1", 83));
    EXPECT_EQ(editor().Row(-1).text, PadRight("K 2", 83));
    EXPECT_EQ(editor().Row(1).text, PadRight("K 4", 83));
    EXPECT_EQ(editor().Row(6).text, PadRight("K 9", 83));
    EXPECT_EQ(editor().Row(7).text, std::string(83, ' '));
    EXPECT_EQ(editor().Edit8Text(), "K 3");
}

TEST_F(EditorTest, TypedLineIsStoredNormalizedWhenLeavingIt) {
    Open(NumberedLines(3));
    editor().TypeText("f x (1) . a$b");
    EXPECT_TRUE(editor().Edit8Changed());
    editor().PressKey(EditorKey::Down);
    const std::string stored = Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}, {41, "a b"}});
    EXPECT_EQ(Record(0), stored);
    EXPECT_EQ(editor().CurrentLine(), 1);
    EXPECT_EQ(editor().Row(-1).text, stored + " ");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EditorTest, FaultyLineIsRefusedAndTheEditorStaysOnIt) {
    Open(NumberedLines(3));
    GoTo(2);
    editor().TypeText("u x . y");
    editor().PressKey(EditorKey::Down);
    EXPECT_EQ(Messages(), std::vector<std::string>{kFaulty});
    EXPECT_EQ(desk_.beeper.beeps, 1);
    EXPECT_EQ(desk_.dialogs.boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(editor().CurrentLine(), 1);
    EXPECT_EQ(editor().Edit8Text(), "u x . y");
    EXPECT_TRUE(editor().Edit8Changed());
    EXPECT_EQ(Lines(), NumberedLines(3));

    // Every command that checks keeps refusing until the line is corrected.
    editor().Click(EditorButton::Einfuegen);
    editor().Click(EditorButton::Schliesen_1);
    EXPECT_FALSE(editor().Closed());
    EXPECT_EQ(Messages().size(), 3u);
    editor().TypeText("K fixed");
    editor().PressKey(EditorKey::Up);
    EXPECT_EQ(editor().CurrentLine(), 0);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"K 1", "K fixed", "K 3"}));
}

TEST_F(EditorTest, TypingIsCutAtEightyTwoCharactersAndIgnoredWhileEnterIsHeld) {
    Open(NumberedLines(2));
    editor().TypeText("K " + std::string(100, 'x'));
    EXPECT_EQ(editor().Edit8Text().size(), 82u);
    EXPECT_EQ(editor().Selection().start, 82);

    editor().Edit8KeyDown(EditorKey::Enter);
    EXPECT_TRUE(editor().Edit8ReadOnly());
    editor().TypeText("K typed while held");
    EXPECT_EQ(editor().Edit8Text(), "K");
    editor().Edit8KeyUp(EditorKey::Enter);
    EXPECT_FALSE(editor().Edit8ReadOnly());
}

struct MoveCase {
    std::string name;
    int lines;
    int startLine;                     // line number, from 1
    std::vector<std::string> program;  // replaces the numbered lines when given
    int action;                        // 0 key, 1 button
    EditorKey key;
    EditorButton button;
    int expectedLine;
};

class MoveTest : public EditorTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveTest, EndsOnTheExpectedLine) {
    const MoveCase& c = GetParam();
    Open(c.program.empty() ? NumberedLines(c.lines) : c.program);
    GoTo(c.startLine);
    if (c.action == 0) {
        editor().PressKey(c.key);
    } else {
        ASSERT_TRUE(editor().Click(c.button));
    }
    EXPECT_EQ(editor().CurrentLine() + 1, c.expectedLine);
    EXPECT_TRUE(Messages().empty());
}

const std::vector<std::string> kProjectProgram = {"K 1", "P 2", "K 3", "K 4", "P 5",
                                                  "K 6", "K 7", "P 8", "K 9"};

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveTest,
    ::testing::Values(
        MoveCase{"PageDownStopsAtTheLastLine", 9, 5, {}, 0, EditorKey::PageDown, {}, 9},
        MoveCase{"PageUpStopsAtTheFirstLine", 9, 3, {}, 0, EditorKey::PageUp, {}, 1},
        MoveCase{"PageDownTenLines", 30, 5, {}, 0, EditorKey::PageDown, {}, 15},
        MoveCase{"PageUpTenLines", 30, 25, {}, 0, EditorKey::PageUp, {}, 15},
        MoveCase{"DownOneLine", 9, 5, {}, 0, EditorKey::Down, {}, 6},
        MoveCase{"DownOnTheLastLineStays", 9, 9, {}, 0, EditorKey::Down, {}, 9},
        MoveCase{"UpOnTheFirstLineStays", 9, 1, {}, 0, EditorKey::Up, {}, 1},
        MoveCase{"AnfangGoesToTheFirstLine", 9, 7, {}, 1, {}, EditorButton::Anfang, 1},
        MoveCase{"EndeGoesToTheLastLine", 9, 2, {}, 1, {}, EditorButton::Ende, 9},
        MoveCase{
            "PlusGoesToTheNextProjectLine", 0, 2, kProjectProgram, 1, {}, EditorButton::Plus_1, 5},
        MoveCase{"PlusWithoutProjectLineAfterGoesToTheLast",
                 0,
                 8,
                 kProjectProgram,
                 1,
                 {},
                 EditorButton::Plus_1,
                 9},
        MoveCase{"MinusGoesToTheNearestEarlierProjectLine",
                 0,
                 8,
                 kProjectProgram,
                 1,
                 {},
                 EditorButton::Minus_1,
                 5},
        MoveCase{
            "MinusFromBetweenProjectLines", 0, 7, kProjectProgram, 1, {}, EditorButton::Minus_1, 5},
        MoveCase{"MinusWithoutProjectLineBeforeGoesToTheFirst",
                 0,
                 2,
                 kProjectProgram,
                 1,
                 {},
                 EditorButton::Minus_1,
                 1},
        MoveCase{"MinusWithoutAnyProjectLine", 9, 6, {}, 1, {}, EditorButton::Minus_1, 1},
        MoveCase{"PlusWithoutAnyProjectLine", 9, 3, {}, 1, {}, EditorButton::Plus_1, 9}),
    CaseName());

TEST_F(EditorTest, RowClickMovesToAnExistingLineOnly) {
    Open(NumberedLines(5));
    GoTo(3);
    editor().Text1Click(-2);
    EXPECT_EQ(editor().CurrentLine(), 0);
    editor().Text1Click(7);  // no line 8
    EXPECT_EQ(editor().CurrentLine(), 0);
    editor().Text1Click(4);
    EXPECT_EQ(editor().CurrentLine(), 4);
}

TEST_F(EditorTest, RowClickStoresTheChangedLineFirstAndStaysOnAFaultyOne) {
    Open(NumberedLines(5));
    editor().TypeText("K new");
    editor().Text1Click(2);
    EXPECT_EQ(editor().CurrentLine(), 2);
    EXPECT_EQ(Lines()[0], "K new");

    editor().TypeText("x");
    editor().Text1Click(-1);
    EXPECT_EQ(editor().CurrentLine(), 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{kFaulty});
}

TEST_F(EditorTest, ScrollBarMovesWithoutStoringTheTyping) {
    Open(NumberedLines(20));
    editor().TypeText("K typed");
    editor().ScrollBar1Scroll(12);
    EXPECT_EQ(editor().CurrentLine(), 12);
    EXPECT_EQ(Lines(), NumberedLines(20));
    EXPECT_FALSE(editor().Edit8Changed());
    editor().ScrollBar1Scroll(99);
    EXPECT_EQ(editor().CurrentLine(), 19);
}

TEST_F(EditorTest, TwoWheelMessagesMoveOneLine) {
    Open(kProjectProgram);
    editor().MouseWheelHandler(-120);
    EXPECT_EQ(editor().CurrentLine(), 0);
    editor().MouseWheelHandler(-120);
    EXPECT_EQ(editor().CurrentLine(), 1);
    editor().MouseWheelHandler(120);
    editor().MouseWheelHandler(120);
    EXPECT_EQ(editor().CurrentLine(), 0);
}

TEST_F(EditorTest, WheelPageModeJumpsBetweenProjectLinesAndTheMiddleButtonTogglesIt) {
    Open(kProjectProgram);
    editor().FormMouseDown(MouseButton::Middle);
    EXPECT_TRUE(state_.wheelPageMode);
    EXPECT_GT(desk_.ticks.slept, 100u);
    for (int i = 0; i < 4; ++i) {
        editor().MouseWheelHandler(-120);
    }
    EXPECT_EQ(editor().CurrentLine() + 1, 5);
    editor().MouseWheelHandler(120);
    editor().MouseWheelHandler(120);
    EXPECT_EQ(editor().CurrentLine() + 1, 2);

    editor().FormMouseDown(MouseButton::Left);
    EXPECT_TRUE(state_.wheelPageMode);
    editor().FormMouseDown(MouseButton::Middle);
    EXPECT_FALSE(state_.wheelPageMode);
    Reopen();
    EXPECT_FALSE(state_.wheelPageMode);
}

TEST_F(EditorTest, EnterOnTheLastLineAppendsAnEmptyCommentLine) {
    Open(NumberedLines(3));
    GoTo(3);
    editor().PressKey(EditorKey::Enter);
    ASSERT_EQ(Lines().size(), 4u);
    EXPECT_EQ(Record(3), "K" + std::string(82, ' '));
    EXPECT_EQ(editor().CurrentLine(), 3);
    EXPECT_EQ(editor().Edit8Text(), "K");
}

TEST_F(EditorTest, EnterInTheMiddleMovesTheLinesBehindAndTheMarksAfterIt) {
    Open(NumberedLines(10));
    GoTo(7);
    editor().PressKey(EditorKey::F5);
    GoTo(2);
    editor().PressKey(EditorKey::F6);
    GoTo(4);
    editor().PressKey(EditorKey::Enter);
    std::vector<std::string> expected = LinesNumbered({1, 2, 3, 4});
    expected.push_back("K");
    for (const std::string& line : LinesNumbered({5, 6, 7, 8, 9, 10})) {
        expected.push_back(line);
    }
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(editor().CurrentLine() + 1, 5);
    EXPECT_EQ(state_.markF5 + 1, 8);
    EXPECT_EQ(state_.markF6 + 1, 2);
}

TEST_F(EditorTest, InsertingLeavesTheBlockWhereItWas) {
    Open(NumberedLines(10));
    MarkBlock(5, 6);
    GoTo(2);
    editor().PressKey(EditorKey::Enter);  // the key works although the button is off
    EXPECT_FALSE(editor().Enabled(EditorButton::Einfuegen));
    EXPECT_EQ(Lines().size(), 11u);
    EXPECT_EQ(editor().BlockStart(), 4);
    EXPECT_EQ(editor().BlockEnd(), 5);
}

TEST_F(EditorTest, EmptyFileShowsBlanksAndTakesItsFirstLine) {
    Open({});
    EXPECT_EQ(editor().CurrentLine(), 0);
    EXPECT_EQ(editor().Edit8Text(), std::string(82, ' '));
    EXPECT_EQ(editor().Row(-1).text, std::string(83, ' '));
    EXPECT_EQ(editor().Row(1).text, std::string(83, ' '));
    EXPECT_EQ(editor().ScrollBar().maximum, 0);
    EXPECT_EQ(editor().Counter(), "Zeile =      1");

    editor().TypeText("z ziel");
    editor().PressKey(EditorKey::Down);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Z ZIEL"});
    EXPECT_EQ(editor().CurrentLine(), 0);
}

TEST_F(EditorTest, EinfuegenInAnEmptyFileInsertsTheFirstLine) {
    Open({});
    ASSERT_TRUE(editor().Click(EditorButton::Einfuegen));
    EXPECT_EQ(Lines(), std::vector<std::string>{"K"});
    EXPECT_EQ(editor().CurrentLine(), 0);
    editor().PressKey(EditorKey::Enter);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"K", "K"}));
    EXPECT_EQ(editor().CurrentLine(), 1);
}

TEST_F(EditorTest, F5GoesBackToItsLineAndStoresTheChangedLineWhereItIs) {
    Open(NumberedLines(20));
    GoTo(12);
    editor().PressKey(EditorKey::F5);
    EXPECT_EQ(editor().Label7().text, "F5 = Markiert");
    EXPECT_TRUE(editor().Label7().red);
    editor().PressKey(EditorKey::Down);
    editor().PressKey(EditorKey::Down);
    editor().TypeText("K changed");
    editor().PressKey(EditorKey::F5);
    EXPECT_EQ(editor().CurrentLine() + 1, 12);
    EXPECT_EQ(editor().Label7().text, "");
    EXPECT_FALSE(editor().Label7().red);
    EXPECT_EQ(state_.markF5, -1);
    EXPECT_EQ(Lines()[13], "K changed");
    EXPECT_EQ(Lines()[11], "K 12");
}

TEST_F(EditorTest, MarkGoesAlsoWhenAFaultyLineStopsTheMove) {
    Open(NumberedLines(20));
    GoTo(3);
    editor().PressKey(EditorKey::F6);
    GoTo(9);
    editor().TypeText("x");
    editor().PressKey(EditorKey::F6);
    EXPECT_EQ(editor().CurrentLine() + 1, 9);
    EXPECT_EQ(state_.markF6, -1);
    EXPECT_EQ(Messages(), std::vector<std::string>{kFaulty});
}

struct LabelCase {
    std::string name;
    int markF5;
    int markF6;
    std::string text;
    bool red;
};

class MarkLabelTest : public EditorTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(MarkLabelTest, ShowsTheMarksThatAreSet) {
    state_.markF5 = GetParam().markF5;
    state_.markF6 = GetParam().markF6;
    Open(NumberedLines(5));
    EXPECT_EQ(editor().Label7().text, GetParam().text);
    EXPECT_EQ(editor().Label7().red, GetParam().red);
}

INSTANTIATE_TEST_SUITE_P(Labels, MarkLabelTest,
                         ::testing::Values(LabelCase{"None", -1, -1, "", false},
                                           LabelCase{"F5", 2, -1, "F5 = Markiert", true},
                                           LabelCase{"F6", -1, 0, "F6 = Markiert", true},
                                           LabelCase{"Both", 1, 3, "F5 + F6 = Markiert", true}),
                         CaseName());

TEST_F(EditorTest, SecondF5WithF6SetLeavesTheF6Label) {
    Open(NumberedLines(10));
    GoTo(2);
    editor().PressKey(EditorKey::F5);
    GoTo(4);
    editor().PressKey(EditorKey::F6);
    EXPECT_EQ(editor().Label7().text, "F5 + F6 = Markiert");
    editor().PressKey(EditorKey::F5);
    EXPECT_EQ(editor().Label7().text, "F6 = Markiert");
    EXPECT_EQ(editor().CurrentLine(), 1);
}

TEST_F(EditorTest, AbbruchDiscardsTypingAndReopensOnTheSameLine) {
    Open(NumberedLines(10));
    GoTo(6);
    editor().PressKey(EditorKey::F5);
    state_.breakpointLine = 4;
    editor().TypeText("K typed");
    ASSERT_TRUE(editor().Click(EditorButton::Abbruch));
    EXPECT_TRUE(editor().Closed());
    EXPECT_FALSE(state_.editorStartRequested);
    EXPECT_EQ(Lines(), NumberedLines(10));
    EXPECT_EQ(state_.markF5, -1);
    EXPECT_EQ(state_.breakpointLine, 0);
    Reopen();
    EXPECT_EQ(editor().CurrentLine() + 1, 6);
    EXPECT_EQ(editor().Edit8Text(), "K 6");
}

TEST_F(EditorTest, SchliessenStoresTheLineAndRemembersIt) {
    Open(NumberedLines(10));
    GoTo(8);
    editor().PressKey(EditorKey::F6);
    editor().TypeText("K stored");
    ASSERT_TRUE(editor().Click(EditorButton::Schliesen_1));
    EXPECT_TRUE(editor().Closed());
    EXPECT_EQ(state_.errorLine, 7);
    EXPECT_EQ(state_.markF6, -1);
    EXPECT_EQ(Lines()[7], "K stored");
    EXPECT_FALSE(editor().Click(EditorButton::Ende));  // a closed editor takes no clicks
}

TEST_F(EditorTest, SchliessenOnAFaultyLineStaysOpenButClearsTheMarks) {
    Open(NumberedLines(10));
    editor().PressKey(EditorKey::F5);
    editor().TypeText("x");
    editor().Click(EditorButton::Schliesen_1);
    EXPECT_FALSE(editor().Closed());
    EXPECT_EQ(state_.markF5, -1);
    EXPECT_EQ(Messages(), std::vector<std::string>{kFaulty});
}

TEST_F(EditorTest, ShowsFillCharactersOfATextValueAndStoresTheLineUnchanged) {
    Open({"f name (99) . two$words", "K 2"});
    const std::string before = Record(0);
    ASSERT_TRUE(editor().Click(EditorButton::CheckBox1));
    EXPECT_TRUE(editor().Markierungszeichen());
    const std::string expected =
        PadRight(before.substr(0, 40), 40) + "two$words" + std::string(70 - 49, '$');
    EXPECT_EQ(editor().Edit8Text(), expected);
    EXPECT_TRUE(editor().Edit8Changed());
    editor().PressKey(EditorKey::Down);
    EXPECT_EQ(Record(0), before);
    EXPECT_TRUE(Messages().empty());
    // A line without a text value is shown as it is, but marked changed all the same.
    EXPECT_EQ(editor().Edit8Text(), "K 2");
    EXPECT_TRUE(editor().Edit8Changed());
}

TEST_F(EditorTest, BlockRowsAreRed) {
    Open(NumberedLines(10));
    MarkBlock(4, 6);
    GoTo(5);
    EXPECT_TRUE(editor().Edit8Red());
    EXPECT_TRUE(editor().Row(-1).red);
    EXPECT_FALSE(editor().Row(-2).red);
    EXPECT_TRUE(editor().Row(1).red);
    EXPECT_FALSE(editor().Row(2).red);
}

struct ScaleCase {
    std::string name;
    int width;
    int height;
    double factor;
    int windowWidth;
    int windowHeight;
};

class ScaleTest : public EditorTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaleTest, ScreenDecidesTheStep) {
    desk_.services.screenWidth = GetParam().width;
    desk_.services.screenHeight = GetParam().height;
    Open({"K"});
    EXPECT_DOUBLE_EQ(editor().ScaleFactor(), GetParam().factor);
    EXPECT_EQ(editor().Window().left, 25);
    EXPECT_EQ(editor().Window().top, 10);
    EXPECT_EQ(editor().Window().width, GetParam().windowWidth);
    EXPECT_EQ(editor().Window().height, GetParam().windowHeight);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScaleTest,
                         ::testing::Values(ScaleCase{"Small", 640, 480, 0.97, 631, 407},
                                           ScaleCase{"WideButLow", 1600, 599, 0.97, 631, 407},
                                           ScaleCase{"Svga", 800, 600, 1.144, 744, 458},
                                           ScaleCase{"Xga", 1024, 768, 1.4286, 929, 571},
                                           ScaleCase{"XgaWideButLow", 1920, 900, 1.4286, 929, 571},
                                           ScaleCase{"Sxga", 1280, 960, 1.9, 1235, 760},
                                           ScaleCase{"Uxga", 1920, 1200, 1.9, 1235, 760}),
                         CaseName());

TEST(EditorLayout, EveryButtonHasItsComponentAndNameRoundTrips) {
    for (EditorButton button : AllEditorButtons()) {
        const std::string_view name = EditorButtonName(button);
        EXPECT_NE(FindEditorComponent(name), nullptr) << name;
        EXPECT_EQ(EditorButtonNamed(name), button) << name;
    }
    EXPECT_EQ(EditorButtonNamed("Von"), std::nullopt);
    EXPECT_EQ(FindEditorComponent("Edit8")->width, 649);
    EXPECT_EQ(FindEditorComponent("Text15")->top, 210);
    EXPECT_EQ(FindEditorComponent("So_Zei_P4")->caption, "\xAB");
    EXPECT_EQ(FindEditorComponent("Schliesen_1")->caption,
              "Schlie\xDF"
              "en");
    for (EditorKey key : {EditorKey::Up, EditorKey::PageDown, EditorKey::Enter, EditorKey::F6}) {
        EXPECT_EQ(EditorKeyNamed(EditorKeyName(key)), key);
    }
}

}  // namespace
}  // namespace kelvo::testing
