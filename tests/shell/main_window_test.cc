#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "store/knowledge_base_file.h"
#include "store/text_field.h"
#include "tests/case_name.h"
#include "tests/shell/fake_desktop.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

constexpr const char* kSolution =
    "K Loesung\n"
    "Z GETRAENK\n"
    "R GETRAENK . Tee\n"
    "U WETTER (90) . kalt\n"
    "F WETTER (99) . kalt\n"
    "K\n";

// Error 9 at the fourth line (position 3): a rule without its condition line.
constexpr const char* kRuleWithoutCondition =
    "K Eine Regel ohne Bedingungszeile\n"
    "Z GETRAENK\n"
    "F WETTER (99) . kalt\n"
    "R GETRAENK . Tee\n"
    "K\n";

class MainWindowTest : public testing::Test {
  protected:
    /// A main window of the module, created and shown as a desktop does; the program lives
    /// in the test's folder.
    TForm1& Start(bool programmingModule, const std::string& programName = "kelvo",
                  bool show = true) {
        ShellConfig config;
        config.programmingModule = programmingModule;
        config.programPath = dir_ / programName;
        services_.emplace(desktop_.Services());
        form_ = std::make_unique<TForm1>(config, *services_);
        form_->Loaded();
        form_->FormCreate();
        if (show) {
            form_->FormShow();
        }
        return *form_;
    }

    /// Writes the text form `text` as a record file.
    std::filesystem::path WriteKnowledgeBase(const std::string& name, const std::string& text) {
        const TextImport imported = ImportKnowledgeBaseText(text, name);
        EXPECT_TRUE(imported.ok());
        auto file = KnowledgeBaseFile::Create(dir_ / name);
        EXPECT_TRUE(file.ok());
        if (file.ok()) {
            EXPECT_TRUE(file->WriteAll(imported.records).ok());
        }
        return dir_ / name;
    }

    std::vector<std::string> RecordTexts(const std::filesystem::path& path) {
        std::vector<std::string> texts;
        auto file = KnowledgeBaseFile::Open(path, KnowledgeBaseFile::Mode::ReadOnly);
        if (!file.ok()) {
            ADD_FAILURE() << file.error().message;
            return texts;
        }
        auto records = file->ReadAll();
        EXPECT_TRUE(records.ok());
        for (const LineRecord& record : *records) {
            texts.emplace_back(record.text());
        }
        return texts;
    }

    std::string Path(const std::string& name) { return (dir_ / name).string(); }

    /// The enabled commands, in table order, as a string of 0 and 1.
    std::string EnabledCommands() const {
        std::string enabled;
        for (const ShellCommandView& view : kShellCommands) {
            enabled += form_->Enabled(view.command) ? '1' : '0';
        }
        return enabled;
    }

    TempDir dir_;
    FakeDesktop desktop_;
    std::optional<ShellServices> services_;
    std::unique_ptr<TForm1> form_;
};

// ---- Start ------------------------------------------------------------------------------------

TEST_F(MainWindowTest, ProgrammingModuleShowsThePictureForThreeSecondsAndStaysClosed) {
    TForm1& form = Start(true);
    EXPECT_EQ(desktop_.log, (std::vector<std::string>{"startwindow picture", "cursor hourglass",
                                                      "cursor arrow"}));
    EXPECT_GT(desktop_.ticks, 3000u);
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_TRUE(form.FirstOpen());
    EXPECT_FALSE(form.Closed());
    EXPECT_EQ(Windows1252ToUtf8(form.Title()),
              "Expertensystem Kelvo Version 2017 Build: 001 -   [Programmiermodul]"
              "  [Datenbankzugriff=schnell]");
    EXPECT_EQ(EnabledCommands(), "110011001");
    const WindowRect bounds = form.Bounds();
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.width, 973);  // 1024 x 0.95, rounded
    EXPECT_EQ(bounds.height, 691);
    EXPECT_GE(desktop_.mainChanges, 1);
}

