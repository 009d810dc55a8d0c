// The file and folder commands "O", "I", "U", "Ö", "J", "W", "F", "1", "2", "3" and "4", on
// real files in a temporary folder that is the current folder of each test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/file_operations.h"
#include "commands/text_file.h"
#include "tests/case_name.h"
#include "tests/commands/desktop_run.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

const std::string kFileError = "[+DATEIFEHLER    ]";
const std::string kVar1 = "[+SYSTEM_VAR_0001]";
const std::string kZero = "(           0.000)";
const std::string kOne = "(           1.000)";

class FileCommandTest : public testing::Test {
  protected:
    TempDir temp_;
    CurrentFolder inTemp_{temp_.path()};
};

// ----- "1" write a text file

struct SaveNameCase {
    std::string name;
    std::string value;  ///< the name variable, as typed
    std::string file;   ///< the file written, relative to the folder
};

class SaveTextName : public testing::TestWithParam<SaveNameCase> {
  protected:
    TempDir temp_;
    CurrentFolder inTemp_{temp_.path()};
};

TEST_P(SaveTextName, AppendsTxtUnlessPresent) {
    fs::create_directory(temp_ / "Daten");
    DesktopRun run({"J ++DATEI . " + GetParam().value, "J ++TEXT . Hallo", "J ++DATEI 1 ++TEXT"});
    EXPECT_EQ(FileText(temp_ / GetParam().file), "Hallo");
    EXPECT_EQ(run.ErrorCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Extension, SaveTextName,
    testing::Values(SaveNameCase{"Appended", "Daten\\bericht", "Daten/bericht.TXT"},
                    SaveNameCase{"PresentInLowerCase", "Daten\\bericht.txt", "Daten/bericht.txt"},
                    SaveNameCase{"PresentInUpperCase", "Daten\\bericht.TXT", "Daten/bericht.TXT"},
                    SaveNameCase{"OtherExtensionKept", "Daten\\bericht.rtf",
                                 "Daten/bericht.rtf.TXT"},
                    SaveNameCase{"FolderFoundWithoutCase", "DATEN\\bericht", "Daten/bericht.TXT"}),
    CaseName());

TEST_F(FileCommandTest, SaveTextWritesExactlyTheTextWithItsLineBreak) {
    DesktopRun run({"J ++T - a", "J ++T - <RETURN>", "J ++T - b", "J ++D . brief", "J ++D 1 ++T"});
    EXPECT_EQ(FileText(temp_ / "brief.TXT"), "a\r\nb");
}

TEST_F(FileCommandTest, SaveTextAnsweredNoLeavesTheFile) {
    WriteFile(temp_ / "brief.TXT", "alt");
    DesktopRun run({"J ++D . brief", "J ++T . neu", "J ++D 1 ++T"}, {{{"answer", "no"}}});
    EXPECT_EQ(FileText(temp_ / "brief.TXT"), "alt");
    const auto messages = run.Events("message");
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].at("text"),
              "Vorhandene Textdatei \xC3\xBC"
              "berschreiben ?");
    EXPECT_EQ(messages[0].at("caption"), "Fehlermeldung!");
    EXPECT_EQ(messages[0].at("icon"), "question");
    EXPECT_TRUE(run.platform().sessionWindowVisible());
}

TEST_F(FileCommandTest, SaveTextAnsweredYesReplacesTheFile) {
    WriteFile(temp_ / "brief.TXT", "alter Inhalt");
    DesktopRun run({"J ++D . brief", "J ++T . neu", "J ++D 1 ++T"}, {{{"answer", "yes"}}});
    EXPECT_EQ(FileText(temp_ / "brief.TXT"), "neu");
}

