#include "authoring/fill_characters.h"

#include <gtest/gtest.h>

#include <string>

#include "line_builder.h"

namespace kelvo {
namespace {

using testing::Columns;
using testing::Num;
using testing::NumName;

// A stored line and the line shown with fill characters; an empty `filled` means the line
// is shown unchanged.
struct FillCase {
    const char* name;
    std::string stored;
    std::string filled;
};

// Columns 1-40 of `stored` followed by `field` (30 characters) in 41-70.
std::string Filled(const std::string& stored, const std::string& field) {
    return stored.substr(0, 40) + field;
}

std::vector<FillCase> FillCases() {
    const std::string textFact =
        Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}, {41, "hello world"}});
    const std::string numericFact =
        Columns({{1, "F"}, {3, NumName("N")}, {34, "(99)"}, {39, "."}, {41, Num("3.000")}});
    const std::string literalCondition =
        Columns({{1, "O"}, {3, "X"}, {34, "(50)"}, {39, "|"}, {41, "a b"}});
    const std::string variableCondition =
        Columns({{1, "U"}, {3, "X"}, {34, "(50)"}, {39, "="}, {41, "Y"}});
    const std::string literalRule = Columns({{1, "R"}, {3, "Z"}, {39, "."}, {41, " x"}});
    const std::string variableRule = Columns({{1, "R"}, {3, "Z"}, {39, "="}, {41, "+A"}});
    const std::string pipeRule = Columns({{1, "R"}, {3, "Z"}, {39, "|"}, {41, "a b"}});
    const std::string textVariable = Columns({{1, "J"}, {3, "+T"}, {39, "-"}, {41, "a b"}});
    const std::string numberVariable =
        Columns({{1, "J"}, {3, "+T"}, {39, "-"}, {41, Num("1.000")}});
    const std::string nameVariable = Columns({{1, "J"}, {3, "+T"}, {39, "-"}, {41, NumName("+N")}});
    const std::string numericVariable =
        Columns({{1, "J"}, {3, NumName("+N")}, {39, "."}, {41, Num("1.000")}});
    const std::string textCommand = Columns({{1, "J"}, {3, "+T"}, {39, "A"}, {41, "X"}});
    const std::string dots30(30, '$');
    std::vector<FillCase> cases = {
        {"TextFact", textFact, Filled(textFact, "hello$world$$$$$$$$$$$$$$$$$$$")},
        {"NumericFact", numericFact, ""},
        {"LiteralCondition", literalCondition, Filled(literalCondition, "a$b" + dots30.substr(3))},
        {"VariableCondition", variableCondition, ""},
        {"LiteralRule", literalRule, Filled(literalRule, "$x" + dots30.substr(2))},
        {"VariableRule", variableRule, ""},
        {"RuleWithPipeIsNotFilled", pipeRule, ""},
        {"TextVariableMinus", textVariable, Filled(textVariable, "a$b" + dots30.substr(3))},
        {"NumberAfterMinus", numberVariable, ""},
        {"NumericNameAfterMinus", nameVariable, ""},
        {"NumericVariable", numericVariable, ""},
        {"TextCommand", textCommand, ""},
        {"EmptyTextValue", Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}}),
         Filled(Columns({{1, "F"}, {3, "X"}, {34, "(99)"}, {39, "."}}), dots30)},
        {"ShortLinePadded", "R Z" + std::string(35, ' ') + ".",
         "R Z" + std::string(35, ' ') + ". " + dots30},
        {"LongLineCut", Columns({{1, "R"}, {3, "Z"}, {39, "."}, {41, "v"}, {75, "tail"}}),
         Filled(Columns({{1, "R"}, {3, "Z"}, {39, "."}}), "v" + dots30.substr(1))},
        {"Comment", Columns({{1, "K a comment"}}), ""},
        {"Text", Columns({{1, "T  page text"}}), ""},
        {"LowerCaseKindNotFilled", Columns({{1, "r"}, {3, "Z"}, {39, "."}, {41, "a b"}}), ""},
    };
    for (const char* kind : {"B", "\xAB", "V", "H", "C", "N", "\xBB", "X"}) {
        for (const char* op : {".", "|"}) {
            const std::string header = Columns({{1, kind}, {3, "A"}, {39, op}, {41, "x y"}});
            cases.push_back({"Header", header, Filled(header, "x$y" + dots30.substr(3))});
        }
        const std::string variable = Columns({{1, kind}, {3, "A"}, {39, "#"}, {41, "X"}});
        cases.push_back({"HeaderVariable", variable, ""});
    }
    return cases;
}

TEST(FuellzeichenEinfuegen, TableOfLines) {
    for (const FillCase& c : FillCases()) {
        const std::string expected = c.filled.empty() ? c.stored : c.filled;
        EXPECT_EQ(Fuellzeichen_einfuegen(c.stored), expected) << c.name;
        EXPECT_EQ(HasTextValueField(c.stored), !c.filled.empty()) << c.name;
    }
}

}  // namespace
}  // namespace kelvo
