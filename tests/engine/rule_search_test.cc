// Rule passes, certainties and goals, driven through whole consultations.
#include <gtest/gtest.h>

#include "tests/case_name.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {
namespace {

struct CertaintyCase {
    const char* name;
    const char* knowledgeBase;
    int certainty;  ///< of ZIEL = ja; -1 when the rule must not conclude
};

class Certainties : public testing::TestWithParam<CertaintyCase> {};

TEST_P(Certainties, CombineConditionsGroupsAndFacts) {
    ConsultationHarness run(GetParam().knowledgeBase);
    run.Run();
    EXPECT_EQ(run.Certainty("ZIEL"), GetParam().certainty);
    if (GetParam().certainty >= 0) {
        EXPECT_EQ(run.Value("ZIEL"), "ja");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Certainties,
    testing::Values(
        CertaintyCase{"TwoGroupsCapAt99",
                      "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nU B (99) . y\n"
                      "F A (99) . x\nF B (99) . y\nK\n",
                      99},
        CertaintyCase{"TwoGroupsAdd",
                      "Z ZIEL\nR ZIEL . ja\nU A (30) . x\nU B (40) . y\n"
                      "F A (99) . x\nF B (99) . y\nK\n",
                      70},
        CertaintyCase{"ConditionTimesFact",
                      "Z ZIEL\nR ZIEL . ja\nU B (80) . b\nR B . b\nU A (50) . x\n"
                      "F A (99) . x\nK\n",
                      40},
        CertaintyCase{"FactCertainty99CountsAs100",
                      "Z ZIEL\nR ZIEL . ja\nU A (70) . x\nF A (99) . x\nK\n", 70},
        CertaintyCase{"HalfRoundsToEven",
                      "Z ZIEL\nR ZIEL . ja\nU B (50) . b\nR B . b\nU A (5) . x\n"
                      "F A (99) . x\nK\n",
                      2},
        CertaintyCase{"BestTrueAlternative",
                      "Z ZIEL\nR ZIEL . ja\nU A (30) . nein\nO A (40) . auch$nicht\n"
                      "O A (70) . x\nF A (99) . x\nK\n",
                      70},
        CertaintyCase{"BestOfSeveralTrueAlternatives",
                      "Z ZIEL\nR ZIEL . ja\nU A (60) . x\nO A (20) . x\nF A (99) . x\nK\n", 60},
        CertaintyCase{"NoTrueAlternativeFailsTheRule",
                      "Z ZIEL\nR ZIEL . ja\nU A (30) . nein\nO A (40) . auch$nicht\n"
                      "F A (99) . x\nK\n",
                      -1},
        CertaintyCase{"TrueWithCertaintyZeroStillConcludes",
                      "Z ZIEL\nR ZIEL . ja\nU A (0) . x\nF A (99) . x\nK\n", 0},
        CertaintyCase{"ZeroGroupThenAnotherGroup",
                      "Z ZIEL\nR ZIEL . ja\nU A (0) . x\nO A (0) . y\nU B (60) . y\n"
                      "F A (99) . x\nF B (99) . y\nK\n",
                      60},
        CertaintyCase{"KnownButFalseFailsTheRule",
                      "Z ZIEL\nR ZIEL . ja\nU A (90) . y\nF A (99) . x\nK\n", -1},
        CertaintyCase{"DifferentLiteral", "Z ZIEL\nR ZIEL . ja\nU A (90) | y\nF A (99) . x\nK\n",
                      90},
        CertaintyCase{"VariableOperatorEqual",
                      "Z ZIEL\nR ZIEL . ja\nU A (90) = BB\nF A (99) . x\nF BB (99) . x\nK\n", 90},
        CertaintyCase{"VariableOperatorDiffers",
                      "Z ZIEL\nR ZIEL . ja\nU A (90) # BB\nF A (99) . x\nF BB (99) . x\nK\n", -1},
        CertaintyCase{"NumericGreater",
                      "Z ZIEL\nR ZIEL . ja\nU [N] (90) > (4)\nF [N] (99) . (5)\nK\n", 90},
        CertaintyCase{"NumericNotLess",
                      "Z ZIEL\nR ZIEL . ja\nU [N] (90) < (4)\nF [N] (99) . (5)\nK\n", -1},
        CertaintyCase{"NumericAtMost",
                      "Z ZIEL\nR ZIEL . ja\nU [N] (90) \xC2\xAB (5)\n"
                      "F [N] (99) . (5)\nK\n",
                      90},
        CertaintyCase{"NumericAtLeastVariable",
                      "Z ZIEL\nR ZIEL . ja\nU [N] (90) \xC2\xBB [M]\nF [N] (99) . (5)\n"
                      "F [M] (99) . (5.5)\nK\n",
                      -1},
        CertaintyCase{"NumericEqualVariable",
                      "Z ZIEL\nR ZIEL . ja\nU [N] (90) = [M]\nF [N] (99) . (5)\n"
                      "F [M] (99) . (5)\nK\n",
                      90}),
    CaseName());

struct GoalValueCase {
    const char* name;
    const char* knowledgeBase;
    std::vector<std::string> facts;  ///< the fact base at the end, oldest first
};

class GoalValues : public testing::TestWithParam<GoalValueCase> {};

// A goal rule whose value any goal record already holds is skipped, so the first conclusion of
// a goal value stands; conclusions by a variable keep the test of the newest goal record.
TEST_P(GoalValues, TheFirstConclusionOfAGoalValueStands) {
    ConsultationHarness run(GetParam().knowledgeBase);
    run.Run();
    EXPECT_EQ(run.FactList(), GetParam().facts);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GoalValues,
    testing::Values(
        GoalValueCase{"LaterWeakerRuleKeepsTheCertainty",
                      "Z ZIEL\nR ZIEL . a\nU A (99) . x\nR ZIEL . b\nU A (60) . x\n"
                      "R ZIEL . a\nU A (0) . x\nF A (99) . x\nK\n",
                      {"A=x/99/02", "ZIEL=a/99/01", "ZIEL=b/60/01", "+UW=60/99/02"}},
        GoalValueCase{"LaterStrongerRuleDoesNotRaiseIt",
                      "Z ZIEL\nR ZIEL . a\nU A (40) . x\nR ZIEL . b\nU A (60) . x\n"
                      "R ZIEL . a\nU A (99) . x\nF A (99) . x\nK\n",
                      {"A=x/99/02", "ZIEL=a/40/01", "ZIEL=b/60/01", "+UW=60/99/02"}},
        GoalValueCase{"ValueOfTheNewestRecordIsSkippedAsBefore",
                      "Z ZIEL\nR ZIEL . a\nU A (40) . x\nR ZIEL . a\nU A (99) . x\n"
                      "F A (99) . x\nK\n",
                      {"A=x/99/02", "ZIEL=a/40/01", "+UW=40/99/02"}},
        GoalValueCase{"HeldValueSkippedInALaterPass",
                      "Z ZIEL\nR ZIEL . a\nU A (30) . x\nR ZIEL . b\nU B (99) . y\n"
                      "R ZIEL . a\nU A (99) . x\nR B . y\nU A (99) . x\nF A (99) . x\nK\n",
                      {"A=x/99/02", "ZIEL=a/30/01", "B=y/99/01", "ZIEL=b/99/01", "+UW=99/99/02"}},
        GoalValueCase{"ConclusionByVariableOnAnUnknownGoal",
                      "Z ZIEL\nR ZIEL = W\nU A (50) . x\nR ZIEL . b\nU A (60) . x\n"
                      "R ZIEL . a\nU A (99) . x\nF A (99) . x\nF W (99) . a\nK\n",
                      {"A=x/99/02", "W=a/99/02", "ZIEL=a/50/01", "ZIEL=b/60/01", "+UW=60/99/02"}}),
    CaseName());

TEST(RuleSearch, ASubGoalIsPushedAndConcludedOnce) {
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU B (99) . eins\nR B . eins\nU A (99) . x\n"
        "R B . zwei\nU A (99) . x\nF A (99) . x\nK\n");
    run.Run();
    EXPECT_EQ(run.FactList(), (std::vector<std::string>{"A=x/99/02", "B=eins/99/01",
                                                        "ZIEL=ja/99/01", "+UW=99/99/02"}));
}

TEST(RuleSearch, TheGoalCollectsEveryValueOnce) {
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . a\nU A (99) . x\nR ZIEL . b\nU A (60) . x\nR ZIEL . a\n"
        "U A (99) . x\nF A (99) . x\nK\n");
    run.Run();
    const std::vector<nlohmann::json> pages = run.Events("page");
    ASSERT_EQ(pages.size(), 2u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i]["mode"], 2);
        EXPECT_EQ(pages[i]["caption"], "");
    }
    EXPECT_NE(pages[0]["lines"][8].get<std::string>().find("Wert      = a"), std::string::npos);
    EXPECT_NE(pages[1]["lines"][8].get<std::string>().find("Wert      = b"), std::string::npos);
    EXPECT_NE(pages[1]["lines"][24].get<std::string>().find("[Aussagewahrscheinlichkeit = 60 %]"),
              std::string::npos);
}

