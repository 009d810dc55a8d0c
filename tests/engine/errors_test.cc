// Error reports: which code at which line, and the inspector question.
#include <gtest/gtest.h>

#include "engine/error_codes.h"
#include "engine/error_reports.h"
#include "tests/case_name.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {
namespace {

struct ErrorCase {
    const char* name;
    const char* knowledgeBase;
    int code;
    int line;  ///< as the caption shows it, from 1
};

class ErrorReports : public testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorReports, ShowTheCodesMessageAtItsLine) {
    ConsultationHarness run(GetParam().knowledgeBase);
    run.Run();
    const std::vector<nlohmann::json> messages = run.Events("message");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0]["caption"], "Fehlermeldung in Zeile: " + std::to_string(GetParam().line));
    EXPECT_EQ(messages[0]["text"], Windows1252ToUtf8(ErrorMessage(GetParam().code)));
    EXPECT_EQ(messages[0]["icon"], "warning");
    EXPECT_EQ(messages[0]["buttons"], "ok");
    EXPECT_EQ(run.consultation().ErrorLine(), GetParam().line - 1);
    EXPECT_EQ(run.Events("beep").size(), 1u);
    EXPECT_TRUE(run.Events("page").empty());
    EXPECT_EQ(run.consultation().LastErrorCode(), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorReports,
    testing::Values(
        ErrorCase{"NewKnowledgeBaseFailsTheCheck", "K\n", 9, 1},
        ErrorCase{"EmptyFileFailsTheCheck", "", 9, 1},
        ErrorCase{"LastLineNotAComment", "Z ZIEL\nR ZIEL . a\nU A (9) . x\n", 9, 3},
        ErrorCase{"RuleWithoutCondition", "Z ZIEL\nR ZIEL . a\nK\n", 9, 3},
        ErrorCase{"TaskHeaderWithoutBody", "Z ZIEL\nN ZIEL . a\nK\nK\n", 9, 3},
        ErrorCase{"GoalInAFactLine", "K\nZ ZIEL\nF ZIEL (99) . x\nK\n", 8, 3},
        ErrorCase{"GoalInACondition", "K\nZ ZIEL\nR ZIEL . a\nU ZIEL (9) . x\nK\n", 8, 4},
        ErrorCase{"FactSetTwice", "Z ZIEL\nF A (99) . x\nF A (99) . y\nK\n", 6, 3},
        ErrorCase{"SubGoalNoRuleConcludes",
                  "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR B . y\nU C (99) . x\nF C (99) . x\nK\n", 14,
                  3},
        ErrorCase{"ConclusionVariableMissing",
                  "Z ZIEL\nF A (99) . x\nR ZIEL = +W\nU A (99) . x\nK\n", 3, 3},
        ErrorCase{"NumericOperandMissing",
                  "Z ZIEL\nR ZIEL . ja\nU [N] (99) > [M]\nF [N] (99) . (1)\nK\n", 3, 3},
        ErrorCase{"JumpBackToAFactLine",
                  "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\n"
                  "X B . b\nY A\nK\n",
                  10, 8},
        ErrorCase{"JumpBackTargetMissing",
                  "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\n"
                  "X B . b\nY NIRGENDS\nK\n",
                  11, 8}),
    CaseName());

TEST(ErrorReports, AMediaLineAfterAFullPageIsError13) {
    std::string kb = "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nN ZIEL . ja\n";
    for (int i = 1; i <= 26; ++i) {
        kb += "T Zeile" + std::to_string(i) + "\n";
    }
    kb += "G BILD.BMP (1) (2)\nK\n";
    ConsultationHarness run(kb);
    run.Run();
    ASSERT_EQ(run.Events("page").size(), 1u);
    const std::vector<nlohmann::json> messages = run.Events("message");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0]["caption"], "Fehlermeldung in Zeile: 32");
    EXPECT_EQ(messages[0]["text"], Windows1252ToUtf8(ErrorMessage(13)));
}

TEST(ErrorReports, TheCheckDoesNotSeeAGoalLineInTheFirstLine) {
    // The goal search of the check starts at the second line; the consultation itself takes
    // the goal from any line, so the fact simply becomes the solution.
    ConsultationHarness run("Z ZIEL\nF ZIEL (99) . x\nK\n");
    run.Run();
    EXPECT_FALSE(run.consultation().CheckFailed());
    ASSERT_EQ(run.Events("page").size(), 1u);
    EXPECT_EQ(run.Events("page")[0]["mode"], 2);
}

