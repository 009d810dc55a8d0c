#include "authoring/command_table.h"

#include <gtest/gtest.h>

#include <string>

#include "authoring/program_line_check.h"
#include "line_builder.h"

namespace kelvo {
namespace {

using testing::Columns;
using testing::Num;
using testing::NumName;

// Each command with the operand forms of token 3, written independently of the table under
// test: N number, M numeric name (plus), T text name (double-plus), V text value.
struct CommandCase {
    const char* name;
    const char* typed;  // the command as typed (lower case where the letter has one)
    char stored;        // the command as stored in column 39
    const char* afterNumeric;
    const char* afterText;
};

constexpr CommandCase kCommands[] = {
    {"Dot", ".", '.', "N", "V"},
    {"Equals", "=", '=', "MT", "MT"},
    {"L", "l", 'L', "T", ""},
    {"D", "d", 'D', "T", "M"},
    {"Z", "z", 'Z', "T", "M"},
    {"S", "s", 'S', "", "MT"},
    {"Minus", "-", '-', "", "NMV"},
    {"Q", "q", 'Q', "", "NM"},
    {"C", "c", 'C', "", "NMT"},
    {"A", "a", 'A', "", "T"},
    {"B", "b", 'B', "", "T"},
    {"Plus", "+", '+', "", "T"},
    {"K", "k", 'K', "", "T"},
    {"G", "g", 'G', "", "T"},
    {"O", "o", 'O', "", "T"},
    {"U", "u", 'U', "", "T"},
    {"OUmlaut", "\xF6", '\xD6', "", "T"},
    {"Slash", "/", '/', "", "T"},
    {"W", "w", 'W', "", "T"},
    {"F", "f", 'F', "", "T"},
    {"R", "r", 'R', "", "T"},
    {"M", "m", 'M', "", "T"},
    {"X", "x", 'X', "", "T"},
    {"I", "i", 'I', "", "T"},
    {"V", "v", 'V', "", "T"},
    {"AUmlaut", "\xE4", '\xC4', "", "T"},
    {"E", "e", 'E', "", "T"},
    {"Greater", ">", '>', "", "T"},
    {"Less", "<", '<', "", "T"},
    {"P", "p", 'P', "", "T"},
    {"UUmlaut", "\xFC", '\xDC', "", "T"},
    {"RightGuillemet", "\xBB", '\xBB', "", "T"},
    {"LeftGuillemet", "\xAB", '\xAB', "", "T"},
    {"H", "h", 'H', "", "T"},
    {"One", "1", '1', "", "T"},
    {"Two", "2", '2', "", "T"},
    {"Three", "3", '3', "", "T"},
    {"Four", "4", '4', "", "T"},
    {"N", "n", 'N', "", "T"},
    {"J", "j", 'J', "", "T"},
};
static_assert(std::size(kCommands) == 40);

class CommandTest : public ::testing::TestWithParam<CommandCase> {};

// Token 3 samples: the word "ab$c" is a text name ("AB$C") or a text value ("ab c"), which the
// normalized line tells apart.
void ExpectOperands(const std::string& nameToken, const std::string& storedName,
                    const CommandCase& c, std::string_view forms) {
    const std::string prefix = "J " + nameToken + " " + c.typed + " ";
    const std::string command(1, c.stored);
    struct Sample {
        const char* token;
        char form;
        std::string stored;
    };
    const Sample samples[] = {
        {"(2.5)", 'N', Num("2.500")},
        {"[+k]", 'M', NumName("+K")},
        {"ab$c", forms.find('T') != std::string_view::npos ? 'T' : 'V',
         forms.find('T') != std::string_view::npos ? "AB$C" : "ab c"},
    };
    for (const Sample& sample : samples) {
        const LineCheck check = CheckProgramLine(prefix + sample.token);
        if (forms.find(sample.form) != std::string_view::npos) {
            ASSERT_TRUE(check.ok) << prefix << sample.token << ": " << check.reason;
            EXPECT_EQ(check.line,
                      Columns({{1, "J"}, {3, storedName}, {39, command}, {41, sample.stored}}))
                << prefix << sample.token;
        } else {
            EXPECT_FALSE(check.ok) << prefix << sample.token;
        }
    }
}

TEST_P(CommandTest, OperandsAfterNumericName) {
    ExpectOperands("[+n]", NumName("+N"), GetParam(), GetParam().afterNumeric);
}

TEST_P(CommandTest, OperandsAfterTextName) {
    ExpectOperands("+t", "+T", GetParam(), GetParam().afterText);
}

TEST_P(CommandTest, InTable) {
    const CommandOperands* row = FindCommand(GetParam().stored);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->command, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandTest, ::testing::ValuesIn(kCommands),
                         testing::CaseName());

TEST(CommandTable, TextNameOperandUsesDoublePlusRule) {
    EXPECT_TRUE(CheckProgramLine("J +T A ++LISTE").ok);
    EXPECT_FALSE(CheckProgramLine("J +T A ++LISTE1").ok);
    EXPECT_FALSE(CheckProgramLine("J +T A [++N]").ok);
}

TEST(CommandTable, NumericNameOperandUsesPlusRule) {
    EXPECT_TRUE(CheckProgramLine("J +T Q [+N{2}]").ok);
    EXPECT_TRUE(CheckProgramLine("J +T Q [N]").ok);
    EXPECT_FALSE(CheckProgramLine("J +T Q [N{2}]").ok);
}

TEST(CommandTable, NoOtherCharacterIsACommand) {
    int commands = 0;
    for (int byte = 1; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string line = std::string("J +T ") + c + " X";
        if (FindCommand(c) != nullptr) {
            ++commands;
        } else if (c != ' ') {
            const LineCheck check = CheckProgramLine(line);
            // lower-case letters are commands once upper-cased
            if (check.ok) {
                EXPECT_NE(FindCommand(check.line[38]), nullptr) << byte;
            }
        }
    }
    EXPECT_EQ(commands, 40);
}

}  // namespace
}  // namespace kelvo