TEST(RuleSearch, ASolutionPageNamesObjectValueAndCertainty) {
    ConsultationHarness run("Z ZIEL\nR ZIEL . Tee$mit$Zitrone\nU A (80) . x\nF A (99) . x\nK\n");
    run.Run();
    const std::vector<nlohmann::json> pages = run.Events("page");
    ASSERT_EQ(pages.size(), 1u);
    const std::string solution = "Objekt    = " + PadRight("ZIEL", 30);
    EXPECT_EQ(pages[0]["lines"][3],
              TrimRight(CentreText("Vom System ermittelte Lösungen bei denen", 80)));
    EXPECT_EQ(pages[0]["lines"][7], TrimRight(CentreText(solution, 80)));
    EXPECT_EQ(pages[0]["lines"][8],
              TrimRight(CentreText("Wert      = " + PadRight("Tee mit Zitrone", 30), 80)));
    EXPECT_EQ(pages[0]["lines"][24],
              TrimRight(CentreText("[Aussagewahrscheinlichkeit = 80 %]", 80)));
}

TEST(RuleSearch, WithoutASolutionTheNoSolutionPageAppears) {
    ConsultationHarness run("Z ZIEL\nR ZIEL . ja\nU A (99) . y\nF A (99) . x\nK\n");
    run.Run();
    const std::vector<nlohmann::json> pages = run.Events("page");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0]["mode"], 3);
    EXPECT_EQ(pages[0]["lines"][3], TrimRight(CentreText("Das Expertensystem KELVO konnte", 80)));
    EXPECT_EQ(pages[0]["lines"][4], TrimRight(CentreText("keine Lösung für Sie ermitteln!", 80)));
}