TEST_F(MainWindowTest, UserModuleRunsTheKnowledgeBaseBesideTheProgramAndEnds) {
    WriteKnowledgeBase("Berater.wbb", kSolution);  // the program is "berater.exe"
    TForm1& form = Start(false, "berater.exe");
    EXPECT_TRUE(desktop_.Lines("filedialog").empty());
    EXPECT_EQ(desktop_.Lines("startwindow"), std::vector<std::string>{"startwindow none"});
    EXPECT_EQ(desktop_.ticks, 0u);  // no picture, no wait
    EXPECT_EQ(Windows1252ToUtf8(form.StartFileName()), Path("Berater.wbb"));
    EXPECT_EQ(desktop_.Lines("page"), std::vector<std::string>{"page 2"});
    // The main window is not hidden in the user module.
    EXPECT_TRUE(desktop_.Lines("main").empty());
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(desktop_.Lines("message").empty());  // nothing open any more: no question
}

TEST_F(MainWindowTest, UserModuleWithoutKnowledgeBaseAsksWithTheExactTitle) {
    const std::filesystem::path chosen = WriteKnowledgeBase("anders.WBB", kSolution);
    desktop_.files.push_back(chosen.string());
    TForm1& form = Start(false, "berater");
    EXPECT_EQ(desktop_.Lines("filedialog"),
              std::vector<std::string>{
                  "filedialog open | Öffnen [Expertensystem Kelvo Version 2017 Build: 001]"
                  "  [Benutzermodul]  [Datenbankzugriff=schnell] | WBB -  Wissensbasen "
                  "KELVO|*.WBB | " +
                  dir_.path().string()});
    EXPECT_EQ(desktop_.Lines("page"), std::vector<std::string>{"page 2"});
    EXPECT_TRUE(form.Closed());
}

TEST_F(MainWindowTest, UserModuleEndsWhenTheDialogIsCancelled) {
    TForm1& form = Start(false, "berater");
    EXPECT_EQ(desktop_.Lines("filedialog").size(), 1u);
    EXPECT_TRUE(form.StartFileName().empty());
    EXPECT_TRUE(desktop_.Lines("page").empty());
    EXPECT_TRUE(form.Closed());
}

TEST_F(MainWindowTest, UserModuleEndsAfterAFailedOpen) {
    const std::filesystem::path wrong = WriteKnowledgeBase("anders.WBP", kSolution);
    desktop_.files.push_back(wrong.string());
    TForm1& form = Start(false, "berater");
    EXPECT_EQ(desktop_.Lines("message"),
              std::vector<std::string>{
                  "message Expertensystem KELVO | Falsche Programmextention ! | none"});
    EXPECT_TRUE(desktop_.Lines("page").empty());
    EXPECT_TRUE(form.Closed());
}

TEST_F(MainWindowTest, UserModuleOpensReadOnly) {
    WriteKnowledgeBase("berater.WBB", kSolution);
    TForm1& form = Start(false, "berater", /*show=*/false);
    form.OeffnenClick();
    ASSERT_TRUE(form.KnowledgeBaseOpen());
    ASSERT_NE(form.file(), nullptr);
    EXPECT_EQ(form.file()->mode(), KnowledgeBaseFile::Mode::ReadOnly);
    EXPECT_FALSE(form.file()->WriteRecord(0, LineRecord(PadRight("K", 82))).ok());
    EXPECT_EQ(EnabledCommands(), "001001011");
    EXPECT_EQ(Windows1252ToUtf8(form.Title()),
              "Expertensystem Kelvo Version 2017 Build: 001 - berater.WBB  [Benutzermodul]"
              "  [Datenbankzugriff=schnell]");
}

TEST_F(MainWindowTest, UserModuleClosedStateEnablesOpenEndInfoAndHelp) {
    Start(false, "berater", /*show=*/false);
    EXPECT_EQ(EnabledCommands(), "010011001");
}

// ---- Neu ----------------------------------------------------------------------------------------

TEST_F(MainWindowTest, NeuCreatesAKnowledgeBaseOfOneCommentLine) {
    TForm1& form = Start(true);
    desktop_.files.push_back(Path("neu.wbp"));
    ASSERT_TRUE(form.Click(ShellCommand::Neu));
    EXPECT_EQ(
        desktop_.Lines("filedialog"),
        std::vector<std::string>{"filedialog save | Neu | WBP -  Wissensbasen KELVO|*.wbp | "});
    ASSERT_TRUE(form.KnowledgeBaseOpen());
    EXPECT_EQ(RecordTexts(dir_ / "neu.wbp"), std::vector<std::string>{PadRight("K", 82)});
    EXPECT_EQ(Windows1252ToUtf8(form.CurrentFileName()), Path("neu.wbp"));
    EXPECT_EQ(EnabledCommands(), "001101111");
    EXPECT_NE(form.Title().find(" - neu.wbp  [Programmiermodul]"), std::string::npos);
    ASSERT_NE(form.file(), nullptr);
    EXPECT_EQ(form.file()->mode(), KnowledgeBaseFile::Mode::ReadWrite);
}

