#include "authoring/knowledge_base_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "authoring/program_line_check.h"
#include "line_builder.h"
#include "line_corpus.h"

namespace kelvo {
namespace {

using testing::Columns;

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(KELVO_TEST_DATA) + "/fixtures/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Texts(const std::vector<LineRecord>& records) {
    std::vector<std::string> texts;
    for (const LineRecord& record : records) {
        texts.emplace_back(record.text());
    }
    return texts;
}

// ---- import

TEST(ImportKnowledgeBaseText, NormalizesEveryLine) {
    const TextImport result = ImportKnowledgeBaseText("f x (7) . a$b\nK\n", "kb.txt");
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(Texts(result.records),
              (std::vector<std::string>{
                  Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}, {41, "a b"}}),
                  Columns({{1, "K"}})}));
}

TEST(ImportKnowledgeBaseText, LastLineEndIsOptional) {
    EXPECT_EQ(ImportKnowledgeBaseText("K a\nK b", "kb.txt").records.size(), 2u);
    EXPECT_EQ(ImportKnowledgeBaseText("K a\nK b\n", "kb.txt").records.size(), 2u);
}

TEST(ImportKnowledgeBaseText, EmptyTextIsAnEmptyKnowledgeBase) {
    const TextImport result = ImportKnowledgeBaseText("", "kb.txt");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.records.empty());
}

TEST(ImportKnowledgeBaseText, ByteOrderMarkAndCarriageReturnsIgnored) {
    const TextImport result =
        ImportKnowledgeBaseText(Fixture("byte_order_mark_and_crlf.txt"), "kb.txt");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(Texts(result.records),
              (std::vector<std::string>{Columns({{1, "K mit BOM und CRLF"}}),
                                        Columns({{1, "Z"}, {3, "ZIEL"}}), Columns({{1, "K"}})}));
}

TEST(ImportKnowledgeBaseText, UmlautsBecomeWindows1252) {
    const TextImport result = ImportKnowledgeBaseText("z \xC3\xA4rger", "kb.txt");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records[0].text(), Columns({{1, "Z"}, {3, "\xC4RGER"}}));
}

// Faulty input: every faulty line is reported, in order, and no record is given.
struct FaultCase {
    const char* name;
    const char* fixture;
    std::vector<std::string> faults;
    std::vector<std::string> warnings;
    std::size_t records;
};

std::ostream& operator<<(std::ostream& out, const FaultCase& c) {
    return out << c.fixture;
}

class ImportFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ImportFaultTest, ReportsEveryLine) {
    const FaultCase& c = GetParam();
    const TextImport result = ImportKnowledgeBaseText(Fixture(c.fixture), c.fixture);
    EXPECT_EQ(result.faults, c.faults);
    EXPECT_EQ(result.warnings, c.warnings);
    EXPECT_EQ(result.records.size(), c.records);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ImportFaultTest,
    ::testing::Values(
        FaultCase{"FaultyLines",
                  "faulty_lines.txt",
                  {"faulty_lines.txt:3: Ihre Programmzeile ist Fehlerhaft (unbekannte Zeilenart "
                   "\"Q\")",
                   "faulty_lines.txt:4: Ihre Programmzeile ist Fehlerhaft (Wort 3 \"A{2}\": "
                   "geschweifte Klammern nur in Namen mit \"+\")",
                   "faulty_lines.txt:5: Ihre Programmzeile ist Fehlerhaft (leere Zeile; ein "
                   "Kommentar ist \"K\")",
                   "faulty_lines.txt:6: Ihre Programmzeile ist Fehlerhaft (Wort 2 \"(100)\": "
                   "Sicherheit au\xC3\x9F"
                   "erhalb von 0 bis 99)"},
                  {},
                  0},
        FaultCase{"EmptyLine",
                  "empty_line.txt",
                  {"empty_line.txt:2: Ihre Programmzeile ist Fehlerhaft (leere Zeile; ein "
                   "Kommentar ist \"K\")"},
                  {},
                  0},
        FaultCase{"LineLongerThan83",
                  "line_longer_than_83.txt",
                  {"line_longer_than_83.txt:2: Ihre Programmzeile ist Fehlerhaft (l\xC3\xA4nger "
                   "als 83 Zeichen: 87)"},
                  {},
                  0},
        FaultCase{"CharacterOutsideWindows1252",
                  "character_outside_windows1252.txt",
                  {},
                  {"character_outside_windows1252.txt:2: Warnung: 2 Zeichen ohne Entsprechung in "
                   "Windows-1252, durch \"?\" ersetzt"},
                  3}),
    testing::CaseName());

TEST(ImportKnowledgeBaseText, UnmappableCharactersBecomeQuestionMarks) {
    const TextImport result =
        ImportKnowledgeBaseText(Fixture("character_outside_windows1252.txt"), "kb.txt");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records[1].text(), Columns({{1,
                                                  "T Gr\xFC\xDF"
                                                  "e ? und ?"}}));
}

TEST(ImportKnowledgeBaseText, LimitCountsCharactersNotBytes) {
    // 83 characters, 164 bytes of UTF-8
    std::string line = "T ";
    for (int i = 0; i < 81; ++i) {
        line += "\xC3\xA4";
    }
    EXPECT_TRUE(ImportKnowledgeBaseText(line, "kb.txt").ok());
    EXPECT_FALSE(ImportKnowledgeBaseText(line + "\xC3\xA4", "kb.txt").ok());
}

// ---- export

