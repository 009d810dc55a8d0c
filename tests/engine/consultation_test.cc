// The consultation driver: preparation, break-off, breakpoints, restarts and its limits.
#include <gtest/gtest.h>

#include "engine/start_command.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {
namespace {

constexpr const char* kSimple = "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nK\n";

TEST(Consultation, PreparationAppendsTaskCopiesAndStoresTheFacts) {
    ConsultationHarness run(
        "Z ZIEL\nF A (99) . x\nR ZIEL . ja\nU A (99) . x\nN ZIEL . ja\n"
        "T Ergebnis\nK\n");
    run.Run();
    KnowledgeBaseImage& image = run.image();
    EXPECT_EQ(image.ProgramEnd(), 6);
    EXPECT_EQ(image.FactBoundary(), 7);
    EXPECT_EQ(image.Text(7), PadRight(PadRight("N ZIEL", 32) + "     4" + ". ja", 82));
    EXPECT_EQ(run.FactList(),
              (std::vector<std::string>{"A=x/99/02", "ZIEL=ja/99/01", "+UW=99/99/02"}));
}

TEST(Consultation, AFactLineKeepsItsCertaintyColumns) {
    ConsultationHarness run("Z ZIEL\nF [N] (99) . (2.5)\nR ZIEL . ja\nU [N] (99) = (2.5)\nK\n");
    run.Run();
    EXPECT_EQ(run.Value("[N               ]"), "(           2.500)");
    EXPECT_EQ(run.Value("ZIEL"), "ja");
}

TEST(Consultation, ABreakOffConfirmedEndsTheSearch) {
    ConsultationHarness run(kSimple,
                            {{{"breakoff", true}}, {{"answer", "yes"}}, {{"answer", "no"}}});
    run.Run();
    EXPECT_EQ(run.MessageCaptions(),
              (std::vector<std::string>{"Programm beenden ?", "Dialogfenster anzeigen ?"}));
    EXPECT_EQ(run.Events("message")[0]["text"], "Bitte wählen Sie aus");
    EXPECT_EQ(run.Events("message")[0]["icon"], "question");
    EXPECT_EQ(run.consultation().SessionKey(), kSessionEnd);
    EXPECT_TRUE(run.Events("page").empty());
    EXPECT_EQ(run.Value("ZIEL"), "<none>");
}

TEST(Consultation, ABreakOffDeclinedLetsTheSearchGoOn) {
    ConsultationHarness run(kSimple,
                            {{{"breakoff", true}}, {{"answer", "no"}}, {{"answer", "yes"}}});
    run.Run();
    EXPECT_EQ(run.Events("inspector").size(), 1u);
    EXPECT_EQ(run.Events("inspector")[0]["why"], "breakoff");
    ASSERT_EQ(run.Events("page").size(), 1u);
    EXPECT_EQ(run.Value("ZIEL"), "ja");
}

TEST(Consultation, TheUserModuleAsksOnlyWhetherToEnd) {
    ConsultationConfig user;
    user.programmingModule = false;
    ConsultationHarness run(kSimple, {{{"breakoff", true}}, {{"answer", "no"}}}, user);
    run.Run();
    EXPECT_EQ(run.MessageCaptions(), (std::vector<std::string>{"Programm beenden ?"}));
    EXPECT_EQ(run.platform().answersLeft(), 0u);
}

TEST(Consultation, ABreakpointOnARuleStopsAfterItsConclusionIsStored) {
    ConsultationConfig config;
    config.breakpointLine = 2;
    ConsultationHarness run(kSimple, {}, config);
    run.Run();
    const std::vector<nlohmann::json> inspector = run.Events("inspector");
    ASSERT_EQ(inspector.size(), 1u);
    EXPECT_EQ(inspector[0]["why"], "breakpoint");
    EXPECT_EQ(inspector[0]["line"], 2);
    // The inspector came before the solution page.
    EXPECT_EQ(run.platform().events().front()["event"], "inspector");
}

TEST(Consultation, ABreakpointOnATaskHeaderStopsAfterTheTask) {
    ConsultationConfig config;
    config.breakpointLine = 7;
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\n"
        "F A (99) . x\nN B . b\nT Seite\nK\n",
        {}, config);
    run.Run();
    std::vector<std::string> kinds;
    for (const nlohmann::json& event : run.platform().events()) {
        kinds.push_back(event["event"]);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"page", "inspector", "page"}));
}