TEST_F(MainWindowTest, NeuCancelledDoesNothing) {
    TForm1& form = Start(true);
    desktop_.files.push_back(std::nullopt);
    form.Click(ShellCommand::Neu);
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_TRUE(desktop_.Lines("message").empty());
    EXPECT_TRUE(desktop_.Lines("beep").empty());
}

struct NeuRefusal {
    std::string name;
    std::string file;     // relative to the test folder
    bool existsBefore;    // the file exists with other content
    std::string message;  // after a beep
};

class NeuRefusalTest : public MainWindowTest, public testing::WithParamInterface<NeuRefusal> {};

TEST_P(NeuRefusalTest, BeepMessageAndNothingCreated) {
    const NeuRefusal& row = GetParam();
    const std::string before = "nicht anfassen";
    if (row.existsBefore) {
        std::ofstream(dir_ / row.file) << before;
    }
    TForm1& form = Start(true);
    desktop_.files.push_back(Path(row.file));
    form.Click(ShellCommand::Neu);
    const auto beep = std::find(desktop_.log.begin(), desktop_.log.end(), "beep");
    ASSERT_NE(beep, desktop_.log.end());
    ASSERT_NE(beep + 1, desktop_.log.end());
    EXPECT_EQ(*(beep + 1), "message Expertensystem KELVO | " + row.message + " | none");
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_EQ(form.file(), nullptr);
    EXPECT_EQ(EnabledCommands(), "110011001");
    std::error_code error;
    if (row.existsBefore) {
        std::ifstream in(dir_ / row.file);
        std::string content;
        std::getline(in, content);
        EXPECT_EQ(content, before);
    } else {
        EXPECT_FALSE(std::filesystem::exists(dir_ / row.file, error));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, NeuRefusalTest,
    testing::Values(NeuRefusal{"TextExtension", "neu.txt", false, "Falsche Programmextention !"},
                    NeuRefusal{"RunOnlyExtension", "neu.WBB", false, "Falsche Programmextention !"},
                    NeuRefusal{"NoExtension", "neu", false, "Falsche Programmextention !"},
                    NeuRefusal{"ExistingName", "alt.WBP", true, "Name schon vergeben !"},
                    NeuRefusal{"FolderMissing", "fehlt/neu.wbp", false,
                               "Wissensbasis konnte nicht angelegt werden !"}),
    CaseName());

// ---- Öffnen -------------------------------------------------------------------------------------

TEST_F(MainWindowTest, FirstOpenStartsInTheProgramsFolderThenInTheFilesFolder) {
    std::filesystem::create_directory(dir_ / "kb");
    const std::filesystem::path file = WriteKnowledgeBase("kb/Rat.wbp", kSolution);
    TForm1& form = Start(true);
    desktop_.files.push_back(file.string());
    form.Click(ShellCommand::Oeffnen);
    ASSERT_TRUE(form.KnowledgeBaseOpen());
    form.Click(ShellCommand::Schliesen);
    desktop_.files.push_back(std::nullopt);
    form.Click(ShellCommand::Oeffnen);
    const auto dialogs = desktop_.Lines("filedialog");
    ASSERT_EQ(dialogs.size(), 2u);
    const std::string head = "filedialog open | Öffnen | WBP -  Wissensbasen KELVO|*.wbp | ";
    EXPECT_EQ(dialogs[0], head + dir_.path().string());
    EXPECT_EQ(dialogs[1], head + (dir_ / "kb").string());
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_TRUE(form.CurrentFileName().empty());
}

struct OpenCase {
    std::string name;
    std::string file;     // chosen in the dialog, relative to the test folder
    bool create;          // the file exists as a knowledge base
    std::string message;  // empty: it opens
};

class OpenCaseTest : public MainWindowTest, public testing::WithParamInterface<OpenCase> {};

TEST_P(OpenCaseTest, ProgrammingModule) {
    const OpenCase& row = GetParam();
    if (row.create) {
        WriteKnowledgeBase(row.file, kSolution);
    }
    TForm1& form = Start(true);
    desktop_.files.push_back(Path(row.file));
    form.Click(ShellCommand::Oeffnen);
    if (row.message.empty()) {
        EXPECT_TRUE(form.KnowledgeBaseOpen());
        EXPECT_TRUE(desktop_.Lines("message").empty());
        EXPECT_EQ(EnabledCommands(), "001101111");
    } else {
        EXPECT_FALSE(form.KnowledgeBaseOpen());
        EXPECT_EQ(desktop_.Lines("beep").size(), 1u);
        EXPECT_EQ(
            desktop_.Lines("message"),
            std::vector<std::string>{"message Expertensystem KELVO | " + row.message + " | none"});
        EXPECT_EQ(EnabledCommands(), "110011001");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenCaseTest,
    testing::Values(OpenCase{"LowerCaseExtension", "x.wbp", true, ""},
                    OpenCase{"UpperCaseExtension", "X.WBP", true, ""},
                    OpenCase{"RunOnlyFile", "x.wbb", true, "Falsche Programmextention !"},
                    OpenCase{"Missing", "fehlt.wbp", false, "Name der Wissensbasis unkorrekt !"}),
    CaseName());

TEST_F(MainWindowTest, AFileThatIsNoRecordFileIsRefused) {
    std::ofstream(dir_ / "kaputt.wbp") << "keine 84 Bytes";
    TForm1& form = Start(true);
    desktop_.files.push_back(Path("kaputt.wbp"));
    form.Click(ShellCommand::Oeffnen);
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_EQ(desktop_.Lines("message"),
              std::vector<std::string>{
                  "message Expertensystem KELVO | Name der Wissensbasis unkorrekt ! | none"});
}

// ---- Schließen and closing the window -----------------------------------------------------------

TEST_F(MainWindowTest, SchliesenResetsTheErrorLineAndClosesTheFile) {
    const std::filesystem::path file = WriteKnowledgeBase("rat.wbp", kSolution);
    TForm1& form = Start(true);
    desktop_.files.push_back(file.string());
    form.Click(ShellCommand::Oeffnen);
    form.editorState().errorLine = 4;
    ASSERT_TRUE(form.Click(ShellCommand::Schliesen));
    EXPECT_EQ(form.editorState().errorLine, 0);
    EXPECT_EQ(form.file(), nullptr);
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_EQ(EnabledCommands(), "110011001");
    EXPECT_EQ(Windows1252ToUtf8(form.Title()),
              "Expertensystem Kelvo Version 2017 Build: 001 -   [Programmiermodul]"
              "  [Datenbankzugriff=schnell]");
}

TEST_F(MainWindowTest, ClosingWithAnOpenKnowledgeBaseAsksAndNoKeepsEverything) {
    const std::filesystem::path file = WriteKnowledgeBase("rat.wbp", kSolution);
    TForm1& form = Start(true);
    desktop_.files.push_back(file.string());
    form.Click(ShellCommand::Oeffnen);
    const std::string title = form.Title();
    EXPECT_FALSE(form.Click(ShellCommand::Beenden));  // disabled while open

    desktop_.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(form.CanClose());
    EXPECT_EQ(desktop_.Lines("message"),
              std::vector<std::string>{"message Bestätigen | Wissensbasis schließen ? | question "
                                       "| no"});
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(form.KnowledgeBaseOpen());
    ASSERT_NE(form.file(), nullptr);
    EXPECT_EQ(form.file()->RecordCount().value(), 6);
    EXPECT_EQ(form.Title(), title);
    EXPECT_EQ(EnabledCommands(), "001101111");

    desktop_.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(form.CanClose());
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(form.file(), nullptr);
}

TEST_F(MainWindowTest, BeendenWithNothingOpenEndsWithoutAQuestion) {
    TForm1& form = Start(true);
    ASSERT_TRUE(form.Click(ShellCommand::Beenden));
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(desktop_.Lines("message").empty());
    EXPECT_FALSE(form.Click(ShellCommand::Info));  // a closed window takes no commands
}

// ---- Compilieren --------------------------------------------------------------------------------

class CompileTest : public MainWindowTest {
  protected:
    TForm1& OpenProgram() {
        const std::filesystem::path file = WriteKnowledgeBase("rat.wbp", kSolution);
        TForm1& form = Start(true);
        desktop_.files.push_back(file.string());
        form.Click(ShellCommand::Oeffnen);
        desktop_.log.clear();
        return form;
    }
};

TEST_F(CompileTest, YesDerivesTheRunOnlyFile) {
    TForm1& form = OpenProgram();
    desktop_.answers.push_back(MessageAnswer::Yes);
    ASSERT_TRUE(form.Click(ShellCommand::Compilieren));
    EXPECT_EQ(desktop_.log,
              (std::vector<std::string>{
                  "message Wissensbasis compilieren! | Ihre Wissensbasis wird\r\n           "
                  "compiliert. | question | yes",
                  "progress shown", "progress closed",
                  "message Expertensystem KELVO | Ihre Wissensbasis wurde\r\n   erfolgreich "
                  "compiliert. | information"}));
    // The two comment lines but the last are dropped; each record gets a digit.
    const std::vector<std::string> derived = RecordTexts(dir_ / "rat.WBB");
    ASSERT_EQ(derived.size(), 5u);
    for (const std::string& text : derived) {
        EXPECT_EQ(text.size(), 83u);
    }
    EXPECT_EQ(derived.front().substr(0, 2), "Z ");
    EXPECT_TRUE(form.KnowledgeBaseOpen());
}

TEST_F(CompileTest, NoDoesNothing) {
    TForm1& form = OpenProgram();
    desktop_.answers.push_back(MessageAnswer::No);
    form.Click(ShellCommand::Compilieren);
    EXPECT_EQ(desktop_.log.size(), 1u);
    std::error_code error;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "rat.WBB", error));
}

