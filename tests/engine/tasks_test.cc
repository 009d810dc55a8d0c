// Tasks of a concluded fact: their order, task blocks with repeats, and text pages.
#include <gtest/gtest.h>

#include "tests/engine/consultation_harness.h"

namespace kelvo {
namespace {

// The goal needs B; concluding B runs B's tasks, then the goal's solution page follows.
constexpr const char* kConcludeB =
    "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\n";

std::vector<std::string> PageCaptions(const ConsultationHarness& run) {
    std::vector<std::string> captions;
    for (const nlohmann::json& page : run.Events("page")) {
        captions.push_back(page["caption"]);
    }
    return captions;
}

TEST(Tasks, RunInTheFixedOrderOfTheirKinds) {
    std::vector<std::string> order;
    ConsultationHarness run(std::string(kConcludeB) +
                            "N B . b\nT Seite$N\n"
                            "V B . b\nJ +X . y\n"
                            "B B . b\n= (N)\nT Seite$Block\n"
                            "K\n");
    run.consultation().SetTaskRunner(TaskSlot::VariableCommands, [&order](Consultation&, int slot) {
        order.push_back("V@" + std::to_string(slot));
    });
    run.Run();
    EXPECT_EQ(PageCaptions(run), (std::vector<std::string>{"Seite$Block", "Seite$N", ""}));
    EXPECT_EQ(order, (std::vector<std::string>{"V@8"}));
}

// A consultation whose variable commands were never installed is a fault of the program: it
// ends with an internal error instead of running on without them.
TEST(Tasks, ATaskWithoutRunnerEndsTheConsultationWithAnInternalError) {
    for (const bool programmingModule : {true, false}) {
        ConsultationConfig config;
        config.programmingModule = programmingModule;
        ConsultationHarness run(std::string(kConcludeB) + "V B . b\nJ +X . y\nK\n", {}, config);
        run.Run();
        const std::vector<nlohmann::json> messages = run.Events("message");
        ASSERT_EQ(messages.size(), 1u) << programmingModule;  // no inspector question
        EXPECT_EQ(messages[0]["caption"], "Interner Fehler");
        EXPECT_EQ(messages[0]["icon"], "warning");
        EXPECT_NE(messages[0]["text"].get<std::string>().find("Variablenbefehle (Zeile 7)"),
                  std::string::npos);
        EXPECT_TRUE(run.consultation().Ended());
        EXPECT_TRUE(run.consultation().ErrorReported());
        EXPECT_EQ(run.consultation().LastErrorCode(), kInternalErrorCode);
        EXPECT_EQ(run.Value("+X"), "<none>");
        EXPECT_TRUE(run.Events("page").empty());  // no solution page after it
    }
}

TEST(Tasks, OnlyTheLastMatchingTaskOfAKindRuns) {
    ConsultationHarness run(std::string(kConcludeB) +
                            "N B . b\nT Erste\nN B | c\nT Zweite\nN B . c\nT Dritte\nK\n");
    run.Run();
    EXPECT_EQ(PageCaptions(run), (std::vector<std::string>{"Zweite", ""}));
}

TEST(Tasks, TaskMatchingByVariable) {
    ConsultationHarness run(std::string(kConcludeB) +
                            "F SOLL (99) . b\nN B = SOLL\nT Gleich\nN B # SOLL\nT Ungleich\n"
                            "K\n");
    run.Run();
    // Both headers are "N" tasks: the later one wins, but only if it matches.
    EXPECT_EQ(PageCaptions(run), (std::vector<std::string>{"Gleich", ""}));
}

// C is concluded first and its "V" task sets the repeat count; then B's block runs.
constexpr const char* kRepeatedBlock =
    "Z ZIEL\nR ZIEL . ja\nU C (99) . c\nU B (99) . b\nR C . c\nU A (99) . x\n"
    "R B . b\nU A (99) . x\nF A (99) . x\nV C . c\nJ +X . y\n"
    "B B . b\n= (V)\nJ +X . y\n= (N)\nT Seite\nK\n";
constexpr int kSetCountTask = 9;  // the position of "V C . c"

std::vector<std::string> RunRepeatedBlock(const std::string& count, ConsultationHarness& run) {
    std::vector<std::string> passes;
    const std::string ls = PadRight("[+LS             ]", 30);
    run.consultation().SetTaskRunner(TaskSlot::VariableCommands, [&passes, &count, &ls](
                                                                     Consultation& c, int slot) {
        if (slot == kSetCountTask) {
            c.facts().StoreFact(ls, count, "99", "02");
        } else {
            passes.push_back(c.facts().LookupFact(ls) ? TrimRight(c.facts().FoundValue()) : "?");
        }
    });
    run.Run();
    return passes;
}

TEST(Tasks, ABlockRepeatsAsOftenAsTheRepeatCountSays) {
    ConsultationHarness run(kRepeatedBlock);
    EXPECT_EQ(RunRepeatedBlock("(           3.000)", run),
              (std::vector<std::string>{"(           1.000)", "(           2.000)",
                                        "(           3.000)"}));
    EXPECT_EQ(run.Events("page").size(), 4u);  // three block pages and the solution
    EXPECT_EQ(run.Value("[+LS             ]"), "(           1.000)");
}

TEST(Tasks, ARepeatCountRoundingToZeroRunsOnceAndStaysAsItWas) {
    ConsultationHarness run(kRepeatedBlock);
    EXPECT_EQ(RunRepeatedBlock("(           0.400)", run),
              (std::vector<std::string>{"(           0.400)"}));
    EXPECT_EQ(run.Value("[+LS             ]"), "(           0.400)");
}

TEST(Tasks, ARepeatCountRoundsHalfToEven) {
    ConsultationHarness run(kRepeatedBlock);
    EXPECT_EQ(RunRepeatedBlock("(           2.500)", run).size(), 2u);
}

TEST(Tasks, ABlockActionWithoutItsBodyRunsNothing) {
    int runs = 0;
    ConsultationHarness run(std::string(kConcludeB) + "B B . b\n= (V)\n= (N)\nT Seite\nK\n");
    run.consultation().SetTaskRunner(TaskSlot::VariableCommands,
                                     [&runs](Consultation&, int) { ++runs; });
    run.Run();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(PageCaptions(run), (std::vector<std::string>{"Seite", ""}));
}

TEST(Tasks, ABlockActionGetsItsOwnSlotAndTheHeaderSlotIsRestored) {
    std::vector<int> slots;
    ConsultationHarness run(std::string(kConcludeB) +
                            "V B . b\nJ +A . x\nB B . b\n= (V)\nJ +B . y\nK\n");
    run.consultation().SetTaskRunner(TaskSlot::VariableCommands,
                                     [&slots](Consultation&, int slot) { slots.push_back(slot); });
    run.Run();
    // The block's action (line 10) runs first, then the "V" header (line 7).
    EXPECT_EQ(slots, (std::vector<int>{9, 6}));
}

TEST(Tasks, TextLongerThanAPageRunsOnToASecondPage) {
    std::string kb = std::string(kConcludeB) + "N B . b\n";
    for (int i = 1; i <= 30; ++i) {
        kb += "T Zeile" + std::to_string(i) + "\n";
    }
    kb += "K\n";
    ConsultationHarness run(kb);
    run.Run();
    const std::vector<nlohmann::json> pages = run.Events("page");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0]["caption"], "Zeile1");
    EXPECT_EQ(pages[0]["lines"][0], "Zeile2");
    EXPECT_EQ(pages[0]["lines"][24], "Zeile26");
    EXPECT_EQ(pages[1]["caption"], "Zeile27");
    EXPECT_EQ(pages[1]["lines"][0], "Zeile28");
    EXPECT_EQ(pages[1]["lines"][2], "Zeile30");
    EXPECT_EQ(pages[1]["lines"][3], "");
}

