// Lines and texts of every shape, most of them broken: the checker and the importer must give a
// verdict for each without reading or writing out of bounds (the sanitizer build watches).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "authoring/knowledge_base_text.h"
#include "authoring/program_line_check.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

// Characters the grammar cares about, so that random lines often come close to well formed.
constexpr std::string_view kAlphabet =
    "FZJVNTORUKWBMGXYHCP=\xAB\xBB fzjv  []()[]()$${}{}+-+.|#<>=*/0123456789.eE,ABCxyz\xC4\xE4"
    "\xDC\xD6";

std::string RandomLine(std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> length(0, 90);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string line;
    const std::size_t n = length(random);
    for (std::size_t i = 0; i < n; ++i) {
        line += kAlphabet[pick(random)];
    }
    if (line.size() >= 2 && random() % 2 == 0) {
        line[1] = ' ';  // a kind letter and a blank, as typed lines begin
    }
    return line;
}

TEST(BadInput, EveryLineGetsAVerdictAndWellFormedLinesHave82Columns) {
    std::mt19937 random(20261210);
    int wellFormed = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string typed = RandomLine(random);
        const LineCheck check = CheckProgramLine(typed);
        if (check.ok) {
            ++wellFormed;
            ASSERT_EQ(check.line.size(), 82u) << typed;
            EXPECT_EQ(check.line[0], ToUpperByte(typed[0])) << typed;
            EXPECT_EQ(check.line[1], ' ') << typed;
        } else {
            EXPECT_TRUE(check.line.empty()) << typed;
            EXPECT_FALSE(check.reason.empty()) << typed;
        }
    }
    EXPECT_GT(wellFormed, 0);  // the alphabet does reach well-formed lines
}

TEST(BadInput, ArbitraryBytesImportWithFaultsButNoRecords) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 200; ++i) {
        std::string text;
        for (int k = 0; k < 600; ++k) {
            text += static_cast<char>(byte(random));
        }
        const TextImport imported = ImportKnowledgeBaseText(text, "zufall.txt");
        if (!imported.ok()) {
            EXPECT_TRUE(imported.records.empty());
            for (const std::string& fault : imported.faults) {
                EXPECT_EQ(fault.rfind("zufall.txt:", 0), 0u) << fault;
            }
        }
    }
}

}  // namespace
}  // namespace kelvo
