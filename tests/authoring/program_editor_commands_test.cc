// The program editor's search, special characters, clipboards, help, start commands and
// block print.

#include <gtest/gtest.h>

#include <fstream>

#include "authoring/program_editor.h"
#include "tests/authoring/editor_fixture.h"
#include "tests/authoring/line_builder.h"

namespace kelvo::testing {
namespace {

// ---- Search --------------------------------------------------------------------------------

const std::vector<std::string> kSearchProgram = {"K 1", "f name (99) . x", "K name und name",
                                                 "K 4", "K noch ein name", "K 6"};

TEST_F(EditorTest, SearchFindsTheUpperCasedTextAndSelectsIt) {
    Open(kSearchProgram);
    desk_.inputBox.answers.push_back("name");
    ASSERT_TRUE(editor().Click(EditorButton::Suchen));
    ASSERT_EQ(desk_.inputBox.shown.size(), 1u);
    EXPECT_EQ(desk_.inputBox.shown[0].title, "Suchen");
    EXPECT_EQ(desk_.inputBox.shown[0].prompt, "Bitte Suchtext eingeben");
    EXPECT_EQ(desk_.inputBox.shown[0].preset, "");
    EXPECT_EQ(editor().SuchString(), "NAME");
    EXPECT_EQ(editor().CurrentLine(), 1);
    EXPECT_EQ(editor().Selection().start, 2);
    EXPECT_EQ(editor().Selection().length, 4);
    EXPECT_EQ(state_.lastFoundLine, 1);
    EXPECT_EQ(state_.lastFoundColumn, 3);
    EXPECT_TRUE(editor().Enabled(EditorButton::Weitersuchen));
}

TEST_F(EditorTest, ContinuedSearchGoesRightThenDownAndEndsWithMessage201) {
    Open(kSearchProgram);
    GoTo(3);
    desk_.inputBox.answers.push_back("Name");
    editor().Click(EditorButton::Suchen);
    struct Hit {
        int line;
        int column;
    };
    EXPECT_EQ(editor().CurrentLine() + 1, 3);
    EXPECT_EQ(state_.lastFoundColumn, 3);
    for (const Hit& hit : {Hit{3, 12}, Hit{5, 12}}) {
        ASSERT_TRUE(editor().Click(EditorButton::Weitersuchen));
        EXPECT_EQ(editor().CurrentLine() + 1, hit.line);
        EXPECT_EQ(state_.lastFoundColumn, hit.column);
        EXPECT_EQ(editor().Selection().start, hit.column - 1);
    }
    ASSERT_TRUE(editor().Click(EditorButton::Weitersuchen));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Keine weiteren Eintr\xE4ge vorhanden !"});
    EXPECT_EQ(editor().CurrentLine() + 1, 5);
    EXPECT_EQ(desk_.inputBox.shown.size(), 1u);
}

TEST_F(EditorTest, ContinuedSearchFromAnotherLineStartsThereAtColumnOne) {
    Open(kSearchProgram);
    desk_.inputBox.answers.push_back("NAME");
    editor().Click(EditorButton::Suchen);
    GoTo(5);
    editor().Click(EditorButton::Weitersuchen);
    EXPECT_EQ(editor().CurrentLine() + 1, 5);
    EXPECT_EQ(state_.lastFoundColumn, 12);
}

TEST_F(EditorTest, SearchWithoutHitIsMessage200AndDoesNotWrap) {
    Open(kSearchProgram);
    GoTo(4);
    desk_.inputBox.answers.push_back("und");
    editor().Click(EditorButton::Suchen);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Suchwort nicht gefunden !"});
    EXPECT_EQ(desk_.beeper.beeps, 1);
    EXPECT_EQ(editor().CurrentLine() + 1, 4);
}

TEST_F(EditorTest, EmptySearchTextMatchesAtOnce) {
    Open(kSearchProgram);
    GoTo(4);
    desk_.inputBox.answers.push_back("");
    editor().Click(EditorButton::Suchen);
    EXPECT_EQ(editor().CurrentLine() + 1, 4);
    EXPECT_EQ(state_.lastFoundColumn, 1);
    EXPECT_EQ(editor().Selection().length, 0);
    EXPECT_FALSE(editor().Enabled(EditorButton::Weitersuchen));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EditorTest, CancelledSearchKeepsTheSearchText) {
    Open(kSearchProgram);
    desk_.inputBox.answers.push_back("noch");
    editor().Click(EditorButton::Suchen);
    EXPECT_EQ(editor().CurrentLine() + 1, 5);
    GoTo(1);
    desk_.inputBox.answers.push_back(std::nullopt);
    editor().Click(EditorButton::Suchen);
    EXPECT_EQ(desk_.inputBox.shown[1].preset, "NOCH");
    EXPECT_EQ(editor().SuchString(), "NOCH");
    EXPECT_EQ(editor().CurrentLine() + 1, 5);
}

TEST_F(EditorTest, SearchStoresTheChangedLineFirstAndRunsOverStoredLines) {
    Open(kSearchProgram);
    editor().TypeText("f zwei (99) . zwei$worte");
    desk_.inputBox.answers.push_back("zwei worte");
    editor().Click(EditorButton::Suchen);
    EXPECT_EQ(editor().CurrentLine(), 0);
    EXPECT_EQ(state_.lastFoundColumn, 41);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EditorTest, SearchTextIsEmptiedWhenTheEditorOpens) {
    Open(kSearchProgram);
    desk_.inputBox.answers.push_back("name");
    editor().Click(EditorButton::Suchen);
    Reopen();
    EXPECT_EQ(editor().SuchString(), "");
    EXPECT_FALSE(editor().Click(EditorButton::Weitersuchen));
}

// ---- Special characters and clipboards -----------------------------------------------------

struct CharacterCase {
    std::string name;
    EditorButton button;
    std::string inserted;
};

class SpecialCharacterTest : public EditorTest,
                             public ::testing::WithParamInterface<CharacterCase> {};

TEST_P(SpecialCharacterTest, ReplacesTheSelection) {
    Open({"K 1"});
    editor().TypeText("K abcd");
    editor().SetSelection(3, 2);
    ASSERT_TRUE(editor().Click(GetParam().button));
    EXPECT_EQ(editor().Edit8Text(), "K a" + GetParam().inserted + "d");
    EXPECT_EQ(editor().Selection().start, 4);
    EXPECT_TRUE(editor().Edit8Changed());
}

INSTANTIATE_TEST_SUITE_P(Buttons, SpecialCharacterTest,
                         ::testing::Values(CharacterCase{"P1", EditorButton::So_Zei_P1, ">"},
                                           CharacterCase{"P2", EditorButton::So_Zei_P2, "\xBB"},
                                           CharacterCase{"P3", EditorButton::So_Zei_P3, "="},
                                           CharacterCase{"P4", EditorButton::So_Zei_P4, "\xAB"},
                                           CharacterCase{"P5", EditorButton::So_Zei_P5, "<"},
                                           CharacterCase{"P6", EditorButton::So_Zei_P6, "."},
                                           CharacterCase{"P7", EditorButton::So_Zei_P7, "|"},
                                           CharacterCase{"P8", EditorButton::So_Zei_P8, "="},
                                           CharacterCase{"P9", EditorButton::So_Zei_P9, "#"}),
                         CaseName());

TEST_F(EditorTest, SpecialCharacterAtTheCaretAndNotBeyondEightyTwo) {
    Open({"K 1"});
    editor().TypeText("K ab");
    ASSERT_TRUE(editor().Click(EditorButton::So_Zei_P4));
    EXPECT_EQ(editor().Edit8Text(), "K ab\xAB");
    editor().TypeText(std::string(82, 'K'));
    editor().Click(EditorButton::So_Zei_P1);
    EXPECT_EQ(editor().Edit8Text(), std::string(82, 'K'));
}

TEST_F(EditorTest, ClipboardsCopyTheSelectionAndPasteIt) {
    Open({"K 1"});
    desk_.clipboard.text = "keep";
    editor().TypeText("J [+SYSTEM_VAR_0001] . (12)");
    editor().SetSelection(0, 0);
    editor().Click(EditorButton::In_Ablage_1);  // nothing selected: the clipboard stays
    EXPECT_EQ(desk_.clipboard.text, "keep");
    editor().SetSelection(3, 16);
    editor().Click(EditorButton::In_Ablage_1);
    EXPECT_EQ(desk_.clipboard.text, "+SYSTEM_VAR_0001");
    editor().SetSelection(23, 4);
    editor().Click(EditorButton::In_Ablage_2);
    EXPECT_EQ(state_.ablage2Text, "(12)");
    editor().SetSelection(0, 1);
    editor().Click(EditorButton::In_Ablage_3);
    EXPECT_EQ(state_.ablage3Text, "J");

    editor().TypeText("K ");
    editor().Click(EditorButton::Aus_Ablage_2);
    EXPECT_EQ(editor().Edit8Text(), "K (12)");
    editor().SetSelection(2, 4);
    editor().Click(EditorButton::Aus_Ablage_3);
    EXPECT_EQ(editor().Edit8Text(), "K J");
    desk_.clipboard.text = " one\r\ntwo";
    editor().Click(EditorButton::Aus_Ablage_1);
    EXPECT_EQ(editor().Edit8Text(), "K J one");
    EXPECT_TRUE(editor().Edit8Changed());
    EXPECT_EQ(Lines(), std::vector<std::string>{"K 1"});  // nothing checked or stored
}

TEST_F(EditorTest, ClipboardTextsOutliveTheEditor) {
    state_.ablage2Text = "J [+SYSTEM_VAR_0001] . (10)";
    Open({"K 1"});
    editor().TypeText("");
    editor().Click(EditorButton::Aus_Ablage_2);
    editor().PressKey(EditorKey::Down);
    EXPECT_EQ(Lines()[0].substr(0, 20), "J [+SYSTEM_VAR_0001]");
}

// ---- Help ----------------------------------------------------------------------------------

struct TopicCase {
    std::string name;
    std::string line;
    std::string topic;
};

class HelpTopicTest : public ::testing::TestWithParam<TopicCase> {};

TEST_P(HelpTopicTest, ChosenByTheFirstCharacter) {
    EXPECT_EQ(HelpTopicFor(GetParam().line), GetParam().topic);
}

INSTANTIATE_TEST_SUITE_P(
    Topics, HelpTopicTest,
    ::testing::Values(TopicCase{"R", "R X . y", "Regeln"}, TopicCase{"LowerU", "u x", "Regeln"},
                      TopicCase{"O", "O", "Regeln"}, TopicCase{"B", "B", "Aufgaben"},
                      TopicCase{"Action", "= (V)", "Aufgaben"},
                      TopicCase{"Read", "\xAB X", "WB_lesen"}, TopicCase{"W", "w", "WB_lesen"},
                      TopicCase{"V", "V", "Variablen"}, TopicCase{"J", "j", "Variablen"},
                      TopicCase{"H", "H", "Rechnen"}, TopicCase{"M", "m", "Rechnen"},
                      TopicCase{"C", "C", "Texte_d"}, TopicCase{"N", "N", "Texte_n"},
                      TopicCase{"T", "t", "Texte_n"}, TopicCase{"Write", "\xBB", "WB_schreiben"},
                      TopicCase{"X", "X", "Rueck"}, TopicCase{"Y", "y", "Rueck"},
                      TopicCase{"Z", "Z", "Ziel"}, TopicCase{"F", "f", "Fakten"},
                      TopicCase{"K", "K", "Kommentare"}, TopicCase{"G", "g", "Media"},
                      TopicCase{"P", "p", "Projekt"}, TopicCase{"Empty", "", "liesmich"},
                      TopicCase{"Blank", " ", "liesmich"},
                      TopicCase{"UmlautIsNotFolded", "\xE4", "liesmich"},
                      TopicCase{"Other", "Q", "liesmich"}),
    CaseName());

TEST_F(EditorTest, HelpOpensTheTopicDocumentBesideTheProgram) {
    desk_.services.helpFolder = dir_.path();
    std::ofstream(dir_ / "Regeln.pdf") << "pdf";
    Open({"u x (90) . y", "K 2"});
    editor().PressKey(EditorKey::F1);
    ASSERT_TRUE(editor().Click(EditorButton::Button1));
    EXPECT_EQ(desk_.shell.opened, (std::vector<std::string>{(dir_ / "Regeln.pdf").string(),
                                                            (dir_ / "Regeln.pdf").string()}));
    EXPECT_TRUE(Messages().empty());

    ASSERT_TRUE(editor().Click(EditorButton::Hilfe_1));
    EXPECT_EQ(desk_.shell.opened.back(), (dir_ / "liesmich.pdf").string());
    ASSERT_EQ(desk_.dialogs.boxes.size(), 1u);
    EXPECT_EQ(desk_.dialogs.boxes[0].text, "Hilfedatei konnte nicht aufgerufen werden !");
    EXPECT_EQ(desk_.dialogs.boxes[0].caption, "Fehlermeldung");
    EXPECT_EQ(desk_.dialogs.boxes[0].icon, MessageIcon::Warning);
}

TEST_F(EditorTest, HelpOnAnEmptyLineIsTheGeneralDocument) {
    Open({});
    editor().PressKey(EditorKey::F1);
    EXPECT_EQ(desk_.shell.opened, std::vector<std::string>{"liesmich.pdf"});
}

// ---- Starting ------------------------------------------------------------------------------

TEST_F(EditorTest, StartenClosesWithAStartRequestAndKeepsTheMarks) {
    Open(NumberedLines(10));
    GoTo(6);
    editor().PressKey(EditorKey::F5);
    state_.breakpointLine = 3;
    editor().TypeText("K neu");
    ASSERT_TRUE(editor().Click(EditorButton::Schliesen_Starten));
    EXPECT_TRUE(editor().Closed());
    EXPECT_TRUE(state_.editorStartRequested);
    EXPECT_EQ(state_.breakpointLine, 0);
    EXPECT_EQ(state_.errorLine, 5);
    EXPECT_EQ(state_.markF5, 5);
    EXPECT_EQ(Lines()[5], "K neu");
}

TEST_F(EditorTest, StartenOnAFaultyLineStaysOpen) {
    Open(NumberedLines(10));
    editor().TypeText("x");
    editor().Click(EditorButton::Schliesen_Starten);
    EXPECT_FALSE(editor().Closed());
    EXPECT_FALSE(state_.editorStartRequested);
}

struct BreakpointCase {
    std::string name;
    std::string line;
    bool allowed;
};

class BreakpointTest : public EditorTest, public ::testing::WithParamInterface<BreakpointCase> {};

TEST_P(BreakpointTest, OnlyWhereAConsultationCanStop) {
    EXPECT_EQ(IsBreakpointAllowed(GetParam().line), GetParam().allowed);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BreakpointTest,
    ::testing::Values(
        BreakpointCase{"Rule", "R X . y", true}, BreakpointCase{"Read", "\xAB X . y", true},
        BreakpointCase{"Variables", "V", true}, BreakpointCase{"Compute", "H", true},
        BreakpointCase{"Print", "C", true}, BreakpointCase{"Show", "N", true},
        BreakpointCase{"Write", "\xBB", true}, BreakpointCase{"Back", "X", true},
        BreakpointCase{"ActionRead", "= (\xAB)", true}, BreakpointCase{"ActionV", "= (V)", true},
        BreakpointCase{"ActionH", "= (H)", true}, BreakpointCase{"ActionC", "= (C)", true},
        BreakpointCase{"ActionN", "= (N)", true}, BreakpointCase{"ActionWrite", "= (\xBB)", true},
        BreakpointCase{"ActionLowerCase", "= (v)", false},
        BreakpointCase{"LowerCaseRule", "r x . y", false},
        BreakpointCase{"Text", "T  Hallo", false}, BreakpointCase{"Condition", "U X . y", false},
        BreakpointCase{"Task", "B X . y", false}, BreakpointCase{"Empty", "", false}),
    CaseName());

TEST_F(EditorTest, StartenHaltepunktOnATextLineIsRefused) {
    Open({"K 1", "T  Hallo", "K 3"});
    GoTo(2);
    ASSERT_TRUE(editor().Click(EditorButton::Starten_Haltepunkt));
    EXPECT_FALSE(editor().Closed());
    ASSERT_EQ(desk_.dialogs.boxes.size(), 1u);
    EXPECT_EQ(desk_.dialogs.boxes[0].text, "Kein zul\xE4ssiger Haltepunkt !");
    EXPECT_EQ(desk_.dialogs.boxes[0].caption, "Fehlermeldung");
    EXPECT_EQ(desk_.dialogs.boxes[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(state_.editorStartRequested);
    // Closing sets the breakpoint anew, so the refused one does not outlive the editor.
    editor().Click(EditorButton::Schliesen_1);
    EXPECT_EQ(state_.breakpointLine, 0);
}

TEST_F(EditorTest, StartenHaltepunktOnARuleLineClosesWithTheBreakpoint) {
    std::vector<std::string> program = NumberedLines(39);
    program.push_back("r ziel . ja");
    program.push_back("u x (90) . y");
    Open(program);
    GoTo(40);
    ASSERT_TRUE(editor().Click(EditorButton::Starten_Haltepunkt));
    EXPECT_TRUE(editor().Closed());
    EXPECT_EQ(state_.breakpointLine, 40);
    EXPECT_EQ(state_.errorLine, 39);
    EXPECT_TRUE(state_.editorStartRequested);
}

// ---- Print ---------------------------------------------------------------------------------

TEST_F(EditorTest, PrintPutsSixtyThreeLinesOnAPageAfterThreeEmptyLines) {
    Open(NumberedLines(80));
    MarkBlock(5, 74);
    ASSERT_TRUE(editor().Click(EditorButton::Drucken_1));
    const RecordingPrinter& printer = desk_.printer;
    EXPECT_EQ(printer.font, "Courier New");
    EXPECT_EQ(printer.points, 10);
    EXPECT_TRUE(printer.ended);
    ASSERT_EQ(printer.pages.size(), 2u);
    ASSERT_EQ(printer.pages[0].size(), 72u);  // 3 empty, 63 lines, then filled to the end
    ASSERT_EQ(printer.pages[1].size(), 10u);  // 3 empty, 7 lines
    for (const auto& page : printer.pages) {
        EXPECT_EQ(page[0], "");
        EXPECT_EQ(page[1], "");
        EXPECT_EQ(page[2], "");
    }
    EXPECT_EQ(printer.pages[0][3], "     " + PadRight("K 5", 82));
    EXPECT_EQ(printer.pages[0][65], "     " + PadRight("K 67", 82));
    EXPECT_EQ(printer.pages[0][66], "");
    EXPECT_EQ(printer.pages[1][3], "     " + PadRight("K 68", 82));
    EXPECT_EQ(printer.pages[1][9], "     " + PadRight("K 74", 82));
    EXPECT_EQ(desk_.progress.shows, 1);
    EXPECT_EQ(desk_.progress.closes, 1);
    EXPECT_EQ(desk_.progress.pumps, 70);
    EXPECT_GE(desk_.ticks.slept, 70u * 100u);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::NoBlock);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EditorTest, PrintOfExactlyOnePageBeginsNoSecond) {
    Open(NumberedLines(63));
    MarkBlock(1, 63);
    editor().Click(EditorButton::Drucken_1);
    ASSERT_EQ(desk_.printer.pages.size(), 1u);
    EXPECT_EQ(desk_.printer.pages[0].size(), 66u);
}

TEST_F(EditorTest, PrintAbortStopsBeforeTheNextLine) {
    Open(NumberedLines(10));
    MarkBlock(1, 10);
    desk_.progress.abortAtPump = 3;
    editor().Click(EditorButton::Drucken_1);
    EXPECT_TRUE(desk_.printer.aborted);
    EXPECT_FALSE(desk_.printer.ended);
    EXPECT_EQ(desk_.printer.pages[0].size(), 5u);  // 3 empty and 2 lines were sent
    EXPECT_EQ(Messages(), std::vector<std::string>{"Druckvorgang wurde abgebrochen"});
    EXPECT_EQ(desk_.beeper.beeps, 1);
    EXPECT_EQ(desk_.progress.closes, 1);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::NoBlock);
}

TEST_F(EditorTest, PrintWithoutPrinterTellsTheAuthor) {
    desk_.services.printer = nullptr;
    Open(NumberedLines(10));
    MarkBlock(1, 10);
    editor().Click(EditorButton::Drucken_1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(desk_.progress.shows, 0);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::NoBlock);
}

TEST_F(EditorTest, FailingPrinterAbortsTheJobAndSaysSo) {
    Open(NumberedLines(10));
    MarkBlock(1, 10);
    desk_.printer.failAtLine = 6;
    editor().Click(EditorButton::Drucken_1);
    EXPECT_TRUE(desk_.printer.aborted);
    EXPECT_FALSE(desk_.printer.ended);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("Drucker meldet einen Fehler"), std::string::npos);
    EXPECT_EQ(desk_.progress.closes, 1);
}

TEST_F(EditorTest, PrintOfAFaultyLineDoesNothing) {
    Open(NumberedLines(10));
    MarkBlock(1, 3);
    editor().TypeText("x");
    editor().Click(EditorButton::Drucken_1);
    EXPECT_EQ(desk_.printer.jobs, 0);
    EXPECT_EQ(editor().ButtonState(), TForm2::BlockButtons::BlockMarked);
}

}  // namespace
}  // namespace kelvo::testing
