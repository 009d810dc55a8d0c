// The transcript written line by line while a consultation runs (kelvo-cli consult) against
// the events kept and written at the end: the same bytes, for knowledge bases whose facts hold
// every kind of character a JSON string escapes or converts, and for the consult fixtures with
// the answer scripts written for them.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/consult_session.h"
#include "authoring/knowledge_base_text.h"
#include "tests/app/cli_run.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

struct Runs {
    std::string kept;      ///< TranscriptText of the kept events
    std::string streamed;  ///< the lines written while it ran
    bool timedOut = false;
};

Runs RunBoth(const LoadedKnowledgeBase& knowledgeBase, const std::vector<ScriptedAnswer>& answers,
             cli::ConsultOptions options) {
    TempDir folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    Runs runs;
    const cli::ConsultOutcome kept = cli::RunScriptedConsultation(knowledgeBase, answers, options);
    runs.kept = cli::TranscriptText(kept.events);
    options.transcript = &runs.streamed;
    LoadedKnowledgeBase moved = knowledgeBase;
    const cli::ConsultOutcome streamed =
        cli::RunScriptedConsultation(std::move(moved), answers, options);
    fs::current_path(before);
    EXPECT_TRUE(streamed.events.empty());
    EXPECT_EQ(kept.exitCode, streamed.exitCode);
    runs.timedOut = kept.timedOut || streamed.timedOut;
    return runs;
}

LoadedKnowledgeBase FromText(const std::string& utf8) {
    TextImport imported = ImportKnowledgeBaseText(utf8, "test.txt");
    for (const std::string& fault : imported.faults) {
        ADD_FAILURE() << fault << "\n" << utf8;
    }
    return {"test.txt", KnowledgeBaseKind::Text, std::move(imported.records), {}};
}

struct Case {
    const char* what;
    std::vector<std::string> facts;  ///< "F" lines of the knowledge base
};

const std::vector<Case> kCases = {
    {"plain values", {"F A (99) . ja", "F B (50) . Antwort"}},
    {"quotes and backslashes", {"F A (99) . sag\"hallo\"", "F B (99) . C:\\ORDNER\\DATEI"}},
    {"letters beyond ASCII",
     {"F A (99) . Gr\xC3\xB6\xC3\x9F"
      "e",
      "F \xC3\x84RGER (99) . \xE2\x82\xAC"
      "5"}},
    {"a tab and other control characters", {"F A (99) . a\tb", "F B (99) . x\x7Fy"}},
    {"no facts at all", {}},
};

class StreamedTranscript : public testing::TestWithParam<Case> {};

TEST_P(StreamedTranscript, WritesTheBytesOfTheKeptEvents) {
    const Case& c = GetParam();
    std::string text = "K Test\nZ G\n";
    for (const std::string& fact : c.facts) {
        text += fact + "\n";
    }
    text += "R G . ja\nK\n";
    for (const bool programming : {true, false}) {
        cli::ConsultOptions options;
        options.programmingModule = programming;
        const Runs runs = RunBoth(FromText(text), {}, options);
        EXPECT_NE(runs.kept.find("\"event\":\"end\""), std::string::npos) << c.what;
        EXPECT_EQ(runs.kept, runs.streamed) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StreamedTranscript, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                             return "Case" + std::to_string(param.index);
                         });

TEST(StreamedTranscript, EveryConsultFixtureWritesTheBytesOfTheKeptEvents) {
    const fs::path folder =
        fs::path(KELVO_TEST_DATA).parent_path() / "app" / "fixtures" / "consult";
    std::vector<fs::path> scripts = {fs::path()};
    std::vector<fs::path> knowledgeBases;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".jsonl") {
            scripts.push_back(entry.path());
        } else if (entry.path().extension() == ".txt") {
            knowledgeBases.push_back(entry.path());
        }
    }
    std::sort(scripts.begin(), scripts.end());
    std::sort(knowledgeBases.begin(), knowledgeBases.end());
    int compared = 0;
    for (const fs::path& file : knowledgeBases) {
        auto loaded = LoadKnowledgeBase(file.string());
        if (!loaded) {
            continue;  // faulty lines: nothing runs
        }
        for (const fs::path& script : scripts) {
            // No answers, and the scripts written for this knowledge base (named after it).
            if (!script.empty() && !script.stem().string().starts_with(file.stem().string())) {
                continue;
            }
            std::vector<ScriptedAnswer> answers;
            if (!script.empty()) {
                auto parsed = cli::ParseAnswers(ReadWholeFile(script), script.string());
                if (!parsed) {
                    continue;
                }
                answers = std::move(*parsed);
            }
            cli::ConsultOptions options;
            options.timeout = std::chrono::milliseconds(500);
            const Runs runs = RunBoth(*loaded, answers, options);
            if (runs.timedOut) {
                continue;  // stopped by the clock at no fixed point
            }
            EXPECT_EQ(runs.kept, runs.streamed) << file << " with " << script;
            ++compared;
        }
    }
    EXPECT_GT(compared, 15);  // the fixtures were found
}

}  // namespace
}  // namespace kelvo
