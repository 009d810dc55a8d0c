#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "commands/variable_command.h"
#include "platform/scripted/scripted_automation.h"
#include "platform/scripted/scripted_platform.h"
#include "shell/consultation_run.h"
#include "store/fact_record.h"
#include "store/random_source.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

// The goal needs B; concluding B runs the variable-command block below.
constexpr const char* kVariableBlock =
    "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\nV B . b\n";

std::vector<LineRecord> Records(const std::string& text) {
    TextImport imported = ImportKnowledgeBaseText(text, "run.txt");
    EXPECT_TRUE(imported.ok());
    return imported.records;
}

std::vector<std::string> FactNames(Consultation& c) {
    std::vector<std::string> names;
    for (int p = c.image().FactBoundary() + 1; p <= c.image().LastRecord(); ++p) {
        names.push_back(TrimRight(FactRecord(c.image().Text(p)).Name()));
    }
    return names;
}

class ConsultationRun : public testing::Test {
  protected:
    ScriptedPlatform platform_{{}, ScriptedOptions{}};
    SeededRandomSource random_{1};
    ConsultationServices services_{platform_, platform_, platform_, random_, platform_};
    KnowledgeBaseImage image_{true};
};

// "N" asks for a restart; the second consultation's block clears the request. Both
// consultations run their variable commands, each from a fresh image, and the caller's
// prepare hook comes after the commands are installed (it can replace them).
TEST_F(ConsultationRun, EveryConsultationGetsTheVariableCommands) {
    const std::vector<LineRecord> records =
        Records(std::string(kVariableBlock) + "J +X . gesetzt\nJ +X N +Y\nJ +Z . danach\nK\n");
    int runs = 0;
    std::vector<std::vector<std::string>> factLists;
    StartCommandHooks hooks;
    hooks.prepare = [&runs](Consultation& c) {
        EXPECT_TRUE(c.HasTaskRunner(TaskSlot::VariableCommands));
        if (++runs > 1) {
            c.SetTaskRunner(TaskSlot::VariableCommands, [](Consultation& inner, int slot) {
                Variablenbefehl(inner, slot);
                inner.SetRestartRequested(false);
            });
        }
    };
    hooks.finished = [&factLists](Consultation& c) { factLists.push_back(FactNames(c)); };
    auto result = RunKnowledgeBase(records, image_, ConsultationConfig{}, services_, hooks);
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result->consultations, 2);
    const std::vector<std::string> expected{"A", "B", "+X", "+Z"};
    EXPECT_EQ(factLists, (std::vector<std::vector<std::string>>{expected, expected}));
}

// Keys without a desktop are reported once per consultation: the notice is reset before each.
TEST_F(ConsultationRun, TheAutomationNoticeIsResetForEveryConsultation) {
    ScriptedScreenOptions screen;
    screen.available = false;
    ScriptedAutomation automation(platform_, platform_, screen);
    services_.automation = &automation;
    const std::vector<LineRecord> records =
        Records(std::string(kVariableBlock) + "J +T / A\nJ +T / B\nJ +X N +Y\nK\n");
    int runs = 0;
    StartCommandHooks hooks;
    hooks.prepare = [&runs](Consultation& c) {
        if (++runs > 1) {
            c.SetTaskRunner(TaskSlot::VariableCommands, [](Consultation& inner, int slot) {
                Variablenbefehl(inner, slot);
                inner.SetRestartRequested(false);
            });
        }
    };
    auto result = RunKnowledgeBase(records, image_, ConsultationConfig{}, services_, hooks);
    ASSERT_TRUE(result.ok()) << result.error().message;
    int notices = 0;
    for (const nlohmann::json& event : platform_.events()) {
        notices += event.at("event") == "message" ? 1 : 0;
    }
    EXPECT_EQ(notices, 2);
}

// Taking the variable commands away again is an internal error: the consultation ends with a
// message, nothing restarts, and the run fails.
TEST_F(ConsultationRun, AConsultationWithoutVariableCommandsFailsLoudly) {
    const std::vector<LineRecord> records =
        Records(std::string(kVariableBlock) + "J +X . gesetzt\nJ +X N +Y\nK\n");
    int finished = 0;
    StartCommandHooks hooks;
    hooks.prepare = [](Consultation& c) { c.SetTaskRunner(TaskSlot::VariableCommands, {}); };
    hooks.finished = [&finished](Consultation& c) {
        ++finished;
        EXPECT_TRUE(c.Ended());
        EXPECT_EQ(c.LastErrorCode(), kInternalErrorCode);
        EXPECT_EQ(FactNames(c), (std::vector<std::string>{"A", "B"}));
    };
    auto result = RunKnowledgeBase(records, image_, ConsultationConfig{}, services_, hooks);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().message.find("Interner Fehler"), std::string::npos);
    EXPECT_EQ(finished, 1);
    std::vector<std::string> captions;
    for (const nlohmann::json& event : platform_.events()) {
        if (event.at("event") == "message") {
            captions.push_back(event.at("caption"));
        }
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Interner Fehler"}));
}

// An empty program fails its check: that is the consultation's result, not a failure to run.
TEST_F(ConsultationRun, AFailedCheckIsAResultNotAnError) {
    auto result = RunKnowledgeBase({}, image_, ConsultationConfig{}, services_, {});
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_TRUE(result->checkFailed);
    EXPECT_EQ(result->consultations, 1);
}

}  // namespace
}  // namespace kelvo