TEST(Tasks, TheCaptionShowsVariableFields) {
    ConsultationHarness run(std::string(kConcludeB) +
                            "F NAME (99) . Erna\nN B . b\nT Hallo [NAME    [!\nK\n");
    run.Run();
    ASSERT_FALSE(run.Events("page").empty());
    EXPECT_EQ(run.Events("page")[0]["caption"], "Hallo Erna      !");
}

TEST(Tasks, MediaLinesBelongToThePage) {
    ConsultationHarness run(std::string(kConcludeB) +
                            "N B . b\nT Titel\nG BILD.BMP (1) (2)\nT Text\nK\n");
    run.Run();
    const std::vector<nlohmann::json> pages = run.Events("page");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0]["lines"][0], "Text");
}

TEST(Tasks, AbortingAPageEndsTheConsultation) {
    ConsultationHarness run(std::string(kConcludeB) + "N B . b\nT Frage\nK\n",
                            {{{"page", "abbruch"}}, {{"answer", "yes"}}});
    run.Run();
    EXPECT_EQ(PageCaptions(run), (std::vector<std::string>{"Frage"}));
    EXPECT_EQ(run.consultation().SessionKey(), kSessionEnd);
    EXPECT_EQ(run.Value("ZIEL"), "<none>");
}

TEST(Tasks, OldDatabaseTasksOnlyShowTheirMessage) {
    // Old files still hold "<" and ">" tasks with "D" lines, which no longer can be typed.
    ConsultationHarness run(std::string(kConcludeB) + "V B . b\nJ +X . y\nV B . b\nJ +X . y\nK\n");
    KnowledgeBaseImage& image = run.image();
    ASSERT_TRUE(image.StoreRecord(PadRight(PadRight("< B", 38) + ". b", 82), 6));
    ASSERT_TRUE(image.StoreRecord(PadRight("D SELECT", 82), 7));
    ASSERT_TRUE(image.StoreRecord(PadRight(PadRight("> B", 38) + ". b", 82), 8));
    ASSERT_TRUE(image.StoreRecord(PadRight("D UPDATE", 82), 9));
    run.Run();
    const std::vector<nlohmann::json> messages = run.Events("message");
    ASSERT_EQ(messages.size(), 2u);
    for (const nlohmann::json& message : messages) {
        EXPECT_EQ(message["text"], "Fehler beim ausführen von alten Datenbankanweissungen");
        EXPECT_EQ(message["buttons"], "ok");
    }
    ASSERT_EQ(run.Events("page").size(), 1u);  // the consultation went on to its solution
}

TEST(Tasks, TheGoalsDisplayTaskReplacesTheSolutionPage) {
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nN ZIEL . ja\nT Ergebnis\nK\n");
    run.Run();
    EXPECT_EQ(PageCaptions(run), (std::vector<std::string>{"Ergebnis"}));
}

TEST(Tasks, TheGoalsPrintTaskRunsInTheClosingPhase) {
    int prints = 0;
    ConsultationHarness run(
        "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nC ZIEL . ja\nT Druck\nK\n");
    run.consultation().SetTaskRunner(TaskSlot::Print, [&prints](Consultation&, int) { ++prints; });
    run.Run();
    EXPECT_EQ(prints, 1);
    EXPECT_TRUE(run.Events("page").empty());  // a print task replaces the solution page
}

}  // namespace
}  // namespace kelvo