TEST_F(FileCommandTest, SaveTextWithoutNameVariableDoesNothing) {
    DesktopRun run({"J ++T . neu", "J ++D 1 ++T", "J +WEITER . ja"});
    EXPECT_TRUE(fs::is_empty(temp_.path()));
    EXPECT_EQ(run.Value("+WEITER"), "ja");
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST_F(FileCommandTest, SaveTextWithoutTextVariableWritesNothing) {
    DesktopRun run({"J ++D . brief", "J ++D 1 ++T"});
    EXPECT_EQ(FileText(temp_ / "brief.TXT"), "<missing>");
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST_F(FileCommandTest, SaveTextIntoAMissingFolderWarns) {
    DesktopRun run({"J ++D . fehlt\\brief", "J ++T . neu", "J ++D 1 ++T", "J +WEITER . ja"});
    EXPECT_EQ(run.MessageTexts(),
              std::vector<std::string>{"Textdatei konnte nicht gespeichert werden !"});
    EXPECT_EQ(run.Value("+WEITER"), "ja");
}

// ----- "2" read a text file

struct LoadCase {
    std::string name;
    std::string bytes;  ///< the file's content
    std::string value;  ///< the operand variable afterwards, untrimmed (Windows-1252)
};

class LoadTextContent : public testing::TestWithParam<LoadCase> {
  protected:
    TempDir temp_;
    CurrentFolder inTemp_{temp_.path()};
};

TEST_P(LoadTextContent, StoresTheText) {
    WriteFile(temp_ / "brief.txt", GetParam().bytes);
    DesktopRun run({"J ++D . BRIEF", "J ++D 2 ++T"});
    EXPECT_EQ(run.Value("++T"), GetParam().value);
    EXPECT_TRUE(run.MessageTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Text, LoadTextContent,
    testing::Values(LoadCase{"CrLfKept", "a\r\nb", "a\r\nb"},
                    LoadCase{"BareLineFeedsBecomeCrLf", "a\nb\nc", "a\r\nb\r\nc"},
                    LoadCase{"BareCarriageReturnsBecomeCrLf", "a\rb", "a\r\nb"},
                    LoadCase{"LineEndAtTheEndStays", "a\n", "a\r\n"},
                    LoadCase{"TrailingBlanksRemoved", "a\nb   ", "a\r\nb"},
                    LoadCase{"Windows1252AsItIs", "gr\xFC\xDF", "gr\xFC\xDF"},
                    LoadCase{"Utf8ByteOrderMark", "\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F\n",
                             "gr\xFC\xDF\r\n"},
                    LoadCase{"Utf16LittleEndianMark", std::string("\xFF\xFE\xFC\0a\0\n\0", 8),
                             "\xFC"
                             "a\r\n"},
                    LoadCase{"Utf16BigEndianMark", std::string("\xFE\xFF\0\xDF\0b", 6),
                             "\xDF"
                             "b"},
                    LoadCase{"EmptyFile", "", ""}),
    CaseName());

TEST_F(FileCommandTest, LoadTextOfAMissingFileWarnsAndStoresNothing) {
    DesktopRun run({"J ++T . alt", "J ++D . fehlt", "J ++D 2 ++T", "J +WEITER . ja"});
    EXPECT_EQ(run.MessageTexts(),
              std::vector<std::string>{"Textdatei konnte nicht geladen werden !"});
    EXPECT_EQ(run.Events("message").at(0).at("caption"), "Fehlermeldung");
    EXPECT_EQ(run.Value("++T"), "alt");
    EXPECT_EQ(run.Value("+WEITER"), "ja");
}

TEST_F(FileCommandTest, LoadTextWithoutNameVariableDoesNothing) {
    DesktopRun run({"J ++D 2 ++T"});
    EXPECT_EQ(run.Value("++T"), "<none>");
    EXPECT_TRUE(run.MessageTexts().empty());
}

// ----- "3" and "4" the plain text of ".RTF" files

TEST_F(FileCommandTest, RichTextRoundTripHasNoControlWords) {
    DesktopRun run({"J ++T - Zeile$eins", "J ++T - <RETURN>", "J ++T - {zwei}", "J ++D . bericht",
                    "J ++D 3 ++T", "J ++D 4 ++U"});
    EXPECT_EQ(FileText(temp_ / "bericht.RTF"), "Zeile eins\r\n{zwei}");
    EXPECT_EQ(run.Value("++U"), "Zeile eins\r\n{zwei}");
    EXPECT_TRUE(run.MessageTexts().empty());
}

TEST_F(FileCommandTest, RichTextReplacesWithoutAsking) {
    WriteFile(temp_ / "bericht.rtf", "alt");
    DesktopRun run({"J ++D . bericht.rtf", "J ++T . neu", "J ++D 3 ++T"});
    EXPECT_EQ(FileText(temp_ / "bericht.rtf"), "neu");
    EXPECT_TRUE(run.Events("message").empty());
}

TEST_F(FileCommandTest, RichTextReadsControlWordsAsText) {
    WriteFile(temp_ / "alt.RTF", "{\\rtf1 Hallo}");
    DesktopRun run({"J ++D . alt", "J ++D 4 ++T"});
    EXPECT_EQ(run.Value("++T"), "{\\rtf1 Hallo}");
}

TEST_F(FileCommandTest, RichTextFailuresAreSilent) {
    DesktopRun run(
        {"J ++U . alt", "J ++D . fehlt\\x", "J ++T . neu", "J ++D 3 ++T", "J ++D 4 ++U"});
    EXPECT_TRUE(run.Events("message").empty());
    EXPECT_EQ(run.Value("++U"), "alt");
    EXPECT_EQ(run.ErrorCode(), 0);
}

// ----- "O" copy

TEST_F(FileCommandTest, CopyWildcardIntoANewFolder) {
    fs::create_directories(temp_ / "Quelle" / "unter");
    WriteFile(temp_ / "Quelle" / "a.txt", "A");
    WriteFile(temp_ / "Quelle" / "b", "B");
    WriteFile(temp_ / "Quelle" / "unter" / "c.txt", "C");
    DesktopRun run({"J +Q . Quelle\\*.*", "J +Z . Ziel", "J +Q O +Z"});
    EXPECT_EQ(FileText(temp_ / "Ziel" / "a.txt"), "A");
    EXPECT_EQ(FileText(temp_ / "Ziel" / "b"), "B");
    EXPECT_EQ(FileText(temp_ / "Ziel" / "unter" / "c.txt"), "C");
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, CopyWildcardMatchesWithoutCase) {
    fs::create_directories(temp_ / "Quelle");
    WriteFile(temp_ / "Quelle" / "a.txt", "A");
    WriteFile(temp_ / "Quelle" / "b.dat", "B");
    DesktopRun run({"J +Q . QUELLE\\*.TXT", "J +Z . Ziel", "J +Q O +Z"});
    EXPECT_EQ(FileText(temp_ / "Ziel" / "a.txt"), "A");
    EXPECT_EQ(FileText(temp_ / "Ziel" / "b.dat"), "<missing>");
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, CopyOverwritesAFileInAnExistingFolder) {
    fs::create_directories(temp_ / "Ziel");
    WriteFile(temp_ / "a.txt", "neu");
    WriteFile(temp_ / "Ziel" / "a.txt", "alt");
    DesktopRun run({"J +Q . a.txt", "J +Z . Ziel", "J +Q O +Z"});
    EXPECT_EQ(FileText(temp_ / "Ziel" / "a.txt"), "neu");
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, CopyAFileToANewName) {
    WriteFile(temp_ / "a.txt", "A");
    DesktopRun run({"J +Q . a.txt", "J +Z . neu\\b.txt", "J +Q O +Z"});
    EXPECT_EQ(FileText(temp_ / "neu" / "b.txt"), "A");
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, CopyAFolderToANewName) {
    fs::create_directories(temp_ / "Quelle");
    WriteFile(temp_ / "Quelle" / "a.txt", "A");
    DesktopRun run({"J +Q . Quelle", "J +Z . Kopie", "J +Q O +Z"});
    EXPECT_EQ(FileText(temp_ / "Kopie" / "a.txt"), "A");
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, CopyAFolderIntoItselfFails) {
    fs::create_directories(temp_ / "Quelle");
    WriteFile(temp_ / "Quelle" / "a.txt", "A");
    DesktopRun run({"J +Q . Quelle", "J +Z . Quelle\\innen", "J +Q O +Z"});
    EXPECT_EQ(run.Value(kFileError), kOne);
    EXPECT_FALSE(fs::exists(temp_ / "Quelle" / "innen" / "innen"));
}

TEST_F(FileCommandTest, CopyOfNothingFails) {
    fs::create_directories(temp_ / "Quelle");
    DesktopRun run({"J +Q . fehlt.txt", "J +Z . Ziel", "J +Q O +Z", "J +R = [+DATEIFEHLER]",
                    "J +Q . Quelle\\*.*", "J +Q O +Z"});
    EXPECT_EQ(run.Value("+R"), "1");
    EXPECT_EQ(run.Value(kFileError), kOne);
}

TEST_F(FileCommandTest, CopyWithoutEitherVariableIsError17) {
    EXPECT_EQ(DesktopRun({"J +Q . a", "J +Q O +Z"}).ErrorCode(), 17);
    EXPECT_EQ(DesktopRun({"J +Z . a", "J +Q O +Z"}).ErrorCode(), 17);
}

// ----- "I" create a folder path

TEST_F(FileCommandTest, CreateFolderWithItsParents) {
    DesktopRun run({"J +P . eins\\zwei\\drei", "J +P I +P"});
    EXPECT_TRUE(fs::is_directory(temp_ / "eins" / "zwei" / "drei"));
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, CreateAnExistingFolderSucceeds) {
    fs::create_directory(temp_ / "da");
    EXPECT_EQ(DesktopRun({"J +P . da", "J +P I +P"}).Value(kFileError), kZero);
}

TEST_F(FileCommandTest, CreateFolderWithAnEmptyPathFails) {
    DesktopRun run({"J +P . $", "J +P I +P"});
    EXPECT_EQ(run.Value(kFileError), kOne);
}

TEST_F(FileCommandTest, CreateFolderWhereAFileIsFails) {
    WriteFile(temp_ / "datei", "x");
    EXPECT_EQ(DesktopRun({"J +P . datei", "J +P I +P"}).Value(kFileError), kOne);
}

TEST_F(FileCommandTest, CreateFolderWithoutVariableIsError17) {
    EXPECT_EQ(DesktopRun({"J +P I +P"}).ErrorCode(), 17);
}

// ----- "U" move or rename

TEST_F(FileCommandTest, MoveRenamesAFile) {
    WriteFile(temp_ / "alt.txt", "A");
    DesktopRun run({"J +A . ALT.TXT", "J +B . neu.txt", "J +A U +B"});
    EXPECT_EQ(FileText(temp_ / "neu.txt"), "A");
    EXPECT_FALSE(fs::exists(temp_ / "alt.txt"));
    EXPECT_EQ(run.Value(kFileError), kZero);
    EXPECT_TRUE(run.platform().sessionWindowVisible());
}

TEST_F(FileCommandTest, MoveAFolder) {
    fs::create_directories(temp_ / "von");
    fs::create_directories(temp_ / "nach");
    WriteFile(temp_ / "von" / "a", "A");
    DesktopRun run({"J +A . von", "J +B . nach\\von", "J +A U +B"});
    EXPECT_EQ(FileText(temp_ / "nach" / "von" / "a"), "A");
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, MoveNeverReplacesATarget) {
    WriteFile(temp_ / "a", "A");
    WriteFile(temp_ / "b", "B");
    DesktopRun run({"J +A . a", "J +B . b", "J +A U +B"});
    EXPECT_EQ(FileText(temp_ / "b"), "B");
    EXPECT_EQ(FileText(temp_ / "a"), "A");
    EXPECT_EQ(run.Value(kFileError), kOne);
}

TEST_F(FileCommandTest, MoveWithoutTargetVariableIsError17AndShowsTheWindowAgain) {
    WriteFile(temp_ / "a", "A");
    DesktopRun run({"J +A . a", "J +A U +B"});
    EXPECT_EQ(run.ErrorCode(), 17);
    EXPECT_TRUE(run.platform().sessionWindowVisible());
    EXPECT_EQ(FileText(temp_ / "a"), "A");
}

// ----- "Ö" delete

TEST_F(FileCommandTest, DeleteWildcardMatchesOnly) {
    WriteFile(temp_ / "x.tmp", "x");
    WriteFile(temp_ / "y.TMP", "y");
    WriteFile(temp_ / "z.txt", "z");
    DesktopRun run({"J +A . *.tmp", "J +A \xC3\x96 +A"});
    EXPECT_FALSE(fs::exists(temp_ / "x.tmp"));
    EXPECT_FALSE(fs::exists(temp_ / "y.TMP"));
    EXPECT_EQ(FileText(temp_ / "z.txt"), "z");
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, DeleteAFolderWithItsFiles) {
    fs::create_directories(temp_ / "weg" / "unter");
    WriteFile(temp_ / "weg" / "unter" / "a", "a");
    DesktopRun run({"J +A . WEG", "J +A \xC3\x96 +A"});
    EXPECT_FALSE(fs::exists(temp_ / "weg"));
    EXPECT_EQ(run.Value(kFileError), kZero);
}

TEST_F(FileCommandTest, DeleteOfNothingFails) {
    DesktopRun run({"J +A . fehlt", "J +A \xC3\x96 +A", "J +R = [+DATEIFEHLER]", "J +A . *.xyz",
                    "J +A \xC3\x96 +A", "J +A . $", "J +A \xC3\x96 +A"});
    EXPECT_EQ(run.Value("+R"), "1");
    EXPECT_EQ(run.Value(kFileError), kOne);
    EXPECT_TRUE(fs::exists(temp_.path()));
}

TEST_F(FileCommandTest, DeleteWithoutOperandVariableIsError17AndKeepsTheFile) {
    WriteFile(temp_ / "a", "A");
    DesktopRun run({"J +A . a", "J +A \xC3\x96 +B"});
    EXPECT_EQ(run.ErrorCode(), 17);
    EXPECT_EQ(FileText(temp_ / "a"), "A");
    EXPECT_TRUE(run.platform().sessionWindowVisible());
}

// ----- "J" exists

TEST_F(FileCommandTest, ExistsTestsFilesOnly) {
    WriteFile(temp_ / "Datei.txt", "x");
    fs::create_directory(temp_ / "Ordner");
    DesktopRun run({"J +A . DATEI.TXT", "J +A J +A", "J +R = [+SYSTEM_VAR_0001]", "J +B . Ordner",
                    "J +B J +B", "J +S = [+SYSTEM_VAR_0001]", "J +C . fehlt", "J +C J +C",
                    "J +T = [+SYSTEM_VAR_0001]"});
    EXPECT_EQ(run.Value("+R"), "1");
    EXPECT_EQ(run.Value("+S"), "0");
    EXPECT_EQ(run.Value("+T"), "0");
}

TEST_F(FileCommandTest, ExistsWithoutVariableDoesNothing) {
    DesktopRun run({"J +A J +A"});
    EXPECT_EQ(run.Value(kVar1), "<none>");
    EXPECT_EQ(run.ErrorCode(), 0);
}

// ----- "W" and "F" the file dialogs

TEST_F(FileCommandTest, OpenDialogStoresTheChosenPathAndEntersTheKnowledgeBaseFolder) {
    fs::create_directory(temp_ / "wb");
    ScriptedOptions options;
    options.knowledgeBasePath = (temp_ / "wb" / "TEST.WBP").string();
    DesktopRun run({"J ++F . Texte|*.TXT|Alle$Dateien|*.*", "J ++D W ++F"},
                   {{{"file", "/daten/brief.txt"}}}, options);
    EXPECT_EQ(run.Value("++D"), "/daten/brief.txt");
    const auto dialogs = run.Events("filedialog");
    ASSERT_EQ(dialogs.size(), 1U);
    EXPECT_EQ(dialogs[0].at("dialog"), "open");
    EXPECT_EQ(dialogs[0].at("title"), "Datei ausw\xC3\xA4hlen");
    EXPECT_EQ(dialogs[0].at("filters"),
              nlohmann::json::parse(R"([{"description":"Texte","pattern":"*.TXT"},
                                        {"description":"Alle Dateien","pattern":"*.*"}])"));
    EXPECT_EQ(fs::current_path(), fs::canonical(temp_ / "wb"));
    EXPECT_TRUE(run.platform().sessionWindowVisible());
}

TEST_F(FileCommandTest, OpenDialogCancelledKeepsTheValueAndStillEntersTheFolder) {
    fs::create_directory(temp_ / "wb");
    ScriptedOptions options;
    options.knowledgeBasePath = (temp_ / "wb" / "TEST.WBP").string();
    DesktopRun run({"J ++D . alt", "J ++D W ++F"}, {{{"file", nullptr}}}, options);
    EXPECT_EQ(run.Value("++D"), "alt");
    const auto dialogs = run.Events("filedialog");
    ASSERT_EQ(dialogs.size(), 1U);
    EXPECT_EQ(dialogs[0].at("filters"),
              nlohmann::json::parse(R"([{"description":"Alle Dateien","pattern":"*.*"}])"));
    EXPECT_TRUE(dialogs[0].at("file").is_null());
    EXPECT_EQ(fs::current_path(), fs::canonical(temp_ / "wb"));
}

TEST_F(FileCommandTest, SaveDialogGivesAFullPathAndCreatesNothing) {
    DesktopRun run({"J ++D F ++F"}, {{{"file", "neu.txt"}}});
    EXPECT_EQ(run.Value("++D"), (fs::current_path() / "neu.txt").string());
    EXPECT_FALSE(fs::exists(temp_ / "neu.txt"));
    const auto dialogs = run.Events("filedialog");
    ASSERT_EQ(dialogs.size(), 1U);
    EXPECT_EQ(dialogs[0].at("dialog"), "save");
    EXPECT_FALSE(dialogs[0].contains("title"));
}

TEST_F(FileCommandTest, DialogWithoutTheServiceSaysSoAndGoesOn) {
    DesktopRun run({"J ++D W ++F", "J ++D W ++F", "J +WEITER . ja"}, {}, {},
                   {.clipboard = true, .fileDialogs = false, .shell = true});
    ASSERT_EQ(run.MessageTexts().size(), 1U);  // once per block
    EXPECT_EQ(run.MessageTexts()[0],
              "F\xC3\xBCr den Variablenbefehl \"W\" (Zeile 8) steht die Dateiauswahl nicht zur "
              "Verf\xC3\xBCgung.\r\nDie Sitzung wird fortgesetzt.");
    EXPECT_EQ(run.Value("++D"), "<none>");
    EXPECT_EQ(run.Value("+WEITER"), "ja");
}

// ----- the operations themselves

struct WildcardCase {
    std::string name;
    std::string pattern;
    std::string file;
    bool matches;
};

class Wildcard : public testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcard, Matches) {
    EXPECT_EQ(MatchesWildcard(GetParam().pattern, GetParam().file), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Wildcard,
    testing::Values(WildcardCase{"StarDotStarMatchesAll", "*.*", "brief.txt", true},
                    WildcardCase{"StarDotStarMatchesNoExtension", "*.*", "brief", true},
                    WildcardCase{"Star", "*", "a.b.c", true},
                    WildcardCase{"ExtensionWithoutCase", "*.TXT", "brief.txt", true},
                    WildcardCase{"OtherExtension", "*.TXT", "brief.dat", false},
                    WildcardCase{"Question", "b?ief.*", "BRIEF.TXT", true},
                    WildcardCase{"QuestionNeedsOne", "brief?", "brief", false},
                    WildcardCase{"StarInTheMiddle", "a*z", "abcz", true},
                    WildcardCase{"StarBacktracks", "*ab", "aab", true},
                    WildcardCase{"Umlaut", "\xC4*", "\xE4pfel", true},
                    WildcardCase{"Literal", "brief.txt", "brief.txtx", false}),
    CaseName());

TEST(TextFile, DecodeKeepsEveryByteWithoutMark) {
    std::string all;
    for (int c = 0; c < 256; ++c) {
        if (c != '\r' && c != '\n') {
            all += static_cast<char>(c);
        }
    }
    EXPECT_EQ(DecodeTextFile(all), all);
}

}  // namespace
}  // namespace kelvo
