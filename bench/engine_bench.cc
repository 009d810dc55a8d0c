// Whole consultations of generated knowledge bases on the scripted platform:
// a deep chain (each rule needs the object of the next one, so every object is a sub-goal
// pushed on the goal stack) and a wide rule set (the goal has many rules, each with its own
// condition on a fact).
#include <benchmark/benchmark.h>

#include <string>

#include "authoring/knowledge_base_text.h"
#include "engine/consultation.h"
#include "platform/scripted/scripted_platform.h"
#include "store/random_source.h"

namespace kelvo {
namespace {

std::vector<LineRecord> Import(const std::string& text) {
    TextImport imported = ImportKnowledgeBaseText(text, "bench.txt");
    if (!imported.ok()) {
        std::abort();
    }
    return imported.records;
}

// G0 <- G1 <- ... <- G(n-1) <- fact A.
std::vector<LineRecord> DeepChain(int rules) {
    std::string text = "K\nZ G0\n";
    for (int i = 0; i < rules; ++i) {
        const std::string next = i + 1 < rules ? "G" + std::to_string(i + 1) : "A";
        text += "R G" + std::to_string(i) + " . x\nU " + next + " (99) . x\n";
    }
    return Import(text + "F A (99) . x\nK\n");
}

// The goal with `rules` alternative rules over `rules` facts; every tenth one concludes.
std::vector<LineRecord> WideRuleSet(int rules) {
    std::string text = "K\nZ ZIEL\n";
    for (int i = 0; i < rules; ++i) {
        const std::string n = std::to_string(i);
        text += "R ZIEL . wert" + n + "\nU F" + n + " (80) . " + (i % 10 == 0 ? "ja" : "nein") +
                "\nO F" + n + " (60) . vielleicht\n";
    }
    for (int i = 0; i < rules; ++i) {
        text += "F F" + std::to_string(i) + " (99) . ja\n";
    }
    return Import(text + "K\n");
}

void RunConsultation(benchmark::State& state, const std::vector<LineRecord>& program) {
    for (auto _ : state) {
        ScriptedPlatform platform({}, ScriptedOptions{});
        SeededRandomSource random(1);
        ConsultationServices services{platform, platform, platform, random, platform};
        KnowledgeBaseImage image(false);
        if (!image.LoadImage(program).ok()) {
            std::abort();
        }
        Consultation consultation(image, ConsultationConfig{false, 0, 0}, services);
        consultation.Run();
        benchmark::DoNotOptimize(image.LastRecord());
    }
}

void BM_DeepChain(benchmark::State& state) {
    RunConsultation(state, DeepChain(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_DeepChain)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);

// A chain deeper than the goal stack ends with the stack message; this measures the search up
// to that point.
BENCHMARK(BM_DeepChain)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WideRuleSet(benchmark::State& state) {
    RunConsultation(state, WideRuleSet(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_WideRuleSet)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo

BENCHMARK_MAIN();