TEST_F(CompileTest, AbortShowsBothMessagesInOrderAndLeavesNoTarget) {
    std::ofstream(dir_ / "rat.WBB") << "an earlier derivation";
    TForm1& form = OpenProgram();
    desktop_.answers.push_back(MessageAnswer::Yes);
    desktop_.breakOffAtPump = {3};
    form.Click(ShellCommand::Compilieren);
    EXPECT_EQ(desktop_.log,
              (std::vector<std::string>{
                  "message Wissensbasis compilieren! | Ihre Wissensbasis wird\r\n           "
                  "compiliert. | question | yes",
                  "progress shown", "breakoff", "beep",
                  "message Expertensystem KELVO | Compiliervorgang wurde abgebrochen | "
                  "information",
                  "progress closed", "beep",
                  "message Expertensystem KELVO | Die Compilierung Ihrer Wissens-\r\n     basis "
                  "wurde unterbrochen. | information"}));
    EXPECT_TRUE(form.CompileAbort());
    std::error_code error;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "rat.WBB", error));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "rat.WBB.partial", error));
}

TEST_F(CompileTest, DisabledInTheUserModule) {
    WriteKnowledgeBase("berater.WBB", kSolution);
    TForm1& form = Start(false, "berater", /*show=*/false);
    form.OeffnenClick();
    ASSERT_TRUE(form.KnowledgeBaseOpen());
    EXPECT_FALSE(form.Click(ShellCommand::Compilieren));
    EXPECT_TRUE(desktop_.Lines("message").empty());
}

