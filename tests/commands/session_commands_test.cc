// The goal list "Q" and the session commands "E" and "N".
#include <gtest/gtest.h>

#include <algorithm>

#include "authoring/knowledge_base_text.h"
#include "commands/variable_command.h"
#include "engine/start_command.h"
#include "tests/case_name.h"
#include "tests/commands/command_run.h"

namespace kelvo {
namespace {

// Three values of the goal: ROT (40), BLAU (90), GRUEN (40), in this record order. The "V"
// task of NIE never runs in the consultation; the tests run its block afterwards, on the
// fact base the consultation left.
constexpr const char* kThreeGoals =
    "Z ZIEL\nR ZIEL . ROT\nU A (40) . x\nR ZIEL . BLAU\nU A (90) . x\nR ZIEL . GRUEN\n"
    "U A (40) . x\nF A (99) . x\nV NIE . nie\n";

std::string Entry(std::string_view value, std::string_view certainty) {
    return PadRight(value, 30) + " " + std::string(certainty);
}

class GoalList : public testing::Test {
  protected:
    // Runs the consultation, then the given lines as the block of the "V NIE" task.
    void RunBlock(const std::string& goals, const std::vector<std::string>& lines) {
        std::string text = goals;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        run_ = std::make_unique<ConsultationHarness>(text + "K\n");
        run_->Run();
        run_->consultation().SetSessionKey(kSessionRunning);
        // The position of "V NIE . nie": the number of lines before it.
        const auto task = static_cast<int>(std::count(
            text.begin(), text.begin() + static_cast<std::ptrdiff_t>(text.find("V NIE")), '\n'));
        Variablenbefehl(run_->consultation(), task);
    }

    // The value of a "++" variable, its parts joined, trailing blanks removed.
    std::string Raw(std::string_view name) { return run_->Value(name); }

    std::unique_ptr<ConsultationHarness> run_;
};

struct GoalListCase {
    std::string name;
    std::string mode;
    std::vector<std::string> entries;  // "++ZIELE{1}", "++ZIELE{2}", …
    std::string count;

