// A knowledge base named on the command line, as the desktop passes a file the user opens with
// kelvo or kelvo-run: the main window opens (or runs) it without a dialog, and a wrong file
// gets the same message as one chosen in the dialog.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "authoring/knowledge_base_text.h"
#include "shell/main_window.h"
#include "store/knowledge_base_file.h"
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

/// What the named file is.
enum class Content { KnowledgeBase, Missing, OddSize, BadRecord, Folder };

class CommandLineOpenTest : public testing::Test {
  protected:
    /// Creates `name` in the test folder as `content` says; returns its full path.
    std::filesystem::path Make(const std::string& name, Content content) {
        const std::filesystem::path path = dir_ / name;
        switch (content) {
            case Content::KnowledgeBase: {
                const TextImport imported = ImportKnowledgeBaseText(kSolution, name);
                EXPECT_TRUE(imported.ok());
                auto file = KnowledgeBaseFile::Create(path);
                EXPECT_TRUE(file.ok());
                if (file.ok()) {
                    EXPECT_TRUE(file->WriteAll(imported.records).ok());
                }
                break;
            }
            case Content::Missing:
                break;
            case Content::OddSize:
                std::ofstream(path) << "Dies ist ein Brief, keine Wissensbasis.";
                break;
            case Content::BadRecord:
                // One record of the right size whose length byte no record can have.
                std::ofstream(path, std::ios::binary) << std::string(84, '\xFF');
                break;
            case Content::Folder:
                std::filesystem::create_directory(path);
                break;
        }
        return path;
    }

    /// The main window of the module named like `programName` in the test folder, started
    /// with `file` on its command line, as a desktop creates and shows it.
    TForm1& Start(bool programmingModule, const std::filesystem::path& file,
                  const std::string& programName = "kelvo") {
        ShellConfig config;
        config.programmingModule = programmingModule;
        config.programPath = dir_ / programName;
        config.commandLineFile = file;
        services_.emplace(desktop_.Services());
        form_ = std::make_unique<TForm1>(config, *services_);
        form_->Loaded();
        form_->FormCreate();
        form_->FormShow();
        return *form_;
    }

