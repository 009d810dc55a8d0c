// Checking and importing a generated knowledge base of 100,000 lines of every kind.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "authoring/knowledge_base_text_file.h"
#include "authoring/program_line_check.h"
#include "tests/authoring/line_corpus.h"

namespace {

constexpr int kLines = 100'000;

// The typed lines and their text form, generated once.
struct Corpus {
    std::vector<std::string> typed;
    std::string text;  // UTF-8, one line per line
    std::vector<kelvo::LineRecord> records;

    Corpus() {
        kelvo::testing::LineCorpus corpus(2024);
        for (int i = 0; i < kLines; ++i) {
            typed.push_back(corpus.Next());
            const kelvo::LineCheck check = kelvo::CheckProgramLine(typed.back());
            records.emplace_back(check.line);
        }
        text = kelvo::ExportKnowledgeBaseText(records).utf8;
    }
};

const Corpus& TheCorpus() {
    static const Corpus corpus;
    return corpus;
}

void BM_CheckProgramLine(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    for (auto _ : state) {
        for (const std::string& line : corpus.typed) {
            benchmark::DoNotOptimize(kelvo::CheckProgramLine(line));
        }
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_CheckProgramLine)->Unit(benchmark::kMillisecond);

void BM_ImportText(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kelvo::ImportKnowledgeBaseText(corpus.text, "bench.txt"));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(corpus.text.size()));
}
BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond);

void BM_ImportTextToFile(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    const std::filesystem::path target = std::filesystem::temp_directory_path() /
                                         ("kelvo-bench-" + std::to_string(::getpid()) + ".wbp");
    for (auto _ : state) {
        const kelvo::TextImport imported = kelvo::ImportKnowledgeBaseText(corpus.text, "bench");
        if (!kelvo::WriteKnowledgeBaseFile(target, imported.records).ok()) {
            state.SkipWithError("write failed");
            break;
        }
    }
    std::filesystem::remove(target);
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ImportTextToFile)->Unit(benchmark::kMillisecond);

void BM_ExportText(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kelvo::ExportKnowledgeBaseText(corpus.records));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
