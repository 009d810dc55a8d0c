// Reading and writing other knowledge-base files through exchange lines.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

#include <fstream>

#include "authoring/program_line_check.h"
#include "engine/error_codes.h"
#include "store/stored_number.h"
#include "tests/case_name.h"
#include "tests/engine/exchange_fixture.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

const std::string kComment = PadRight("K", 82);

std::string Number(double value) {
    return FormatStoredNumber(value);
}

// A record file of `count` lines "T Zeile i".
std::vector<std::string> Lines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back(PadRight("T Zeile " + std::to_string(i), 82));
    }
    return lines;
}

std::string Line(std::string_view code, std::string_view kind = "(1)") {
    return "W ++DATEI " + std::string(code) + " " + std::string(kind);
}

// The file the exchange lines name: written upper-case, found on disk in lower case.
struct OtherFile {
    TempDir dir;
    std::filesystem::path onDisk = dir / "other.wbp";
    std::string named = (dir / "OTHER.WBP").string();
};

ConsultationConfig UserModule() {
    ConsultationConfig config;
    config.programmingModule = false;
    return config;
}

std::string VariableRecord(std::string_view name, char mark, std::string_view piece) {
    return PadRight("J " + PadRight(name, 30) + "      " + mark + " " + PadRight(piece, 30), 82);
}

std::string BlankCountRecord(int count) {
    return PadRight("J [+LEERZEICHEN    ]                  . " + Number(count), 82);
}

// --- read commands -------------------------------------------------------------------------

struct ReadCase {
    std::string name;
    std::vector<std::string> file;
    PresetFacts facts;  // besides ++DATEI
    std::string code;
    std::vector<std::pair<std::string, std::string>> expected;  // variable, trimmed value
};

class ReadCommand : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadCommand, SetsItsVariables) {
    const ReadCase& row = GetParam();
    OtherFile other;
    WriteRecordFile(other.onDisk, row.file);
    PresetFacts facts = row.facts;
    facts.emplace_back("++DATEI", other.named);
    auto run = RunProgram(ExchangeProgram("\xC2\xAB", {Line(row.code)}), facts, UserModule());
    EXPECT_EQ(run->consultation().LastErrorCode(), 0);
    for (const auto& [name, value] : row.expected) {
        EXPECT_EQ(run->Value(name), value) << name;
    }
    EXPECT_EQ(ReadRecordFile(other.onDisk), row.file);
}

const std::string kWbnr = "[+WBNR           ]";
const std::string kSuch = "[+WB_SUCH        ]";

INSTANTIATE_TEST_SUITE_P(
    DataExchange, ReadCommand,
    testing::Values(ReadCase{"Read2000TakesTheWholeRecord",
                             {kComment, "T zwei ist 83 lang" + std::string(64, ' ') + "9"},
                             {{kWbnr, Number(2)}},
                             "(2000)",
                             {{"++WB_LESEN", "T zwei ist 83 lang" + std::string(64, ' ') + "9"}}},
                    ReadCase{"Count2010Of120Records",
                             Lines(120),
                             {{kWbnr, Number(1)}},
                             "(2010)",
                             {{kWbnr, "(         120.000)"}}},
                    ReadCase{"Next2020IsCountPlusOne",
                             Lines(3),
                             {{kWbnr, Number(2)}},
                             "(2020)",
                             {{kWbnr, Number(4)}}},
                    ReadCase{"Search2030WithoutMatchGivesTheCount",
                             Lines(5),
                             {{kWbnr, Number(2)}, {"++WB_LESEN", "nirgends"}},
                             "(2030)",
                             {{kWbnr, Number(5)}}},
                    ReadCase{"Search2030MatchAtNStaysN",
                             Lines(5),
                             {{kWbnr, Number(3)}, {"++WB_LESEN", "zeile 3"}},
                             "(2030)",
                             {{kWbnr, Number(3)}}},
                    ReadCase{"Search2030FindsALaterRecordWithoutCase",
                             Lines(12),
                             {{kWbnr, Number(2)}, {"++WB_LESEN", "ZEILE 1"}},
                             "(2030)",
                             {{kWbnr, Number(10)}}},
                    ReadCase{"Search2040CountsEveryMatchFromN",
                             Lines(12),
                             {{kWbnr, Number(2)}, {"++WB_LESEN", "zeile 1"}},
                             "(2040)",
                             {{kSuch, Number(3)},
                              {"[+WB_SUCH{1}     ]", Number(10)},
                              {"[+WB_SUCH{2}     ]", Number(11)},
                              {"[+WB_SUCH{3}     ]", Number(12)},
                              {kWbnr, Number(2)}}},
                    ReadCase{"Search2040WithoutMatchIsZero",
                             Lines(3),
                             {{kWbnr, Number(1)}, {"++WB_LESEN", "nirgends"}},
                             "(2040)",
                             {{kSuch, Number(0)}, {"[+WB_SUCH{1}     ]", "<none>"}}},
                    ReadCase{"Fetch2050JoinsPiecesAndBlankCounts",
                             {kComment, VariableRecord("++TEXT", '.', "Hallo"),
                              BlankCountRecord(25), VariableRecord("++TEXT", '-', "Welt"),
                              PadRight("K anderes", 82), BlankCountRecord(9)},
                             {{kWbnr, Number(1)}, {"++WB_LESEN", "++text"}},
                             "(2050)",
                             {{"++TEXT", "Hallo" + std::string(25, ' ') + "Welt"}}},
                    ReadCase{"Fetch2050OfAnUndefinedVariableIsEmpty",
                             {kComment},
                             {{kWbnr, Number(1)}, {"++WB_LESEN", "++NICHTS"}},
                             "(2050)",
                             {{"++NICHTS", ""}}}),
    CaseName());

