// Variable commands: a task block repeated 100,000 times through "[+LS             ]", each
// pass running one variable line, and 100,000 evaluations of an expression.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "authoring/knowledge_base_text.h"
#include "commands/expression.h"
#include "commands/install_variable_commands.h"
#include "engine/consultation.h"
#include "platform/scripted/scripted_platform.h"
#include "store/random_source.h"

namespace kelvo {
namespace {

constexpr int kRepeats = 100'000;

// C is concluded first and its task sets the repeat count; B's block then runs `line`
// kRepeats times.
std::vector<LineRecord> RepeatedLine(const std::string& setup, const std::string& line) {
    const std::string text =
        "Z ZIEL\nR ZIEL . ja\nU C (99) . c\nU B (99) . b\nR C . c\nU A (99) . x\n"
        "R B . b\nU A (99) . x\nF A (99) . x\nV C . c\n" +
        setup + "J [+LS] . (" + std::to_string(kRepeats) + ")\nB B . b\n= (V)\n" + line + "\nK\n";
    TextImport imported = ImportKnowledgeBaseText(text, "bench.txt");
    if (!imported.ok()) {
        std::abort();
    }
    return imported.records;
}

void RunRepeated(benchmark::State& state, const std::vector<LineRecord>& program) {
    for (auto _ : state) {
        ScriptedPlatform platform({}, ScriptedOptions{});
        SeededRandomSource random(1);
        ConsultationServices services{platform, platform, platform, random, platform};
        KnowledgeBaseImage image(false);
        if (!image.LoadImage(program).ok()) {
            std::abort();
        }
        Consultation consultation(image, ConsultationConfig{false, 0, 0}, services);
        InstallVariableCommands(consultation);
        consultation.Run();
        benchmark::DoNotOptimize(image.LastRecord());
    }
    state.SetItemsProcessed(state.iterations() * kRepeats);
}

void BM_RepeatedCopyNumberToText(benchmark::State& state) {
    RunRepeated(state, RepeatedLine("", "J +X = [+LS]"));
}
BENCHMARK(BM_RepeatedCopyNumberToText)->Unit(benchmark::kMillisecond);

void BM_RepeatedAppendLiteral(benchmark::State& state) {
    RunRepeated(state, RepeatedLine("", "J +T - abc"));
}
BENCHMARK(BM_RepeatedAppendLiteral)->Unit(benchmark::kMillisecond);

void BM_RepeatedExpressionCommand(benchmark::State& state) {
    RunRepeated(state, RepeatedLine("J +E . =2+3*([+LS]-1)/4\n", "J +R P +E"));
}
BENCHMARK(BM_RepeatedExpressionCommand)->Unit(benchmark::kMillisecond);

// 100,000 evaluations per iteration, without a consultation.
void BM_EvaluateExpression(benchmark::State& state) {
    const ExpressionLookup lookup = [](std::string_view name) -> std::optional<std::string> {
        if (name.starts_with("[+X")) {
            return "(          12.500)";
        }
        return std::nullopt;
    };
    for (auto _ : state) {
        for (int i = 0; i < kRepeats; ++i) {
            benchmark::DoNotOptimize(
                EvaluateExpression("=2+3*(1+1)-SIN(30)/[+X] \"Zuschlag\"", lookup));
        }
    }
    state.SetItemsProcessed(state.iterations() * kRepeats);
}
BENCHMARK(BM_EvaluateExpression)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo

BENCHMARK_MAIN();
