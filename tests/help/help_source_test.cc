// The markup of the help sources: text in, blocks out.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/help/help_source.h"
#include "tests/case_name.h"

namespace kelvo {

void PrintTo(const HelpBlock& block, std::ostream* out) {
    *out << HelpBlockKindName(block.kind) << "{\"" << block.text << "\"}";
}

namespace testing {
namespace {

using Kind = HelpBlockKind;

struct ParseCase {
    std::string name;
    std::string source;
    std::vector<HelpBlock> blocks;
};

class HelpSourceParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(HelpSourceParse, GivesTheBlocks) {
    EXPECT_EQ(ParseHelpSource(GetParam().source), GetParam().blocks);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, HelpSourceParse,
    ::testing::Values(
        ParseCase{"Title", "# Regeln", {{Kind::Title, "Regeln"}}},
        ParseCase{"Heading", "## Spalten  ", {{Kind::Heading, "Spalten"}}},
        ParseCase{"ParagraphLinesAreJoined",
                  "Eine Regel\n sagt:  wenn\ndann.\n",
                  {{Kind::Paragraph, "Eine Regel sagt:  wenn dann."}}},
        ParseCase{"EmptyLineSeparatesParagraphs",
                  "erster\n\nzweiter\n",
                  {{Kind::Paragraph, "erster"}, {Kind::Paragraph, "zweiter"}}},
        ParseCase{
            "ListItemsAndTheirContinuation",
            "- eins\n- zwei\nweiter\n\nText",
            {{Kind::ListItem, "eins"}, {Kind::ListItem, "zwei weiter"}, {Kind::Paragraph, "Text"}}},
        ParseCase{"MonospacedLineKeptAsWritten",
                  "  R X                  . y  \n",
                  {{Kind::Monospaced, "R X                  . y  "}}},
        ParseCase{"MonospacedLinesFormOneBlock",
                  "    eingerückt\n  K\n",
                  {{Kind::Monospaced, "  eingerückt\nK"}}},
        ParseCase{"EmptyLinesInsideMonospacedBlockKept",
                  "  Zeile 1\n\n   \n  Zeile 2\n",
                  {{Kind::Monospaced, "Zeile 1\n\n\nZeile 2"}}},
        ParseCase{"EmptyLinesAfterMonospacedBlockDropped",
                  "  Z GETRAENK\n\n\nDas Ziel.",
                  {{Kind::Monospaced, "Z GETRAENK"}, {Kind::Paragraph, "Das Ziel."}}},
        ParseCase{"BlocksChangeWithoutEmptyLines",
                  "Text\n  K\nmehr\n## H\n- Punkt\n# T",
                  {{Kind::Paragraph, "Text"},
                   {Kind::Monospaced, "K"},
                   {Kind::Paragraph, "mehr"},
                   {Kind::Heading, "H"},
                   {Kind::ListItem, "Punkt"},
                   {Kind::Title, "T"}}},
        ParseCase{"UnknownLinesAreParagraphText",
                  "### drei\n#ohne\n-ohne\n #\n\tTab",
                  {{Kind::Paragraph, "### drei #ohne -ohne # Tab"}}},
        ParseCase{"MarkWithoutBlankIsText",
                  "#\n\n-\n\n##",
                  {{Kind::Paragraph, "#"}, {Kind::Paragraph, "-"}, {Kind::Paragraph, "##"}}},
        ParseCase{"EmptyInput", "", {}}, ParseCase{"OnlyEmptyLines", "\n  \n\t\n\r\n", {}},
        ParseCase{"CrLfLines",
                  "# Titel\r\n\r\nText\r\nweiter\r\n  Code \r\n- Punkt\r\n",
                  {{Kind::Title, "Titel"},
                   {Kind::Paragraph, "Text weiter"},
                   {Kind::Monospaced, "Code "},
                   {Kind::ListItem, "Punkt"}}},
        ParseCase{"ByteOrderMarkIgnored", "\xEF\xBB\xBF# Titel", {{Kind::Title, "Titel"}}},
        ParseCase{"UmlautsAndSignsKept",
                  "# Größe «Zähler» ß €\nÄÖÜ äöü\n  » « | €\n",
                  {{Kind::Title, "Größe «Zähler» ß €"},
                   {Kind::Paragraph, "ÄÖÜ äöü"},
                   {Kind::Monospaced, "» « | €"}}}),
    CaseName{});

}  // namespace
}  // namespace testing
}  // namespace kelvo