// --- write commands ------------------------------------------------------------------------

struct WriteCase {
    std::string name;
    std::vector<std::string> file;
    PresetFacts facts;
    std::string code;
    std::vector<std::string> expectedFile;
    std::string expectedWbnr;  // trimmed value afterwards
};

class WriteCommand : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteCommand, ChangesTheFile) {
    const WriteCase& row = GetParam();
    OtherFile other;
    WriteRecordFile(other.onDisk, row.file);
    PresetFacts facts = row.facts;
    facts.emplace_back("++DATEI", other.named);
    auto run = RunProgram(ExchangeProgram("\xC2\xBB", {Line(row.code)}), facts, UserModule());
    EXPECT_EQ(run->consultation().LastErrorCode(), 0);
    EXPECT_EQ(ReadRecordFile(other.onDisk), row.expectedFile);
    EXPECT_EQ(run->Value(kWbnr), row.expectedWbnr);
    EXPECT_FALSE(std::filesystem::exists(other.onDisk.string() + ".partial"));
}

// A 75-character value: pieces of 30, 30 and 15; the first two end in blanks.
const std::string kLongValue = "erstes Stueck mit Blanks" + std::string(6, ' ') + "zweites Stueck" +
                               std::string(16, ' ') + "drittes Stueck.";

INSTANTIATE_TEST_SUITE_P(
    DataExchange, WriteCommand,
    testing::Values(
        WriteCase{"Create1000EmptiesAnExistingFile",
                  Lines(4),
                  {{kWbnr, Number(1)}},
                  "(1000)",
                  {kComment},
                  Number(1)},
        WriteCase{"Insert1010AtTheEnd",
                  Lines(2),
                  {{kWbnr, Number(3)}},
                  "(1010)",
                  {Lines(2)[0], Lines(2)[1], kComment},
                  Number(3)},
        WriteCase{"Insert1010AtN",
                  Lines(2),
                  {{kWbnr, Number(1)}},
                  "(1010)",
                  {kComment, Lines(2)[0], Lines(2)[1]},
                  Number(1)},
        WriteCase{"Variable1015Of75Characters",
                  {kComment},
                  {{kWbnr, Number(1)}, {"++WB_SCHREIBEN", "++lang"}, {"++LANG", kLongValue}},
                  "(1015)",
                  {kComment, VariableRecord("++LANG", '.', kLongValue.substr(0, 30)),
                   BlankCountRecord(6), VariableRecord("++LANG", '-', kLongValue.substr(30, 30)),
                   BlankCountRecord(16), VariableRecord("++LANG", '-', kLongValue.substr(60))},
                  Number(6)},
        WriteCase{"Variable1015OfAMissingVariableWritesNothing",
                  {kComment},
                  {{kWbnr, Number(1)}, {"++WB_SCHREIBEN", "++FEHLT"}},
                  "(1015)",
                  {kComment},
                  Number(1)},
        WriteCase{"Variable1050ReplacesTheEarlierDefinition",
                  {kComment, VariableRecord("++WERT", '.', "alt eins" + std::string(22, ' ')),
                   BlankCountRecord(22), VariableRecord("++WERT", '-', "alt zwei"),
                   PadRight("T danach", 82)},
                  {{kWbnr, Number(1)}, {"++WB_SCHREIBEN", "++WERT"}, {"++WERT", "neu"}},
                  "(1050)",
                  {kComment, VariableRecord("++WERT", '.', "neu"), PadRight("T danach", 82)},
                  Number(6)},
        WriteCase{"Variable1050WithoutEarlierDefinitionAppends",
                  {kComment, PadRight("T davor", 82)},
                  {{kWbnr, Number(1)}, {"++WB_SCHREIBEN", "++WERT"}, {"++WERT", "neu"}},
                  "(1050)",
                  {kComment, PadRight("T davor", 82), VariableRecord("++WERT", '.', "neu")},
                  Number(3)},
        WriteCase{"Overwrite1020WithTheNormalizedLine",
                  Lines(3),
                  {{kWbnr, Number(2)}, {"++WB_SCHREIBEN", "f menge (99) . viel"}},
                  "(1020)",
                  {Lines(3)[0], CheckProgramLine("f menge (99) . viel").line, Lines(3)[2]},
                  Number(2)},
        WriteCase{"Append1025AndNumberTheNewRecord",
                  Lines(2),
                  {{kWbnr, Number(1)}, {"++WB_SCHREIBEN", "K neu"}},
                  "(1025)",
                  {Lines(2)[0], Lines(2)[1], PadRight("K neu", 82)},
                  Number(3)},
        WriteCase{"Delete1030RecordN",
                  Lines(3),
                  {{kWbnr, Number(2)}},
                  "(1030)",
                  {Lines(3)[0], Lines(3)[2]},
                  Number(2)}),
    CaseName());