// ---- Info and Hilfe -----------------------------------------------------------------------------

TEST_F(MainWindowTest, InfoShowsTheAboutBox) {
    TForm1& form = Start(true);
    form.Click(ShellCommand::Info);
    EXPECT_EQ(
        desktop_.Lines("about"),
        std::vector<std::string>{"about Info | Expertensystem Kelvo | Version = 2017 Build: 001"});
}

struct HelpCase {
    std::string name;
    bool programmingModule;
    bool documentOpens;
    std::vector<std::string> log;  // {folder} stands for the program's folder
};

class HelpTest : public MainWindowTest, public testing::WithParamInterface<HelpCase> {};

TEST_P(HelpTest, BothModules) {
    const HelpCase& row = GetParam();
    desktop_.documentExists = [&row](std::string_view) { return row.documentOpens; };
    TForm1& form = Start(row.programmingModule, "berater", /*show=*/false);
    desktop_.log.clear();
    ASSERT_TRUE(form.Click(ShellCommand::Hilfe));
    std::vector<std::string> expected;
    for (std::string line : row.log) {
        const std::size_t at = line.find("{folder}");
        if (at != std::string::npos) {
            line.replace(at, 8, dir_.path().string());
        }
        expected.push_back(line);
    }
    EXPECT_EQ(desktop_.log, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, HelpTest,
    testing::Values(
        HelpCase{"ProgrammingOpensTheReadme", true, true, {"open {folder}/liesmich.pdf"}},
        HelpCase{"ProgrammingWithoutReadme",
                 true,
                 false,
                 {"open {folder}/liesmich.pdf failed",
                  "message Fehlermeldung | Hilfedatei konnte nicht aufgerufen werden ! | "
                  "warning"}},
        HelpCase{"UserModule",
                 false,
                 true,
                 {"message Expertensystem KELVO | Innerhalb des Benutzermodules kann "
                  "der\r\nHilfemodus nicht aktiviert werden ! | none"}}),
    CaseName());

// ---- The coordinate capture ---------------------------------------------------------------------

TEST_F(MainWindowTest, F2CapturesThePointerIntoBothTextStores) {
    TForm1& form = Start(true);
    const std::string title = form.Title();
    form.Timer1Timer();  // stopped: nothing
    EXPECT_EQ(form.Title(), title);

    form.FormKeyDown(kVirtualKeyF2);
    EXPECT_TRUE(form.TimerRunning());
    desktop_.pointer = ScreenPoint{120, 45};
    form.Timer1Timer();
    EXPECT_EQ(form.Title(), "x=120  y=45");
    desktop_.pointer = ScreenPoint{130, 50};
    form.Timer1Timer();
    EXPECT_EQ(form.Title(), "x=130  y=50");
    desktop_.pointer = std::nullopt;  // a desktop that cannot tell keeps the last position
    form.Timer1Timer();
    EXPECT_EQ(form.Title(), "x=130  y=50");

    form.FormKeyDown(kVirtualKeyF2 + 1);  // F3 does nothing
    EXPECT_TRUE(form.TimerRunning());
    form.FormKeyDown(kVirtualKeyF2);
    EXPECT_FALSE(form.TimerRunning());
    EXPECT_EQ(form.Title(), title);
    EXPECT_EQ(form.editorState().ablage2Text, "J [+SYSTEM_VAR_0001] . (130)");
    EXPECT_EQ(form.editorState().ablage3Text, "J [+SYSTEM_VAR_0002] . (50)");
    form.Timer1Timer();
    EXPECT_EQ(form.Title(), title);
}

TEST_F(MainWindowTest, FormCreateEmptiesTheTextStores) {
    TForm1& form = Start(true, "kelvo", /*show=*/false);
    form.editorState().ablage2Text = "J [+SYSTEM_VAR_0001] . (1)";
    form.FormKeyDown(kVirtualKeyF2);
    form.FormCreate();
    EXPECT_TRUE(form.editorState().ablage2Text.empty());
    EXPECT_FALSE(form.TimerRunning());
}

// ---- Starten and Bearbeiten ---------------------------------------------------------------------

class StartTest : public MainWindowTest {
  protected:
    TForm1& OpenProgram(const std::string& text) {
        const std::filesystem::path file = WriteKnowledgeBase("rat.wbp", text);
        TForm1& form = Start(true);
        desktop_.files.push_back(file.string());
        form.Click(ShellCommand::Oeffnen);
        desktop_.log.clear();
        return form;
    }
};

TEST_F(StartTest, HidesTheMainWindowRunsAndReopensTheFile) {
    TForm1& form = OpenProgram(kSolution);
    int consultations = 0;
    bool fileClosedMeanwhile = false;
    std::filesystem::path knowledgeBase;
    std::filesystem::path program;
    StartCommandHooks hooks;
    hooks.prepare = [&](Consultation& consultation) {
        ++consultations;
        fileClosedMeanwhile = form.file() == nullptr;
        knowledgeBase = consultation.services().shell->KnowledgeBasePath();
        program = consultation.services().shell->ProgramPath();
    };
    form.SetConsultationHooks(hooks);
    ASSERT_TRUE(form.Click(ShellCommand::Starten));
    EXPECT_EQ(desktop_.Without("cursor"),
              (std::vector<std::string>{"main hidden", "page 2", "main shown"}));
    EXPECT_EQ(consultations, 1);
    EXPECT_TRUE(fileClosedMeanwhile);
    // The variable commands learn the running knowledge base and the program from the shell.
    EXPECT_EQ(knowledgeBase, dir_ / "rat.wbp");
    EXPECT_EQ(program, dir_ / "kelvo");
    ASSERT_NE(form.file(), nullptr);
    EXPECT_EQ(form.file()->mode(), KnowledgeBaseFile::Mode::ReadWrite);
    EXPECT_TRUE(form.KnowledgeBaseOpen());
}

TEST_F(StartTest, AnErrorReportSetsTheErrorLine) {
    TForm1& form = OpenProgram(kRuleWithoutCondition);
    form.Click(ShellCommand::Starten);
    EXPECT_EQ(form.editorState().errorLine, 4);  // the line after the rule
    EXPECT_TRUE(form.KnowledgeBaseOpen());
}

TEST_F(StartTest, ANewKnowledgeBaseFailsTheCheck) {
    TForm1& form = Start(true);
    desktop_.files.push_back(Path("neu.wbp"));
    form.Click(ShellCommand::Neu);
    desktop_.log.clear();
    form.Click(ShellCommand::Starten);
    const auto messages = desktop_.Lines("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Fehlermeldung in Zeile: 1"), std::string::npos) << messages[0];
    EXPECT_EQ(form.editorState().errorLine, 0);
}