    TempDir dir_;
    FakeDesktop desktop_;
    std::optional<ShellServices> services_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(CommandLineOpenTest, ProgrammingModuleOpensTheFileWithoutADialog) {
    const std::filesystem::path file = Make("Kredit.WBP", Content::KnowledgeBase);
    TForm1& form = Start(true, file);
    EXPECT_TRUE(desktop_.Lines("filedialog").empty());
    EXPECT_TRUE(desktop_.Lines("message").empty());
    ASSERT_TRUE(form.KnowledgeBaseOpen());
    ASSERT_NE(form.file(), nullptr);
    EXPECT_EQ(form.file()->mode(), KnowledgeBaseFile::Mode::ReadWrite);
    EXPECT_EQ(Windows1252ToUtf8(form.CurrentFileName()), file.string());
    EXPECT_EQ(Windows1252ToUtf8(form.Title()),
              "Expertensystem Kelvo Version 2017 Build: 001 - Kredit.WBP  [Programmiermodul]"
              "  [Datenbankzugriff=schnell]");
    EXPECT_FALSE(form.Closed());
    // The start picture still shows first.
    EXPECT_EQ(desktop_.Lines("startwindow"), std::vector<std::string>{"startwindow picture"});
}

TEST_F(CommandLineOpenTest, ProgrammingModuleOpenDialogThenStartsInTheFilesFolder) {
    std::filesystem::create_directory(dir_ / "kb");
    const std::filesystem::path file = Make("kb/Kredit.wbp", Content::KnowledgeBase);
    TForm1& form = Start(true, file);
    ASSERT_TRUE(form.Click(ShellCommand::Schliesen));
    form.Click(ShellCommand::Oeffnen);
    EXPECT_EQ(desktop_.Lines("filedialog"),
              std::vector<std::string>{"filedialog open | Öffnen | WBP -  Wissensbasen "
                                       "KELVO|*.wbp | " +
                                       (dir_ / "kb").string()});
}

TEST_F(CommandLineOpenTest, ProgrammingModuleWithoutAFileStaysClosed) {
    TForm1& form = Start(true, {});
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_TRUE(form.FirstOpen());
    EXPECT_TRUE(desktop_.Lines("filedialog").empty());
}

TEST_F(CommandLineOpenTest, UserModuleRunsTheNamedFileRatherThanTheOneBesideIt) {
    Make("berater.WBB", Content::KnowledgeBase);
    const std::filesystem::path file = Make("anderer.wbb", Content::KnowledgeBase);
    TForm1& form = Start(false, file, "berater");
    EXPECT_TRUE(desktop_.Lines("filedialog").empty());
    EXPECT_EQ(Windows1252ToUtf8(form.StartFileName()), file.string());
    EXPECT_EQ(desktop_.Lines("page"), std::vector<std::string>{"page 2"});
    EXPECT_TRUE(desktop_.Lines("message").empty());
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_TRUE(form.Closed());
}

// A wrong file named on the command line: the message a file chosen in the dialog gets, the
// shell stays closed, the user module ends without running anything.
struct WrongFileRow {
    std::string name;
    bool programmingModule;
    std::string file;
    Content content;
    std::string message;  // the whole message line
};

class WrongCommandLineFileTest : public CommandLineOpenTest,
                                 public testing::WithParamInterface<WrongFileRow> {};

TEST_P(WrongCommandLineFileTest, GetsTheOpenMessages) {
    const WrongFileRow& row = GetParam();
    TForm1& form = Start(row.programmingModule, Make(row.file, row.content), "berater");
    EXPECT_TRUE(desktop_.Lines("filedialog").empty());
    EXPECT_EQ(desktop_.Lines("message"), std::vector<std::string>{row.message});
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_EQ(form.file(), nullptr);
    EXPECT_TRUE(desktop_.Lines("page").empty());
    EXPECT_EQ(form.Closed(), !row.programmingModule);
}

constexpr const char* kWrongExtension =
    "message Expertensystem KELVO | Falsche Programmextention ! | none";
constexpr const char* kCannotOpen =
    "message Expertensystem KELVO | Name der Wissensbasis unkorrekt ! | none";

INSTANTIATE_TEST_SUITE_P(
    Files, WrongCommandLineFileTest,
    testing::Values(
        WrongFileRow{"ProgrammingRunOnlyFile", true, "x.WBB", Content::KnowledgeBase,
                     kWrongExtension},
        WrongFileRow{"ProgrammingTextFile", true, "x.txt", Content::OddSize, kWrongExtension},
        WrongFileRow{"ProgrammingMissing", true, "fehlt.wbp", Content::Missing, kCannotOpen},
        WrongFileRow{"ProgrammingNoRecordFile", true, "brief.wbp", Content::OddSize, kCannotOpen},
        WrongFileRow{"ProgrammingFolder", true, "ordner.wbp", Content::Folder, kCannotOpen},
        WrongFileRow{"UserProgramFile", false, "x.wbp", Content::KnowledgeBase, kWrongExtension},
        WrongFileRow{"UserMissing", false, "fehlt.WBB", Content::Missing, kCannotOpen},
        WrongFileRow{"UserNoRecordFile", false, "brief.wbb", Content::OddSize, kCannotOpen},
        WrongFileRow{"UserFolder", false, "ordner.wbb", Content::Folder, kCannotOpen}),
    CaseName());

// A name with characters outside Windows-1252 is refused; it does not open the knowledge base
// its replaced form would name.
TEST_F(CommandLineOpenTest, ProgrammingModuleRefusesANameOutsideTheCodePage) {
    Make("??.wbp", Content::KnowledgeBase);
    TForm1& form = Start(true, dir_ / "\u6570\u636E.wbp");
    EXPECT_FALSE(form.KnowledgeBaseOpen());
    EXPECT_EQ(form.file(), nullptr);
    EXPECT_EQ(desktop_.Lines("message"), std::vector<std::string>{kCannotOpen});
    EXPECT_EQ(desktop_.Lines("beep").size(), 1u);
}

TEST_F(CommandLineOpenTest, UserModuleRefusesANameOutsideTheCodePageAndEnds) {
    Make("??.WBB", Content::KnowledgeBase);
    TForm1& form = Start(false, dir_ / "\u6570\u636E.WBB", "berater");
    EXPECT_TRUE(desktop_.Lines("page").empty());
    EXPECT_EQ(desktop_.Lines("message"), std::vector<std::string>{kCannotOpen});
    EXPECT_TRUE(form.Closed());
}

TEST_F(CommandLineOpenTest, UserModuleReportsACorruptRecordAndEnds) {
    const std::filesystem::path file = Make("kaputt.wbb", Content::BadRecord);
    TForm1& form = Start(false, file, "berater");
    const std::vector<std::string> messages = desktop_.Lines("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("message Fehlermeldung | " + file.string() + ":1: "),
              std::string::npos)
        << messages[0];
    EXPECT_TRUE(desktop_.Lines("page").empty());
    EXPECT_TRUE(form.Closed());
}

}  // namespace
}  // namespace kelvo