TEST(DataExchange, RunOnlyFilesGetTheDigitOne) {
    TempDir dir;
    const std::filesystem::path file = dir / "LAUF.WBB";
    WriteRecordFile(file, {kComment + "7"});
    auto run =
        RunProgram(ExchangeProgram("\xC2\xBB", {Line("(1010)", "(2)"), Line("(1015)", "(2)")}),
                   {{"++DATEI", (dir / "LAUF.WBP").string()},
                    {kWbnr, Number(2)},
                    {"++WB_SCHREIBEN", "+A"},
                    {"+A", "wert"}},
                   UserModule());
    EXPECT_EQ(run->consultation().LastErrorCode(), 0);
    EXPECT_EQ(ReadRecordFile(file),
              (std::vector<std::string>{kComment + "7", kComment + "1",
                                        VariableRecord("+A", '.', "wert") + "1"}));
}

TEST(DataExchange, ABlankPieceBetweenOthersReadsBackExactly) {
    OtherFile other;
    WriteRecordFile(other.onDisk, {kComment});
    const std::string value = "vorne" + std::string(25 + 30 + 3, ' ') + "hinten";
    auto run = RunProgram(ExchangeProgram("\xC2\xBB", {Line("(1015)")}),
                          {{"++DATEI", other.named},
                           {kWbnr, Number(1)},
                           {"++WB_SCHREIBEN", "++LUECKE"},
                           {"++LUECKE", value}},
                          UserModule());
    ASSERT_EQ(run->consultation().LastErrorCode(), 0);
    EXPECT_EQ(ReadRecordFile(other.onDisk),
              (std::vector<std::string>{kComment, VariableRecord("++LUECKE", '.', "vorne"),
                                        BlankCountRecord(25), VariableRecord("++LUECKE", '-', ""),
                                        BlankCountRecord(30),
                                        VariableRecord("++LUECKE", '-', "   hinten")}));
    auto back = RunProgram(
        ExchangeProgram("\xC2\xAB", {Line("(2050)")}),
        {{"++DATEI", other.named}, {kWbnr, Number(1)}, {"++WB_LESEN", "++LUECKE"}}, UserModule());
    EXPECT_EQ(back->Value("++LUECKE"), value);
}

TEST(DataExchange, ReadOnlyFileReadsInTheUserModule) {
    OtherFile other;
    WriteRecordFile(other.onDisk, Lines(2));
    ::chmod(other.onDisk.c_str(), 0444);
    auto run = RunProgram(ExchangeProgram("\xC2\xAB", {Line("(2000)")}),
                          {{"++DATEI", other.named}, {kWbnr, Number(2)}}, UserModule());
    EXPECT_EQ(run->consultation().LastErrorCode(), 0);
    EXPECT_EQ(run->Value("++WB_LESEN"), "T Zeile 2");
}

