// Knowledge bases that never end by themselves — a jump-back, a block repeated by "[+LS]", a
// restart in every consultation, a goal list built again after each jump-back, a data exchange
// in a loop — are broken off by the session window's "Abbruch" and by `kelvo-cli consult
// --timeout`.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/consult_session.h"
#include "platform/scripted/scripted_platform.h"
#include "shell/consultation_run.h"
#include "shell/knowledge_base_source.h"
#include "store/knowledge_base_file.h"
#include "store/random_source.h"
#include "store/text_field.h"
#include "tests/app/cli_run.h"
#include "tests/case_name.h"
#include "tests/commands/desktop_run.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

/// The window event at which "Abbruch" is clicked: far enough in for every loop to have gone
/// round many times (and the restart loop through several consultations).
constexpr int kClickAtEvent = 500;

/// A process that is still running this long after the click hangs: the alarm ends it.
constexpr unsigned kHangSeconds = 60;

struct LoopCase {
    std::string name;
    std::string fixture;  ///< in fixtures/loops
    /// The loop runs through restarts, so more than one consultation runs before the click.
    bool restarts = false;
};

std::string LoopFixture(const std::string& name) {
    return std::string(KELVO_TEST_DATA) + "/fixtures/loops/" + name;
}

// The other knowledge base the data-exchange loop reads and writes, in `folder`.
void WriteOtherKnowledgeBase(const fs::path& folder) {
    const ReplaceOutcome written = KnowledgeBaseFile::ReplaceWith(
        folder / "OTHER.WBP", {LineRecord(PadRight("T Zeile 1", 82))});
    ASSERT_TRUE(written.replaced);
}

// The session windows of the scripted platform, whose "Abbruch" is clicked at one event.
class ClickingWindows final : public SessionWindows {
  public:
    ClickingWindows(SessionWindows& inner, int clickAt) : inner_(inner), clickAt_(clickAt) {}

    PageOutcome ShowPage(const PageRequest& page, InspectorContext& context) override {
        return inner_.ShowPage(page, context);
    }
    void ShowInspector(InspectorReason why, int line, InspectorContext& context) override {
        inner_.ShowInspector(why, line, context);
    }
    void SetSessionWindowVisible(bool visible) override { inner_.SetSessionWindowVisible(visible); }
    void SetCursor(CursorShape shape) override { inner_.SetCursor(shape); }
    void SetStatusText(std::string_view text) override { inner_.SetStatusText(text); }
    bool PumpOneEvent() override {
        ++events_;
        if (events_ == clickAt_) {
            return true;
        }
        return inner_.PumpOneEvent();
    }

    int events() const { return events_; }

  private:
    SessionWindows& inner_;
    int clickAt_;
    int events_ = 0;
};

class EndlessLoop : public CliFolderTest, public testing::WithParamInterface<LoopCase> {};

TEST_P(EndlessLoop, AbbruchEndsIt) {
    auto loaded = LoadKnowledgeBase(LoopFixture(GetParam().fixture));
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    WriteOtherKnowledgeBase(dir_);
    const CurrentFolder inFolder(dir_);

    // "Programm beenden ?" yes, "Dialogfenster anzeigen ?" no.
    ScriptedPlatform platform(
        {{nlohmann::json{{"answer", "yes"}}, 1}, {nlohmann::json{{"answer", "no"}}, 2}},
        ScriptedOptions{});
    ClickingWindows windows(platform, kClickAtEvent);
    SeededRandomSource random(1);
    ConsultationServices services{platform, windows, platform, random, platform};
    services.shell = &platform;
    KnowledgeBaseImage image(true);
    int eventsAtTheClick = -1;
    StartCommandHooks hooks;
    hooks.finished = [&](Consultation& consultation) {
        if (windows.events() >= kClickAtEvent && eventsAtTheClick < 0) {
            eventsAtTheClick = windows.events();
            EXPECT_EQ(consultation.SessionKey(), 27);
        }
    };

    ::alarm(kHangSeconds);
    auto result = RunKnowledgeBase(loaded->records, image, ConsultationConfig{}, services, hooks);
    ::alarm(0);

    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result->sessionKey, 27);
    // The click came while the loop ran and ended it at once: the consultation it hit was the
    // last, and it let no further event through.
    EXPECT_EQ(eventsAtTheClick, kClickAtEvent);
    EXPECT_EQ(windows.events(), kClickAtEvent);
    if (GetParam().restarts) {
        EXPECT_GT(result->consultations, 1);
    } else {
        EXPECT_EQ(result->consultations, 1);
    }
    std::vector<std::string> questions;
    for (const nlohmann::json& event : platform.events()) {
        if (event.at("event") == "message") {
            questions.push_back(event.at("caption").get<std::string>() + " " +
                                event.at("answer").get<std::string>());
        }
    }
    EXPECT_EQ(questions,
              (std::vector<std::string>{"Programm beenden ? yes", "Dialogfenster anzeigen ? no"}));
}

TEST_P(EndlessLoop, TimeoutEndsIt) {
    WriteOtherKnowledgeBase(dir_);
    const CliResult run = Cli("consult '" + LoopFixture(GetParam().fixture) +
                              "' --timeout 0.3 --transcript protokoll.jsonl");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Zeitlimit"), std::string::npos) << run.err;
    const auto events = ParseTranscript(ReadWholeFile(dir_ / "protokoll.jsonl"));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(Events(events, "timeout").size(), 1U);
    EXPECT_EQ(events.back().at("event"), "end");
    EXPECT_EQ(events.back().at("sessionKey"), 27);
    if (GetParam().restarts) {
        EXPECT_GT(Events(events, "start").size(), 1U);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, EndlessLoop,
                         testing::Values(LoopCase{"JumpBack", "../consult/jump_back.txt"},
                                         LoopCase{"RepeatedBlock", "ls_repeat.txt"},
                                         LoopCase{"Restart", "restart.txt", true},
                                         LoopCase{"GoalList", "goal_list_loop.txt"},
                                         LoopCase{"DataExchange", "exchange_loop.txt"}),
                         CaseName());

}  // namespace
}  // namespace kelvo