TEST(Consultation, AFullImageEndsTheConsultationInOrder) {
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\n"
        "F A (99) . x\nV B . b\nJ +X . y\nK\n",
        {}, ConsultationConfig{}, 50);
    int stored = 0;
    run.consultation().SetTaskRunner(TaskSlot::VariableCommands, [&stored](Consultation& c, int) {
        while (c.facts().StoreFact(PadRight("V" + std::to_string(stored), 30), "x", "99", "02") >=
               0) {
            ++stored;
        }
    });
    run.Run();
    EXPECT_TRUE(run.image().Full());
    EXPECT_EQ(run.image().LastRecord(), run.image().ImageCapacity() - 1);
    EXPECT_EQ(run.consultation().SessionKey(), kSessionEnd);
    ASSERT_FALSE(run.Events("message").empty());
    EXPECT_EQ(run.Events("message")[0]["text"], Windows1252ToUtf8(kImageFullMessage));
    EXPECT_TRUE(run.Events("page").empty());
}

TEST(Consultation, RecentStoresHoldTheFactsButNotTheTaskCopies) {
    ConsultationHarness run(
        "Z ZIEL\nF A (99) . x\nR ZIEL . ja\nU A (99) . x\nN ZIEL . ja\n"
        "T Ergebnis\nK\n");
    run.image().ResetRecentStores();
    run.Run();
    EXPECT_EQ(TrimRight(run.image().RecentStore(1).text().substr(0, 30)), "+UW");
    EXPECT_EQ(TrimRight(run.image().RecentStore(2).text().substr(0, 30)), "ZIEL");
    EXPECT_EQ(TrimRight(run.image().RecentStore(3).text().substr(0, 30)), "A");
    EXPECT_EQ(run.image().RecentStore(4).text(), PadRight("Leer", 82));
}

// The start command's loop, with a variable-command runner that asks for one restart.
TEST(StartCommand, ARestartRunsTheKnowledgeBaseAgainFromAFreshImage) {
    const std::string text = std::string(kSimple).replace(std::string(kSimple).find("K\n"), 2,
                                                          "V ZIEL . ja\nJ +X . y\nK\n");
    TextImport imported = ImportKnowledgeBaseText(
        "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\nV B . b\n"
        "J +X . y\nK\n",
        "restart.txt");
    ASSERT_TRUE(imported.ok());
    ScriptedPlatform platform({}, ScriptedOptions{});
    SeededRandomSource random(1);
    ConsultationServices services{platform, platform, platform, random, platform};
    KnowledgeBaseImage image(true);
    std::vector<int> factCounts;
    int runs = 0;
    StartCommandHooks hooks;
    hooks.prepare = [&runs](Consultation& c) {
        ++runs;
        c.SetTaskRunner(TaskSlot::VariableCommands, [&runs](Consultation& inner, int) {
            inner.SetRestartRequested(runs == 1);
        });
    };
    hooks.finished = [&factCounts](Consultation& c) {
        factCounts.push_back(c.image().LastRecord() - c.image().FactBoundary());
    };
    auto result = RunStartCommand(
        image,
        [&imported](KnowledgeBaseImage& target) -> Status {
            auto loaded = target.LoadImage(imported.records);
            if (!loaded) {
                return loaded.error();
            }
            return {};
        },
        ConsultationConfig{}, services, hooks);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->consultations, 2);
    EXPECT_EQ(factCounts, (std::vector<int>{4, 4}));  // A, B, ZIEL and +UW each time
    EXPECT_EQ(image.LastRecord(), -1);                // released after the last one
    EXPECT_EQ(platform.events().size(), 2u);          // one solution page per consultation
    (void)text;
}

}  // namespace
}  // namespace kelvo