// File permissions do not bind the superuser, so the write runs in a child process that gives
// up its privileges first when the tests run as root.
TEST(DataExchange, ReadOnlyFileRefusesWriting) {
    OtherFile other;
    WriteRecordFile(other.onDisk, Lines(2));
    ::chmod(other.dir.path().c_str(), 0755);
    ::chmod(other.onDisk.c_str(), 0444);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(2);
            }
            auto run = RunProgram(ExchangeProgram("\xC2\xBB", {Line("(1030)")}),
                                  {{"++DATEI", other.named}, {kWbnr, Number(2)}}, UserModule());
            const bool refused = run->consultation().LastErrorCode() == 20 &&
                                 ReadRecordFile(other.onDisk) == Lines(2);
            std::_Exit(refused ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// --- failures ------------------------------------------------------------------------------

struct FailureCase {
    std::string name;
    bool read;
    std::vector<std::string> body;
    PresetFacts facts;  // "++DATEI" is added unless `noFileVariable`
    int expectedCode;
    int failingLine;  // position of the failing line
    bool noFileVariable = false;
};

class ExchangeFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(ExchangeFailure, ReportsTheCodeAtTheLineAndStops) {
    const FailureCase& row = GetParam();
    OtherFile other;
    WriteRecordFile(other.onDisk, Lines(3));
    PresetFacts facts = row.facts;
    if (!row.noFileVariable) {
        facts.emplace_back("++DATEI", other.named);
    }
    auto run = RunProgram(ExchangeProgram(row.read ? "\xC2\xAB" : "\xC2\xBB", row.body), facts,
                          UserModule());
    EXPECT_EQ(run->consultation().LastErrorCode(), row.expectedCode);
    EXPECT_EQ(run->consultation().ErrorLine(), row.failingLine);
    EXPECT_TRUE(run->consultation().Ended());
    const std::vector<nlohmann::json> messages = run->Events("message");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back()["caption"],
              "Fehlermeldung in Zeile: " + std::to_string(row.failingLine + 1));
    EXPECT_EQ(messages.back()["text"], Windows1252ToUtf8(ErrorMessage(row.expectedCode)));
    // A failed line changes nothing, and the lines after it do not run.
    EXPECT_EQ(ReadRecordFile(other.onDisk), Lines(3));
    EXPECT_EQ(run->Value("++WB_LESEN"), "<none>");
}

INSTANTIATE_TEST_SUITE_P(
    DataExchange, ExchangeFailure,
    testing::Values(
        FailureCase{"MissingFileVariableIs17",
                    true,
                    {Line("(2000)")},
                    {{kWbnr, Number(1)}},
                    17,
                    kFirstBodyLine,
                    true},
        FailureCase{"MissingRecordNumberIs17", true, {Line("(2000)")}, {}, 17, kFirstBodyLine},
        FailureCase{"WriteCodeInAReadBlockIs19",
                    true,
                    {Line("(1030)")},
                    {{kWbnr, Number(1)}},
                    19,
                    kFirstBodyLine},
        FailureCase{"ReadCodeInAWriteBlockIs19",
                    false,
                    {Line("(2000)")},
                    {{kWbnr, Number(1)}},
                    19,
                    kFirstBodyLine},
        FailureCase{
            "UnknownCodeIs19", true, {Line("(2001)")}, {{kWbnr, Number(1)}}, 19, kFirstBodyLine},
        FailureCase{"CodeFromAMissingVariableIs19",
                    true,
                    {Line("[+CODE]")},
                    {{kWbnr, Number(1)}},
                    19,
                    kFirstBodyLine},
        FailureCase{
            "Kind3Is21", false, {Line("(1030)", "(3)")}, {{kWbnr, Number(1)}}, 21, kFirstBodyLine},
        FailureCase{"RecordNumberZeroIs21",
                    true,
                    {Line("(2000)")},
                    {{kWbnr, Number(0)}},
                    21,
                    kFirstBodyLine},
        FailureCase{"RecordNumberBeyondTheEndIs21",
                    false,
                    {Line("(1030)")},
                    {{kWbnr, Number(4)}},
                    21,
                    kFirstBodyLine},
        FailureCase{"InsertBeyondCountPlusOneIs21",
                    false,
                    {Line("(1010)")},
                    {{kWbnr, Number(5)}},
                    21,
                    kFirstBodyLine},
        FailureCase{"Create1000NeedsRecordNumber1",
                    false,
                    {Line("(1000)")},
                    {{kWbnr, Number(2)}},
                    21,
                    kFirstBodyLine},
        FailureCase{"FaultyLineOf1020Is21",
                    false,
                    {Line("(1020)")},
                    {{kWbnr, Number(1)}, {"++WB_SCHREIBEN", "Q kein Zeilentyp"}},
                    21,
                    kFirstBodyLine},
        FailureCase{"MissingLineOf1025Is21",
                    false,
                    {Line("(1025)")},
                    {{kWbnr, Number(1)}},
                    21,
                    kFirstBodyLine},
        FailureCase{"MissingFileIs20",
                    false,
                    {Line("(1030)", "(2)")},
                    {{kWbnr, Number(1)}},
                    20,
                    kFirstBodyLine},
        FailureCase{"Search2030WithoutSearchTextIs17",
                    true,
                    {Line("(2030)")},
                    {{kWbnr, Number(1)}},
                    17,
                    kFirstBodyLine},
        FailureCase{"TheFailingLineEndsTheBlock",
                    true,
                    {Line("(2010)"), Line("(2001)"), Line("(2000)")},
                    {{kWbnr, Number(1)}},
                    19,
                    kFirstBodyLine + 1}),
    CaseName());