TEST_F(StartTest, AFileGoneAfterTheRunClosesTheKnowledgeBase) {
    TForm1& form = OpenProgram(kSolution);
    StartCommandHooks hooks;
    hooks.finished = [&](Consultation&) { std::filesystem::remove(dir_ / "rat.wbp"); };
    form.SetConsultationHooks(hooks);
    form.editorState().errorLine = 3;
    form.Click(ShellCommand::Starten);
    EXPECT_EQ(desktop_.Lines("message"),
              std::vector<std::string>{
                  "message Expertensystem KELVO | Name der Wissensbasis unkorrekt ! | none"});
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_EQ(form.file(), nullptr);
    EXPECT_EQ(form.editorState().errorLine, 0);
    EXPECT_EQ(EnabledCommands(), "110011001");
}

TEST_F(StartTest, TheUserModuleKeepsTheMainWindowShown) {
    WriteKnowledgeBase("berater.WBB", kSolution);
    TForm1& form = Start(false, "berater", /*show=*/false);
    form.OeffnenClick();
    desktop_.log.clear();
    form.Click(ShellCommand::Starten);
    EXPECT_EQ(desktop_.Without("cursor"), std::vector<std::string>{"page 2"});
    ASSERT_NE(form.file(), nullptr);
    EXPECT_EQ(form.file()->mode(), KnowledgeBaseFile::Mode::ReadOnly);
}

