// The commands "H", "X", "M", "R", "»", "«" and "V" on the scripted desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/case_name.h"
#include "tests/commands/desktop_run.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

const std::string kNotOpened = "Programmdatei konnte nicht aufgerufen werden !";
const std::string kNotStarted = "Externes Programm konnte nicht ausgef\xC3\xBChrt werden !";
const std::string kNoMessageBox = "Meldungsfenster kann nicht angezeigt werden !";

class ProgramCommandTest : public testing::Test {
  protected:
    TempDir temp_;
    CurrentFolder inTemp_{temp_.path()};
};

// ----- "H"

TEST_F(ProgramCommandTest, OpenAnExistingDocument) {
    fs::create_directory(temp_ / "Daten");
    WriteFile(temp_ / "Daten" / "bericht.pdf", "%PDF");
    DesktopRun run({"J ++DOK . DATEN\\BERICHT.PDF", "J ++DOK H ++DOK"});
    const auto opened = run.Events("open");
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].at("target"), "Daten/bericht.pdf");
    EXPECT_EQ(opened[0].at("opened"), true);
    EXPECT_TRUE(run.MessageTexts().empty());
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST_F(ProgramCommandTest, OpenFailureWarnsAndTheBlockGoesOn) {
    DesktopRun run({"J ++DOK . fehlt.pdf", "J ++DOK H ++DOK", "J +WEITER . ja"});
    EXPECT_EQ(run.MessageTexts(), std::vector<std::string>{kNotOpened});
    EXPECT_EQ(run.Events("message").at(0).at("caption"), "Fehlermeldung");
    EXPECT_EQ(run.Events("message").at(0).at("icon"), "warning");
    EXPECT_EQ(run.Value("+WEITER"), "ja");
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST_F(ProgramCommandTest, OpenAnAddressAsItIs) {
    DesktopRun run({"J ++DOK . https://example.org/a", "J ++DOK H ++DOK"});
    EXPECT_EQ(run.Events("open").at(0).at("target"), "https://example.org/a");
}

TEST_F(ProgramCommandTest, OpenWithoutVariableAsksForTheEmptyNameThenError17) {
    DesktopRun run({"J ++DOK H ++DOK"});
    const auto opened = run.Events("open");
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].at("target"), "");
    EXPECT_EQ(run.MessageTexts().at(0), kNotOpened);
    EXPECT_EQ(run.ErrorCode(), 17);
}

TEST_F(ProgramCommandTest, OpenWithoutTheShellSaysSo) {
    DesktopRun run({"J ++DOK . a.pdf", "J ++DOK H ++DOK", "J +WEITER . ja"}, {}, {},
                   {.clipboard = true, .fileDialogs = true, .shell = false});
    ASSERT_EQ(run.MessageTexts().size(), 1U);
    EXPECT_EQ(run.MessageTexts()[0],
              "F\xC3\xBCr den Variablenbefehl \"H\" (Zeile 9) steht die Programmumgebung des "
              "Desktops nicht zur Verf\xC3\xBCgung.\r\nDie Sitzung wird fortgesetzt.");
    EXPECT_EQ(run.Value("+WEITER"), "ja");
}

// ----- "X"

TEST_F(ProgramCommandTest, StartWithCommandLineAndWorkingFolder) {
    fs::create_directory(temp_ / "Daten");
    DesktopRun run({"J ++PRG . editor$brief.txt$\"zwei$Worte\"", "J ++DIR . DATEN",
                    "J ++PRG X ++DIR", "J +WEITER . ja"});
    const auto started = run.Events("process");
    ASSERT_EQ(started.size(), 1U);
    EXPECT_EQ(started[0].at("arguments"),
              (std::vector<std::string>{"editor", "brief.txt", "zwei Worte"}));
    EXPECT_EQ(started[0].at("folder"), "Daten");
    EXPECT_EQ(started[0].at("started"), true);
    EXPECT_TRUE(run.MessageTexts().empty());
    EXPECT_EQ(run.Value("+WEITER"), "ja");
    EXPECT_TRUE(run.platform().sessionWindowVisible());
}