TEST(DataExchange, CodeFromAMissingVariableIsReportedTwice) {
    OtherFile other;
    WriteRecordFile(other.onDisk, Lines(1));
    auto run = RunProgram(ExchangeProgram("\xC2\xAB", {Line("[+CODE]")}),
                          {{"++DATEI", other.named}, {kWbnr, Number(1)}}, UserModule());
    std::vector<std::string> texts;
    for (const nlohmann::json& message : run->Events("message")) {
        texts.push_back(message["text"]);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{Windows1252ToUtf8(ErrorMessage(3)),
                                               Windows1252ToUtf8(ErrorMessage(19))}));
}

TEST(DataExchange, AFileThatIsNotARecordFileIs20AndStaysAsItWas) {
    OtherFile other;
    {
        std::ofstream out(other.onDisk, std::ios::binary);
        out << "kein Wissensbasis-Inhalt";
    }
    for (const char* code : {"(2000)", "(1030)", "(1000)"}) {
        auto run =
            RunProgram(ExchangeProgram(code[1] == '2' ? "\xC2\xAB" : "\xC2\xBB", {Line(code)}),
                       {{"++DATEI", other.named}, {kWbnr, Number(1)}}, UserModule());
        EXPECT_EQ(run->consultation().LastErrorCode(), 20) << code;
        std::ifstream in(other.onDisk, std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
        EXPECT_EQ(content, "kein Wissensbasis-Inhalt") << code;
    }
}

TEST(DataExchange, Create1000MakesANewFile) {
    TempDir dir;
    auto run = RunProgram(ExchangeProgram("\xC2\xBB", {Line("(1000)"), Line("(1025)")}),
                          {{"++DATEI", (dir / "NEU.WBP").string()},
                           {kWbnr, Number(1)},
                           {"++WB_SCHREIBEN", "K zweite Zeile"}},
                          UserModule());
    EXPECT_EQ(run->consultation().LastErrorCode(), 0);
    EXPECT_EQ(ReadRecordFile(dir / "NEU.WBP"),
              (std::vector<std::string>{kComment, PadRight("K zweite Zeile", 82)}));
}

TEST(DataExchange, LoopOverEveryMatchStepsPastEachMatch) {
    // 2030 from n finds n itself when it matches: a loop must go on from the match + 1.
    OtherFile other;
    WriteRecordFile(other.onDisk, Lines(12));
    std::vector<int> found;
    int n = 1;
    for (int guard = 0; guard < 20 && n <= 12; ++guard) {
        auto run =
            RunProgram(ExchangeProgram("\xC2\xAB", {Line("(2030)")}),
                       {{"++DATEI", other.named}, {kWbnr, Number(n)}, {"++WB_LESEN", "zeile 1"}},
                       UserModule());
        const int at = static_cast<int>(*ReadStoredNumber(run->Value(kWbnr)));
        found.push_back(at);
        n = at + 1;
    }
    EXPECT_EQ(found, (std::vector<int>{1, 10, 11, 12}));
}

}  // namespace
}  // namespace kelvo
