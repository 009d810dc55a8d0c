#include "store/field_substitution.h"

#include <gtest/gtest.h>

#include "tests/case_name.h"

#include "store/fact_base.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

class SubstituteFieldsTest : public testing::Test {
  protected:
    SubstituteFieldsTest() : image_(false, 100), facts_(image_) {
        EXPECT_TRUE(image_.LoadImage(std::vector<LineRecord>{LineRecord("K")}).ok());
        image_.SetFactBoundary(0);
        facts_.StoreFact(PadRight("+X", 30), "ABCDEF", "99", "02");
        facts_.StoreFact(PadRight("NAME", 30), "M\xFCller", "99", "02");
        facts_.StoreFact(PadRight("++LANG", 30), std::string(30, 'a') + "bc", "99", "02");
    }

    KnowledgeBaseImage image_;
    FactBase facts_;
};

struct SubstitutionCase {
    const char* name;
    const char* text;
    const char* result;
};

class SubstituteFieldsCases : public SubstituteFieldsTest,
                              public testing::WithParamInterface<SubstitutionCase> {};

TEST_P(SubstituteFieldsCases, ReplacesFieldsByTheirValues) {
    EXPECT_EQ(SubstituteFields(GetParam().text, facts_), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SubstituteFieldsCases,
    testing::Values(SubstitutionCase{"FieldOfFourColumnsCutsTheValue", "[+X[", "ABCD"},
                    SubstitutionCase{"WideFieldPadsTheValue", "<[+X        [>", "<ABCDEF      >"},
                    SubstitutionCase{"NameIsUpperCased", "[name    [!", "M\xFCller    !"},
                    SubstitutionCase{"UnknownNameStaysAsWritten", "[+Y[ und [+X[", "[+Y[ und ABCD"},
                    SubstitutionCase{"TwoBracketsAreNoField", "[[", "[["},
                    SubstitutionCase{"ClosingBracketIsNoField", "[+X] [+X[", "[+X] ABCD"},
                    SubstitutionCase{"UnclosedField", "Wert [+X", "Wert [+X"},
                    SubstitutionCase{"DoublePlusValueIsJoined",
                                     "[++LANG                                [",
                                     "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaabc        "},
                    SubstitutionCase{"EmptyText", "", ""}),
    CaseName());

}  // namespace
}  // namespace kelvo