TEST_F(ProgramCommandTest, StartAProgramByItsPath) {
    fs::create_directory(temp_ / "bin");
    DesktopRun run({"J ++PRG . BIN\\werkzeug$-a", "J ++DIR . $", "J ++PRG X ++DIR"});
    EXPECT_EQ(run.Events("process").at(0).at("arguments"),
              (std::vector<std::string>{"bin/werkzeug", "-a"}));
    EXPECT_EQ(run.Events("process").at(0).at("folder"), "");
}

TEST_F(ProgramCommandTest, StartFailureWarns) {
    DesktopRun run({"J ++PRG . editor", "J ++DIR . fehlt", "J ++PRG X ++DIR", "J +WEITER . ja"});
    EXPECT_EQ(run.MessageTexts(), std::vector<std::string>{kNotStarted});
    EXPECT_EQ(run.Value("+WEITER"), "ja");
}

TEST_F(ProgramCommandTest, StartAnEmptyCommandLineWarns) {
    DesktopRun run({"J ++PRG . $", "J ++DIR . $", "J ++PRG X ++DIR"});
    EXPECT_TRUE(run.Events("process").empty());
    EXPECT_EQ(run.MessageTexts(), std::vector<std::string>{kNotStarted});
}

TEST_F(ProgramCommandTest, StartWithoutEitherVariableIsError17) {
    DesktopRun withoutFolder({"J ++PRG . editor", "J ++PRG X ++DIR"});
    EXPECT_EQ(withoutFolder.ErrorCode(), 17);
    EXPECT_TRUE(withoutFolder.Events("process").empty());
    EXPECT_EQ(DesktopRun({"J ++DIR . a", "J ++PRG X ++DIR"}).ErrorCode(), 17);
}

// ----- "M"

TEST_F(ProgramCommandTest, MessageBoxWithTitleAndText) {
    DesktopRun run({"J ++TITEL . Achtung",
                    "J ++TEXT . Bitte$pr\xC3\xBC"
                    "fen",
                    "J ++TITEL M ++TEXT"});
    const auto messages = run.Events("message");
    ASSERT_EQ(messages.size(), 1U);
    // Both values untrimmed, as stored.
    EXPECT_EQ(messages[0].at("caption"), "Achtung" + std::string(23, ' '));
    EXPECT_EQ(messages[0].at("text"),
              "Bitte pr\xC3\xBC"
              "fen" +
                  std::string(18, ' '));
    EXPECT_EQ(messages[0].at("icon"), "warning");
    EXPECT_EQ(messages[0].at("buttons"), "ok");
}

TEST_F(ProgramCommandTest, MessageBoxWithAMissingVariableSaysSoWithoutError) {
    DesktopRun run({"J ++TITEL . Achtung", "J ++TITEL M ++TEXT", "J ++TEXT M ++TITEL"});
    EXPECT_EQ(run.MessageTexts(), (std::vector<std::string>{kNoMessageBox, kNoMessageBox}));
    EXPECT_EQ(run.ErrorCode(), 0);
}

// ----- "R"

TEST_F(ProgramCommandTest, PrinterSetupIsShown) {
    DesktopRun run({"J +A R +A"});
    EXPECT_EQ(run.Events("printersetup").size(), 1U);
    EXPECT_TRUE(run.platform().sessionWindowVisible());
}

// ----- "»" and "«"

TEST_F(ProgramCommandTest, ClipboardRoundTripIsTrimmed) {
    DesktopRun run({"J ++A . Hallo$$$", "J ++A \xC2\xBB ++A", "J ++B \xC2\xAB ++B"});
    EXPECT_EQ(run.Value("++B"), "Hallo");
    const auto events = run.Events("clipboard");
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[0].at("action"), "write");
    EXPECT_EQ(events[0].at("text"), "Hallo");
}