TEST(RuleSearch, AProgramWithoutGoalLineFindsNoSolution) {
    ConsultationHarness run("F A (99) . x\nR B . y\nU A (99) . x\nK\n");
    run.Run();
    ASSERT_EQ(run.Events("page").size(), 1u);
    EXPECT_EQ(run.Events("page")[0]["mode"], 3);
    EXPECT_EQ(run.Value("B"), "<none>");
}

TEST(RuleSearch, AConclusionByVariableTakesItsValue) {
    ConsultationHarness run("Z ZIEL\nR ZIEL = W\nU A (99) . x\nF A (99) . x\nF W (99) . Wert\nK\n");
    run.Run();
    EXPECT_EQ(run.Value("ZIEL"), "Wert");
}

TEST(RuleSearch, CircularRulesEndWhenTheGoalStackIsFull) {
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU B (99) . y\n"
        "R B . y\nU A (99) . x\nK\n");
    run.Run();
    EXPECT_EQ(run.consultation().SessionKey(), kSessionEnd);
    const std::vector<nlohmann::json> messages = run.Events("message");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0]["text"], Windows1252ToUtf8(kGoalStackFullMessage));
    EXPECT_EQ(messages[0]["icon"], "warning");
    EXPECT_EQ(run.consultation().GoalDepth(), kGoalStackDepth);
    EXPECT_TRUE(run.Events("page").empty());
}

}  // namespace
}  // namespace kelvo
