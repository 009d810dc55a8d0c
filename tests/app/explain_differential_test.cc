// Explanations change nothing a consultation does: every fixture knowledge base of the suite
// and generated ones run with and without them give the same transcript (apart from the
// evidence in the "end" events), the same fact base and the same RecentStores. With them, the
// evidence of the indexed and the literal search agree, and each rule's recorded arithmetic
// gives the certainty its record holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/consult_session.h"
#include "authoring/knowledge_base_text.h"
#include "store/search_mode.h"
#include "tests/app/cli_run.h"
#include "tests/app/fixture_knowledge_bases.h"
#include "tests/app/random_knowledge_base.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr std::string_view kExchangeFile = "DATEN.WBP";

struct Observed {
    std::vector<json> events;
    std::vector<std::string> recentStores;
    int exitCode = 0;
    bool timedOut = false;
};

Observed Observe(const LoadedKnowledgeBase& knowledgeBase,
                 const std::vector<ScriptedAnswer>& answers, cli::ConsultOptions options,
                 bool explain, SearchMode mode, const fs::path& folder) {
    std::error_code ignored;
    fs::remove(folder / kExchangeFile, ignored);
    const fs::path kept = fs::current_path();
    fs::current_path(folder);
    Observed observed;
    options.explain = explain;
    options.evidenceInTranscript = explain;
    options.searchMode = mode;
    options.finished = [&observed](Consultation& consultation) {
        for (int i = 1; i <= KnowledgeBaseImage::kRecentStoreCount; ++i) {
            observed.recentStores.emplace_back(consultation.image().RecentStore(i).text());
        }
    };
    cli::ConsultOutcome outcome = cli::RunScriptedConsultation(knowledgeBase, answers, options);
    fs::current_path(kept);
    observed.events = std::move(outcome.events);
    observed.exitCode = outcome.exitCode;
    observed.timedOut = outcome.timedOut;
    return observed;
}

// The events without what explanations add.
std::vector<json> WithoutEvidence(std::vector<json> events) {
    for (json& event : events) {
        if (event.at("event") != "end") {
            continue;
        }
        event.erase("removedFacts");
        for (json& fact : event.at("facts")) {
            fact.erase("evidence");
        }
    }
    return events;
}

// The checks of the evidence in the end events of an explained run: every fact has one; a
// rule's exactly when the origin column says "01"; a rule's sum is the sum its last condition
// reached and its certainty, capped at 99, is the record's; each condition's share is the
// rounded product of its certainties.
void CheckEvidence(const std::vector<json>& events, const std::string& what) {
    for (const json& event : events) {
        if (event.at("event") != "end") {
            continue;
        }
        ASSERT_TRUE(event.contains("removedFacts")) << what;
        for (const json& fact : event.at("facts")) {
            ASSERT_TRUE(fact.contains("evidence")) << what << "\n" << fact.dump();
            const json& evidence = fact.at("evidence");
            const bool rule = evidence.at("source") == "rule";
            EXPECT_EQ(rule, fact.at("origin") == "01") << what << "\n" << fact.dump();
            EXPECT_NE(evidence.at("source"), "unknown") << what << "\n" << fact.dump();
            if (!rule) {
                continue;
            }
            const int sum = evidence.at("sum");
            EXPECT_EQ(std::min(sum, 99), std::stoi(fact.at("certainty").get<std::string>()))
                << what << "\n"
                << fact.dump();
            const json& conditions = evidence.at("conditions");
            if (!conditions.empty()) {
                EXPECT_EQ(conditions.back().at("sum"), sum) << what << "\n" << fact.dump();
            }
            for (const json& condition : conditions) {
                EXPECT_NE(condition.at("state"), "unknown") << what << "\n" << fact.dump();
                if (condition.at("state") != "held") {
                    continue;
                }
                const int certainty = condition.at("fact").at("certainty");
                const int factor = certainty == 99 ? 100 : certainty;
                const int product = condition.at("conditionCertainty").get<int>() * factor;
                const int rounded = product % 100 == 50 ? (product / 100) + ((product / 100) % 2)
                                                        : (product + 50) / 100;
                EXPECT_EQ(condition.at("share"), rounded) << what << "\n" << fact.dump();
            }
        }
    }
}

