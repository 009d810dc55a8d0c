#include "shell/command_line_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/case_name.h"

namespace kelvo {
namespace {

struct ArgumentsRow {
    std::string name;
    std::vector<std::string> arguments;  // the program's name first
    std::string file;                    // expected; empty: none named
};

class CommandLineFileTest : public testing::TestWithParam<ArgumentsRow> {};

TEST_P(CommandLineFileTest, NamesTheFirstFileInTheCurrentFolder) {
    EXPECT_EQ(CommandLineFile(GetParam().arguments, "/home/autor").string(), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineFileTest,
    testing::Values(
        ArgumentsRow{"NoArguments", {"kelvo"}, ""}, ArgumentsRow{"NoProgramName", {}, ""},
        ArgumentsRow{"AbsolutePath", {"kelvo", "/daten/Kredit.WBP"}, "/daten/Kredit.WBP"},
        ArgumentsRow{"RelativePath", {"kelvo", "kb/Kredit.WBP"}, "/home/autor/kb/Kredit.WBP"},
        ArgumentsRow{"BlanksAndUmlauts",
                     {"kelvo-run", "/daten/Mein Bücher-Rat.wbb"},
                     "/daten/Mein Bücher-Rat.wbb"},
        ArgumentsRow{"OnlyTheFirstFile", {"kelvo", "/a/eins.wbp", "/a/zwei.wbp"}, "/a/eins.wbp"},
        ArgumentsRow{
            "OptionsAreNoFiles", {"kelvo", "--verbose", "-x", "/a/eins.wbp"}, "/a/eins.wbp"},
        ArgumentsRow{"OnlyOptions", {"kelvo", "--help"}, ""},
        ArgumentsRow{"EmptyArgument", {"kelvo", "", "/a/eins.wbp"}, "/a/eins.wbp"},
        ArgumentsRow{
            "DashFileAfterDoubleDash", {"kelvo", "--", "-neu.wbp"}, "/home/autor/-neu.wbp"},
        ArgumentsRow{"DoubleDashOnlyOnce", {"kelvo", "--", "--"}, "/home/autor/--"}),
    CaseName());

}  // namespace
}  // namespace kelvo