    friend void PrintTo(const GoalListCase& row, std::ostream* out) { *out << row.name; }
};

class GoalListOrder : public GoalList, public testing::WithParamInterface<GoalListCase> {};

TEST_P(GoalListOrder, ListsTheGoalValues) {
    const GoalListCase& row = GetParam();
    RunBlock(kThreeGoals, {"J +L Q " + row.mode});
    for (std::size_t i = 0; i < row.entries.size(); ++i) {
        EXPECT_EQ(Raw("++ZIELE{" + std::to_string(i + 1) + "}"), row.entries[i]) << i + 1;
    }
    EXPECT_EQ(run_->Value("[+ANZ_ZIELE      ]"), row.count);
    EXPECT_EQ(run_->consultation().LastErrorCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GoalListOrder,
    testing::Values(GoalListCase{"RecordOrder",
                                 "(1)",
                                 {Entry("ROT", "40"), Entry("BLAU", "90"), Entry("GRUEN", "40")},
                                 "(           3.000)"},
                    GoalListCase{"AscendingCertainty",
                                 "(2)",
                                 {Entry("ROT", "40"), Entry("GRUEN", "40"), Entry("BLAU", "90")},
                                 "(           3.000)"},
                    GoalListCase{"DescendingCertainty",
                                 "(3)",
                                 {Entry("BLAU", "90"), Entry("ROT", "40"), Entry("GRUEN", "40")},
                                 "(           3.000)"},
                    GoalListCase{
                        "OtherMode", "(4)", {"Keine Ziele gefunden !"}, "(           0.000)"}),
    CaseName());

TEST_F(GoalList, EntriesCarryTheGoalsCertainty) {
    RunBlock(kThreeGoals, {"J +L Q (1)"});
    run_->facts().LookupFact(PadRight("++ZIELE{2}", 30));
    EXPECT_EQ(run_->facts().FoundCertainty(), 90);
    EXPECT_EQ(run_->facts().FoundOrigin(), 2);
}

TEST_F(GoalList, ModeFromANumericVariable) {
    RunBlock(kThreeGoals, {"J [+M] . (3)", "J +L Q [+M]"});
    EXPECT_EQ(Raw("++ZIELE{1}"), Entry("BLAU", "90"));
}

TEST_F(GoalList, AMissingModeVariableIsError3AndListsNothing) {
    RunBlock(kThreeGoals, {"J +L Q [+M]", "J +U . danach"});
    EXPECT_EQ(run_->consultation().LastErrorCode(), 3);
    EXPECT_EQ(Raw("++ZIELE{1}"), "Keine Ziele gefunden !");
    EXPECT_EQ(run_->Value("[+ANZ_ZIELE      ]"), "(           0.000)");
    EXPECT_EQ(run_->Value("+U"), "danach");
}

TEST_F(GoalList, AShorterListLeavesTheOlderEntries) {
    // Five entries from a first list, then a list of three.
    RunBlock(kThreeGoals, {"J ++ZIELE{4} . alt4", "J ++ZIELE{5} . alt5", "J +L Q (1)"});
    EXPECT_EQ(Raw("++ZIELE{3}"), Entry("GRUEN", "40"));
    EXPECT_EQ(Raw("++ZIELE{4}"), "alt4");
    EXPECT_EQ(Raw("++ZIELE{5}"), "alt5");
    EXPECT_EQ(run_->Value("[+ANZ_ZIELE      ]"), "(           3.000)");
}

TEST_F(GoalList, WithoutGoalFacts) {
    RunBlock("Z ZIEL\nR ZIEL . ROT\nU A (40) . y\nF A (99) . x\nV NIE . nie\n", {"J +L Q (1)"});
    EXPECT_EQ(Raw("++ZIELE{1}"), "Keine Ziele gefunden !");
    EXPECT_EQ(Raw("++ZIELE{2}"), "<none>");
    EXPECT_EQ(run_->Value("[+ANZ_ZIELE      ]"), "(           0.000)");
}

// "N" restarts: the start command runs the knowledge base again from a fresh image, without
// asking anything. The second consultation's block clears the request so that it ends.
TEST(Restart, RunsTheKnowledgeBaseAgainFromAFreshImage) {
    TextImport imported = ImportKnowledgeBaseText(
        std::string(kVariableTaskHead) + "J +X . gesetzt\nJ +X N +Y\nJ +Z . danach\nK\n",
        "restart.txt");
    ASSERT_TRUE(imported.ok());
    ScriptedPlatform platform({}, ScriptedOptions{});
    SeededRandomSource random(1);
    ConsultationServices services{platform, platform, platform, random, platform};
    KnowledgeBaseImage image(true);
    int runs = 0;
    std::vector<std::vector<std::string>> factLists;
    StartCommandHooks hooks;
    hooks.prepare = [&runs](Consultation& c) {
        InstallVariableCommands(c);
        if (++runs > 1) {
            c.SetTaskRunner(TaskSlot::VariableCommands, [](Consultation& inner, int slot) {
                Variablenbefehl(inner, slot);
                inner.SetRestartRequested(false);
            });
        }
    };
    hooks.finished = [&factLists](Consultation& c) {
        std::vector<std::string> names;
        for (int p = c.image().FactBoundary() + 1; p <= c.image().LastRecord(); ++p) {
            names.push_back(TrimRight(c.image().Text(p).substr(0, 30)));
        }
        factLists.push_back(names);
        EXPECT_TRUE(c.Ended());
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
    // Each consultation starts with an empty fact base: the same facts, once each.
    const std::vector<std::string> expected{"A", "B", "+X", "+Z"};
    ASSERT_EQ(factLists.size(), 2u);
    EXPECT_EQ(factLists[0], expected);
    EXPECT_EQ(factLists[1], expected);
    EXPECT_TRUE(platform.events().empty());  // no question, no page: both ended in the block
}

}  // namespace
}  // namespace kelvo
