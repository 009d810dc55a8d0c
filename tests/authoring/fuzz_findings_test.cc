// Inputs the fuzz targets of the line grammar and the text-form import found, each kept as a
// case named after what it found.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "tests/case_name.h"

namespace kelvo {
namespace {

struct CarriageReturnCase {
    std::string name;
    std::string text;
    std::size_t faultyLine;
};

class CarriageReturnInsideALine : public testing::TestWithParam<CarriageReturnCase> {};

// A carriage return that does not end a line made a record whose text form is a different
// record (or two lines): an import followed by an export and an import lost it.
TEST_P(CarriageReturnInsideALine, IsAFaultyLineNotARecordThatCannotComeBack) {
    const TextImport imported = ImportKnowledgeBaseText(GetParam().text, "kb.txt");
    ASSERT_EQ(imported.faults.size(), 1u);
    EXPECT_EQ(imported.faults.front(), "kb.txt:" + std::to_string(GetParam().faultyLine) +
                                           ": Ihre Programmzeile ist Fehlerhaft (Wagenr\xC3\xBC"
                                           "cklauf innerhalb der Zeile)");
    EXPECT_TRUE(imported.records.empty());
}

INSTANTIATE_TEST_SUITE_P(
    TextImportFinding, CarriageReturnInsideALine,
    testing::Values(
        // The input the fuzz target found: a comment with a CR followed by bytes that are no
        // UTF-8.
        CarriageReturnCase{"FoundByTheFuzzer",
                           "\xEF\xBB\xBFk mit BOM und CRLF\r\x9A\x9A\x9A\x9A\x9A\x9A\x9A\x9A\x9A\n"
                           "Z ZIEL\r\nK",
                           1},
        CarriageReturnCase{"TwoBeforeTheLineEnd", "K\nK abc\r\r\nZ ZIEL\n", 2},
        CarriageReturnCase{"InsideATextValue", "Z ZIEL\nF A (99) . x\ry\n", 2}),
    CaseName());

TEST(TextImportFinding, CarriageReturnBeforeTheLineEndIsStillIgnored) {
    const TextImport imported = ImportKnowledgeBaseText("K abc\r\nZ ZIEL\r", "kb.txt");
    ASSERT_TRUE(imported.ok());
    const TextImport back =
        ImportKnowledgeBaseText(ExportKnowledgeBaseText(imported.records).utf8, "kb.txt");
    EXPECT_EQ(back.records, imported.records);
}

}  // namespace
}  // namespace kelvo
