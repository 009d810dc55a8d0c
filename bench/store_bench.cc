// Loading a large knowledge base into the record image, and fact lookups, which scan the fact
// base from the newest record to the oldest.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>

#include "store/fact_base.h"
#include "store/knowledge_base_file.h"
#include "store/knowledge_base_image.h"
#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

std::filesystem::path WriteProgram(int lines) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvo-bench-" + std::to_string(::getpid()) + ".WBP");
    std::vector<LineRecord> records;
    records.reserve(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        const char* kind = i % 3 == 0 ? "R ZIEL" : (i % 3 == 1 ? "U OBJEKT" : "K");
        records.emplace_back(PadRight(std::string(kind) + std::to_string(i), 82));
    }
    auto file = KnowledgeBaseFile::Create(path);
    if (!file || !file->WriteAll(records)) {
        std::abort();
    }
    return path;
}

void BM_LoadImage(benchmark::State& state) {
    const auto path = WriteProgram(static_cast<int>(state.range(0)));
    auto file = KnowledgeBaseFile::Open(path, KnowledgeBaseFile::Mode::ReadOnly);
    KnowledgeBaseImage image(true);
    for (auto _ : state) {
        auto rules = image.LoadImage(*file);
        benchmark::DoNotOptimize(rules.ok());
        image.ReleaseImage();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadImage)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A fact base of `range(0)` distinct numeric variables (not plus names, so each store appends);
// looks up the oldest one (a full scan) or the newest one.
void LookupBench(benchmark::State& state, bool oldest) {
    KnowledgeBaseImage image(true);
    if (!image.LoadImage(std::vector<LineRecord>{LineRecord("K")}).ok()) {
        std::abort();
    }
    image.SetFactBoundary(image.LastRecord());
    FactBase facts(image);
    const auto count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) {
        facts.StoreFact(PadRight("[V" + std::to_string(i), 17) + "]", FormatStoredNumber(i), "99",
                        "02");
    }
    const std::string name =
        PadRight(PadRight("[V" + std::to_string(oldest ? 0 : count - 1), 17) + "]", 30);
    for (auto _ : state) {
        benchmark::DoNotOptimize(facts.LookupFact(name));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_LookupOldestFact(benchmark::State& state) {
    LookupBench(state, true);
}
void BM_LookupNewestFact(benchmark::State& state) {
    LookupBench(state, false);
}
BENCHMARK(BM_LookupOldestFact)->Arg(1'000)->Arg(10'000)->Arg(100'000);
BENCHMARK(BM_LookupNewestFact)->Arg(100'000);

}  // namespace
}  // namespace kelvo

BENCHMARK_MAIN();