TEST(ErrorReports, TheProgrammingModuleOffersTheInspectorDuringAConsultation) {
    const char* kb = "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nK\n";  // A: no rule, error 14
    ConsultationHarness run(kb, {{{"answer", "yes"}}});
    run.Run();
    EXPECT_EQ(run.MessageCaptions(),
              (std::vector<std::string>{"Fehlermeldung in Zeile: 3", "Dialogfenster anzeigen ?"}));
    const std::vector<nlohmann::json> inspector = run.Events("inspector");
    ASSERT_EQ(inspector.size(), 1u);
    EXPECT_EQ(inspector[0]["why"], "error");
    EXPECT_EQ(inspector[0]["line"], 3);
}

TEST(ErrorReports, TheUserModuleNeverOffersTheInspector) {
    ConsultationConfig user;
    user.programmingModule = false;
    ConsultationHarness run("Z ZIEL\nR ZIEL . ja\nU A (99) . x\nK\n", {}, user);
    run.Run();
    EXPECT_EQ(run.MessageCaptions(), (std::vector<std::string>{"Fehlermeldung in Zeile: 3"}));
}

TEST(ErrorReports, TheProgramCheckNeverOffersTheInspector) {
    ConsultationHarness run("K\nZ ZIEL\nF ZIEL (99) . x\nK\n");
    run.Run();
    EXPECT_EQ(run.MessageCaptions(), (std::vector<std::string>{"Fehlermeldung in Zeile: 3"}));
    EXPECT_TRUE(run.consultation().CheckFailed());
    EXPECT_EQ(run.consultation().SessionKey(), kSessionRunning);
}

TEST(ErrorReports, AFactErrorDuringPreparationOffersTheInspector) {
    ConsultationHarness run("Z ZIEL\nF A (99) . x\nF A (99) . y\nK\n");
    run.Run();
    EXPECT_EQ(run.MessageCaptions(),
              (std::vector<std::string>{"Fehlermeldung in Zeile: 3", "Dialogfenster anzeigen ?"}));
}

// A stop of our own (here the goal stack of circular rules, full at the sub-goal B of line 5)
// is reported like an error of the running consultation, with its own text and code.
struct StopCase {
    std::string name;
    bool programmingModule;
    std::vector<nlohmann::json> answers;
    std::vector<std::string> captions;
    int inspectorOpened;
};

class StopReports : public testing::TestWithParam<StopCase> {};

TEST_P(StopReports, OfferTheInspectorOnlyInTheProgrammingModule) {
    const StopCase& row = GetParam();
    ConsultationConfig config;
    config.programmingModule = row.programmingModule;
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU B (99) . y\nR B . y\nU A (99) . x\nK\n",
        row.answers, config);
    run.Run();
    EXPECT_EQ(run.MessageCaptions(), row.captions);
    EXPECT_EQ(run.consultation().LastErrorCode(), kStopErrorCode);
    EXPECT_TRUE(run.consultation().ErrorReported());
    EXPECT_EQ(run.consultation().ErrorLine(), 4);
    EXPECT_EQ(run.consultation().SessionKey(), kSessionEnd);
    EXPECT_EQ(run.Events("beep").size(), 1u);
    const std::vector<nlohmann::json> inspector = run.Events("inspector");
    ASSERT_EQ(static_cast<int>(inspector.size()), row.inspectorOpened);
    for (const nlohmann::json& opened : inspector) {
        EXPECT_EQ(opened["why"], "error");
        EXPECT_EQ(opened["line"], 5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StopReports,
    testing::Values(StopCase{"ProgrammingModuleYes",
                             true,
                             {{{"answer", "yes"}}},
                             {"Fehlermeldung in Zeile: 5", "Dialogfenster anzeigen ?"},
                             1},
                    StopCase{"ProgrammingModuleNo",
                             true,
                             {{{"answer", "no"}}},
                             {"Fehlermeldung in Zeile: 5", "Dialogfenster anzeigen ?"},
                             0},
                    StopCase{"UserModule", false, {}, {"Fehlermeldung in Zeile: 5"}, 0}),
    CaseName());

TEST(ErrorMessages, KeepTheirExactTexts) {
    EXPECT_EQ(ErrorMessage(2), "Variable (Zahl) ausserhalb\r\ndes  zul\xE4ssigen  Bereiches");
    EXPECT_EQ(ErrorMessage(9),
              "Ihre Wissensbasis ist Fehlerhaft.\r\n\xDC"
              "berpr\xFC"
              "fen Sie Ihre Befehlsfolge!\r\n \r\nAchtung: Beenden Sie Ihre Wissens-\r\nbasis "
              "immer mit einer Kommentarzeile.");
    EXPECT_EQ(ErrorMessage(3), ErrorMessage(17));
    EXPECT_EQ(ErrorMessage(4), "");
    EXPECT_FALSE(ErrorEndsConsultation(8));
    EXPECT_FALSE(ErrorEndsConsultation(9));
    EXPECT_TRUE(ErrorEndsConsultation(14));
}

}  // namespace
}  // namespace kelvo