// Runs off, on (indexed) and on (literal); false when the run had to be stopped by the clock.
bool ExpectExplanationsChangeNothing(const LoadedKnowledgeBase& knowledgeBase,
                                     const std::vector<ScriptedAnswer>& answers,
                                     const cli::ConsultOptions& options, const std::string& what) {
    TempDir folder;
    const Observed off =
        Observe(knowledgeBase, answers, options, false, SearchMode::Indexed, folder.path());
    if (off.timedOut) {
        return false;
    }
    const Observed on =
        Observe(knowledgeBase, answers, options, true, SearchMode::Indexed, folder.path());
    const Observed literal =
        Observe(knowledgeBase, answers, options, true, SearchMode::Literal, folder.path());
    EXPECT_FALSE(on.timedOut || literal.timedOut) << what;
    EXPECT_EQ(WithoutEvidence(on.events), off.events) << what;
    EXPECT_EQ(on.recentStores, off.recentStores) << what;
    EXPECT_EQ(on.exitCode, off.exitCode) << what;
    EXPECT_EQ(literal.events, on.events) << what;
    CheckEvidence(on.events, what);
    return true;
}

TEST(ExplainDifferential, EveryFixtureKnowledgeBaseRunsAlikeWithAndWithoutExplanations) {
    const std::vector<fs::path> knowledgeBases = FixtureKnowledgeBases();
    int compared = 0;
    for (const fs::path& file : knowledgeBases) {
        if (file.parent_path().filename() == "loops") {
            continue;  // endless by design
        }
        auto loaded = LoadKnowledgeBase(file.string());
        if (!loaded) {
            continue;  // a fixture of faulty lines: nothing runs
        }
        std::vector<fs::path> scripts = {fs::path()};
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            if (entry.path().extension() == ".jsonl") {
                scripts.push_back(entry.path());
            }
        }
        std::sort(scripts.begin(), scripts.end());
        for (const fs::path& script : scripts) {
            std::vector<ScriptedAnswer> answers;
            if (!script.empty()) {
                auto parsed = cli::ParseAnswers(ReadWholeFile(script), script.string());
                if (!parsed) {
                    continue;
                }
                answers = std::move(*parsed);
            }
            cli::ConsultOptions options;
            options.timeout = std::chrono::seconds(2);
            if (!ExpectExplanationsChangeNothing(*loaded, answers, options,
                                                 file.string() + " with " + script.string())) {
                break;  // runs until it is stopped (jump_back.txt)
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 50);  // the fixtures were found
}

constexpr int kChunks = 4;
constexpr int kChunkSize = 75;

class ExplainGeneratedChunk : public testing::TestWithParam<int> {};

TEST_P(ExplainGeneratedChunk, RunsAlikeWithAndWithoutExplanations) {
    TempDir folder;
    const auto first = static_cast<std::uint64_t>(GetParam() * kChunkSize + 1);
    for (std::uint64_t seed = first; seed < first + kChunkSize; ++seed) {
        const RandomRun run = GenerateKnowledgeBase(seed, std::string(kExchangeFile));
        TextImport imported = ImportKnowledgeBaseText(run.text, (folder / "ZUFALL.txt").string());
        ASSERT_TRUE(imported.faults.empty()) << run.text;
        const LoadedKnowledgeBase knowledgeBase{(folder / "ZUFALL.txt").string(),
                                                KnowledgeBaseKind::Text,
                                                std::move(imported.records),
                                                {}};
        cli::ConsultOptions options;
        options.programmingModule = run.programmingModule;
        options.breakpointLine = run.breakpointLine;
        options.timeout = std::chrono::seconds(60);
        std::string script;
        for (const std::string& answer : run.answers) {
            script += answer + "\n";
        }
        auto answers = cli::ParseAnswers(script, "answers.jsonl");
        ASSERT_TRUE(answers.ok()) << answers.error().message;
        ExpectExplanationsChangeNothing(knowledgeBase, *answers, options,
                                        "seed " + std::to_string(seed) + ":\n" + run.text);
        if (testing::Test::HasFailure()) {
            return;  // one knowledge base is enough to look at
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ExplainGeneratedChunk, testing::Range(0, kChunks));

}  // namespace
}  // namespace kelvo