TEST_F(ProgramCommandTest, ToClipboardWithoutVariableDoesNothing) {
    DesktopRun run({"J ++A \xC2\xBB ++A"});
    EXPECT_TRUE(run.Events("clipboard").empty());
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST_F(ProgramCommandTest, FromClipboardIsCutForAPlainVariable) {
    ScriptedOptions options;
    options.clipboard = "123456789012345678901234567890abc";
    DesktopRun run({"J +K \xC2\xAB +K", "J ++L \xC2\xAB ++L"}, {}, options);
    EXPECT_EQ(run.Value("+K"), "123456789012345678901234567890");
    EXPECT_EQ(run.Value("++L"), "123456789012345678901234567890abc");
}

TEST_F(ProgramCommandTest, FromAnEmptyClipboardStoresTheEmptyText) {
    DesktopRun run({"J +K . alt", "J +K \xC2\xAB +K"});
    EXPECT_EQ(run.Value("+K"), "");
}

TEST_F(ProgramCommandTest, ClipboardWithoutTheServiceSaysSo) {
    DesktopRun run({"J +K . alt", "J +K \xC2\xAB +K"}, {}, {},
                   {.clipboard = false, .fileDialogs = true, .shell = true});
    EXPECT_EQ(run.MessageTexts().size(), 1U);
    EXPECT_EQ(run.Value("+K"), "");
}

// ----- "V"

struct SystemValueCase {
    std::string name;
    std::string selector;  ///< the name field
    std::string path;      ///< the operand variable ++DATEI, as typed; "" for none
    std::string value;     ///< the name variable afterwards
};

class SystemValueTest : public testing::TestWithParam<SystemValueCase> {};

TEST_P(SystemValueTest, StoresTheValue) {
    ScriptedOptions options;
    options.programPath = "/opt/kelvo/bin/kelvo-cli";
    options.knowledgeBasePath = "/home/wb/Beratung/BERATUNG.WBP";
    std::vector<std::string> lines;
    if (!GetParam().path.empty()) {
        lines.push_back("J ++DATEI . " + GetParam().path);
    }
    lines.push_back("J " + GetParam().selector + " V ++DATEI");
    DesktopRun run(lines, {}, options);
    EXPECT_EQ(run.Value(GetParam().selector), GetParam().value);
    EXPECT_EQ(run.ErrorCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SystemValueTest,
    testing::Values(
        SystemValueCase{"Name", "++KELVO_NAME", "C:\\Daten\\bericht.txt", "bericht.txt"},
        SystemValueCase{"Extension", "++KELVO_EXT", "C:\\Daten\\bericht.txt", ".txt"},
        SystemValueCase{"Folder", "++KELVO_VERZEICHNISS", "C:\\Daten\\bericht.txt", "C:\\Daten\\"},
        SystemValueCase{"NameAfterSlash", "++KELVO_NAME", "/home/a/brief.txt", "brief.txt"},
        SystemValueCase{"FolderWithSlash", "++KELVO_VERZEICHNISS", "/home/a/brief.txt", "/home/a/"},
        SystemValueCase{"NameAfterDrive", "++KELVO_NAME", "C:brief.txt", "brief.txt"},
        SystemValueCase{"FolderOfDrive", "++KELVO_VERZEICHNISS", "C:brief.txt", "C:"},
        SystemValueCase{"ExtensionOnlyInTheName", "++KELVO_EXT", "a.b\\datei", ""},
        SystemValueCase{"NoExtension", "++KELVO_EXT", "datei", ""},
        SystemValueCase{"NoFolder", "++KELVO_VERZEICHNISS", "datei", ""},
        SystemValueCase{"ProgramFolder", "++KELVO_QUELLPFAD", "x", "/opt/kelvo/bin/"},
        SystemValueCase{"KnowledgeBaseFolder", "++KELVO_QUELLPFAD_WB", "x", "/home/wb/Beratung/"},
        SystemValueCase{"KnowledgeBaseFile", "++KELVO_QUELLPFAD+WB", "x",
                        "/home/wb/Beratung/BERATUNG.WBP"},
        SystemValueCase{"ProgramFolderNeedsTheOperand", "++KELVO_QUELLPFAD", "", ""},
        SystemValueCase{"NameWithoutOperand", "++KELVO_NAME", "", ""},
        SystemValueCase{"OtherName", "++WERT", "C:\\Daten\\bericht.txt", ""}),
    CaseName());

TEST(SystemValue, OverwritesAnOldValueWithTheEmptyText) {
    DesktopRun run({"J ++WERT . alt", "J ++WERT V ++DATEI"});
    EXPECT_EQ(run.Value("++WERT"), "");
}

}  // namespace
}  // namespace kelvo