TEST_F(StartTest, EditorStartRunsAndReopensTheEditorOnTheFaultyLine) {
    TForm1& form = OpenProgram(kRuleWithoutCondition);
    int shown = 0;
    desktop_.editorHands = [&shown](TForm2& editor) {
        ++shown;
        editor.Click(shown == 1 ? EditorButton::Schliesen_Starten : EditorButton::Schliesen_1);
    };
    ASSERT_TRUE(form.Click(ShellCommand::Bearbeiten));
    const auto lines = desktop_.Without("cursor");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "editor line 1");
    EXPECT_EQ(lines[1], "main hidden");
    EXPECT_EQ(lines.back(), "editor line 5");  // error 9 is at the fifth line
    EXPECT_EQ(desktop_.editorsShown, 2);
    EXPECT_FALSE(form.editorState().editorStartRequested);
    EXPECT_TRUE(form.KnowledgeBaseOpen());
}

TEST_F(StartTest, BearbeitenWithoutStartOpensTheEditorOnce) {
    TForm1& form = OpenProgram(kSolution);
    desktop_.editorHands = [](TForm2& editor) { editor.Click(EditorButton::Abbruch); };
    form.Click(ShellCommand::Bearbeiten);
    EXPECT_EQ(desktop_.editorsShown, 1);
    EXPECT_TRUE(desktop_.Lines("main").empty());
}

}  // namespace
}  // namespace kelvo
