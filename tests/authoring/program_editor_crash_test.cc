// The editor's commands that change many records, with a failing disk at every step of their
// writes: the file holds the old or the new program, nothing is left beside it, the author is
// told, and the editor goes on with the program the file holds.

#include <gtest/gtest.h>

#include <functional>

#include "authoring/program_editor.h"
#include "store/file_fault_injector.h"
#include "tests/authoring/editor_fixture.h"
#include "tests/authoring/line_builder.h"

namespace kelvo::testing {
namespace {

struct CrashCase {
    std::string name;
    /// Brings the editor to where the command runs (no file writes).
    std::function<void(TForm2&)> prepare;
    /// The command.
    std::function<void(TForm2&)> run;
    /// The file the command writes, when not the open program.
    std::string writtenFile;
    /// The file chosen in the command's file dialog.
    std::string chosenFile;
};

class CrashTest : public EditorTest, public ::testing::WithParamInterface<CrashCase> {
  protected:
    // A fresh program, state and desk; the other knowledge base for transfers.
    void Fresh(int failAtStep) {
        state_ = EditorState{};
        desk_.dialogs.boxes.clear();
        desk_.fileDialogs.answers.clear();
        desk_.faults = FileFaultInjector{};
        std::filesystem::remove(dir_ / "new.WBP");
        WriteProgram(dir_ / "OTHER.WBP", {"K a", "K b", "K c"});
        Open(NumberedLines(6));
        GetParam().prepare(editor());
        if (!GetParam().chosenFile.empty()) {
            desk_.fileDialogs.answers.push_back((dir_ / GetParam().chosenFile).string());
        }
        desk_.dialogs.boxes.clear();
        desk_.faults.FailAtStep(failAtStep);
    }

    std::filesystem::path Written() const {
        return GetParam().writtenFile.empty() ? path() : dir_ / GetParam().writtenFile;
    }

    std::vector<std::string> WrittenLines() const {
        return std::filesystem::exists(Written()) ? LinesOf(Written()) : std::vector<std::string>{};
    }

    bool PartialLeft() const {
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            if (entry.path().extension() == ".partial") {
                return true;
            }
        }
        return false;
    }

    // What the editor shows agrees with the file; a line the author typed may still wait to
    // be stored.
    void ExpectConsistent() {
        const auto lines = Lines();
        const int current = editor().CurrentLine();
        ASSERT_LT(current, std::max<int>(1, static_cast<int>(lines.size())));
        if (!lines.empty() && !editor().Edit8Changed()) {
            EXPECT_EQ(editor().Edit8Text(), lines[static_cast<std::size_t>(current)]);
        }
    }
};

TEST_P(CrashTest, FileHoldsTheOldOrTheNewProgramAfterAFailureAtEveryStep) {
    Fresh(0);
    const std::vector<std::string> before = WrittenLines();
    const int currentBefore = editor().CurrentLine();
    GetParam().run(editor());
    ASSERT_TRUE(Messages().empty()) << Messages()[0];
    const std::vector<std::string> after = WrittenLines();
    ASSERT_NE(before, after) << "the command changes nothing";
    const int currentAfter = editor().CurrentLine();
    const int steps = desk_.faults.StepsSeen();
    ASSERT_GT(steps, 0);

    for (int k = 1; k <= steps; ++k) {
        SCOPED_TRACE("failing step " + std::to_string(k));
        Fresh(k);
        GetParam().run(editor());
        EXPECT_EQ(desk_.faults.Failures(), 1);

        const std::vector<std::string> now = WrittenLines();
        EXPECT_TRUE(now == before || now == after);
        EXPECT_FALSE(PartialLeft());
        ASSERT_FALSE(desk_.dialogs.boxes.empty()) << "no message for the failure";
        EXPECT_EQ(desk_.beeper.beeps > 0, true);
        if (GetParam().writtenFile.empty()) {
            // A refused line keeps the editor where it was, also when its record went through.
            EXPECT_TRUE(editor().CurrentLine() == currentBefore ||
                        (now == after && editor().CurrentLine() == currentAfter));
            ExpectConsistent();
        }

        // The next command works: a typed line is stored where the editor stands.
        desk_.faults.FailAtStep(0);
        desk_.dialogs.boxes.clear();
        editor().TypeText("K next");
        editor().PressKey(EditorKey::Up);
        EXPECT_TRUE(Messages().empty());
        editor().PressKey(EditorKey::Down);
        ExpectConsistent();
    }
}

void Block2To3(TForm2& editor) {
    editor.ScrollBar1Scroll(1);
    editor.Click(EditorButton::Von_1);
    editor.ScrollBar1Scroll(2);
    editor.Click(EditorButton::Bis_1);
}

void Block2To3AndLine5(TForm2& editor) {
    Block2To3(editor);
    editor.ScrollBar1Scroll(4);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CrashTest,
    ::testing::Values(
        CrashCase{"InsertInTheMiddle", [](TForm2& editor) { editor.ScrollBar1Scroll(2); },
                  [](TForm2& editor) { editor.PressKey(EditorKey::Enter); }, "", ""},
        CrashCase{"InsertBehindTheLast", [](TForm2& editor) { editor.ScrollBar1Scroll(5); },
                  [](TForm2& editor) { editor.PressKey(EditorKey::Enter); }, "", ""},
        CrashCase{"StoreTheCurrentLine",
                  [](TForm2& editor) {
                      editor.ScrollBar1Scroll(3);
                      editor.TypeText("K changed");
                  },
                  [](TForm2& editor) { editor.PressKey(EditorKey::Down); }, "", ""},
        CrashCase{"Copy", Block2To3AndLine5,
                  [](TForm2& editor) { editor.Click(EditorButton::Kopieren_1); }, "", ""},
        CrashCase{"Move", Block2To3AndLine5,
                  [](TForm2& editor) { editor.Click(EditorButton::Verschieben_1); }, "", ""},
        CrashCase{"Delete", Block2To3AndLine5,
                  [](TForm2& editor) { editor.Click(EditorButton::Loeschen_1); }, "", ""},
        CrashCase{"TransferIn", [](TForm2& editor) { editor.ScrollBar1Scroll(1); },
                  [](TForm2& editor) { editor.Click(EditorButton::Ueb_1); }, "", "other.wbp"},
        CrashCase{"TransferOut", Block2To3,
                  [](TForm2& editor) { editor.Click(EditorButton::Ueb_1); }, "new.WBP", "new.wbp"}),
    CaseName());

}  // namespace
}  // namespace kelvo::testing