TEST(ExportProgramLine, TextValuesShownWithFillCharacters) {
    EXPECT_EQ(
        ExportProgramLine(Columns({{1, "R"}, {3, "ZIEL"}, {39, "."}, {41, " Tee mit Zitrone"}})),
        "R ZIEL" + std::string(32, ' ') + ". $Tee$mit$Zitrone");
    EXPECT_EQ(ExportProgramLine(Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}})),
              "F X" + std::string(30, ' ') + "(99) . $")
        << "an empty value keeps one fill character";
    EXPECT_EQ(ExportProgramLine(Columns({{1, "R"}, {3, "ZIEL"}, {39, "="}, {41, "+A"}})),
              "R ZIEL" + std::string(32, ' ') + "= +A");
    EXPECT_EQ(ExportProgramLine(Columns({{1, "T  Text   mit  Blanks"}})), "T  Text   mit  Blanks");
}

TEST(ExportKnowledgeBaseText, WarnsAboutRecordsNotInNormalForm) {
    const std::vector<LineRecord> records = {
        LineRecord(Columns({{1, "K"}})),
        LineRecord("< A . b"),
        LineRecord("F X (99) . hello"),
        LineRecord(Columns({{1, "Z"}, {3, "ZIEL"}}) + "7"),
        LineRecord("T a\nb"),
        LineRecord("Z ziel"),
    };
    const TextExport result = ExportKnowledgeBaseText(records, "kb.wbp");
    EXPECT_EQ(result.utf8, "K\n< A . b\nF X (99) . hello" + std::string(24, ' ') + "$\nZ ZIEL" +
                               std::string(76, ' ') + "7\nT a\nb\nZ ziel\n");
    EXPECT_EQ(result.warnings,
              (std::vector<std::string>{
                  "kb.wbp:2: Warnung: Datensatz nicht in Normalform; die Zeile w\xC3\xA4re beim "
                  "Einlesen fehlerhaft: unbekannte Zeilenart \"<\"",
                  "kb.wbp:3: Warnung: Datensatz nicht in Normalform; die Zeile w\xC3\xA4re beim "
                  "Einlesen fehlerhaft: 4 W\xC3\xB6rter erwartet, 5 gefunden",
                  "kb.wbp:4: Warnung: Datensatz nicht in Normalform; die Zeile w\xC3\xA4re beim "
                  "Einlesen fehlerhaft: 1 Wort erwartet, 2 gefunden",
                  "kb.wbp:5: Warnung: Datensatz nicht in Normalform; der Datensatz enth\xC3\xA4lt "
                  "einen Zeilenwechsel",
                  "kb.wbp:6: Warnung: Datensatz nicht in Normalform; beim Einlesen "
                  "entst\xC3\xBCnde ein anderer Datensatz"}));
}

TEST(ExportRawRecords, EveryCharacterUpToTheLength) {
    const std::vector<LineRecord> records = {LineRecord("K  \xAB"
                                                        "x\xBB  "),
                                             LineRecord(""),
                                             LineRecord(Columns({{1, "Z"}, {3, "A"}}) + "5")};
    EXPECT_EQ(ExportRawRecords(records),
              "K  \xC2\xAB"
              "x\xC2\xBB  \n\nZ A" +
                  std::string(79, ' ') + "5\n");
}

// ---- the fixture knowledge base

TEST(KnowledgeBaseText, ExampleExportsAsExpected) {
    const TextImport imported = ImportKnowledgeBaseText(Fixture("example.txt"), "example.txt");
    ASSERT_TRUE(imported.ok()) << ::testing::PrintToString(imported.faults);
    EXPECT_EQ(imported.records.size(), 18u);
    const TextExport exported = ExportKnowledgeBaseText(imported.records, "example.wbp");
    EXPECT_TRUE(exported.warnings.empty());
    EXPECT_EQ(exported.utf8, Fixture("example.export.txt"));
}

TEST(KnowledgeBaseText, FixturesRoundTrip) {
    for (const char* name : {"example.txt", "example.export.txt", "byte_order_mark_and_crlf.txt",
                             "character_outside_windows1252.txt"}) {
        const TextImport first = ImportKnowledgeBaseText(Fixture(name), name);
        ASSERT_TRUE(first.ok()) << name;
        const TextExport exported = ExportKnowledgeBaseText(first.records, name);
        EXPECT_TRUE(exported.warnings.empty()) << name;
        const TextImport second = ImportKnowledgeBaseText(exported.utf8, name);
        ASSERT_TRUE(second.ok()) << name;
        EXPECT_EQ(Texts(second.records), Texts(first.records)) << name;
    }
}

// ---- the round trip as a property over generated lines of every kind

class RoundTripTest : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(RoundTripTest, ImportOfExportGivesTheSameRecords) {
    testing::LineCorpus corpus(GetParam());
    std::vector<LineRecord> records;
    std::set<char> kinds;
    for (int i = 0; i < 3000; ++i) {
        const std::string typed = corpus.Next();
        const LineCheck check = CheckProgramLine(typed);
        ASSERT_TRUE(check.ok) << "generated [" << typed << "]: " << check.reason;
        records.emplace_back(check.line);
        kinds.insert(check.line[0]);
    }
    EXPECT_EQ(kinds.size(), testing::LineCorpus::kKinds.size());

    const TextExport exported = ExportKnowledgeBaseText(records, "corpus");
    EXPECT_TRUE(exported.warnings.empty()) << exported.warnings.front();
    const TextImport imported = ImportKnowledgeBaseText(exported.utf8, "corpus");
    ASSERT_TRUE(imported.ok()) << imported.faults.front();
    ASSERT_EQ(imported.records.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_EQ(imported.records[i].bytes(), records[i].bytes()) << "line " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTripTest, ::testing::Values(1u, 2u, 3u, 20240601u, 99991u));

}  // namespace
}  // namespace kelvo
