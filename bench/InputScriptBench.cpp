// A long input script: reading 200,000 lines once, and the two polls of every shown picture
// looking up their buttons in it, walking the run in order. "frame_%" is the share of the 13.0 ms
// frame budget one picture's two lookups take.

#include <benchmark/benchmark.h>

#include <string>

#include "BudgetShare.h"
#include "platform/InputScript.h"

namespace {

constexpr uint32_t kLines = 200000;

std::string longScript() {
    static const char* const kMoves[] = {"right", "down a", "left", "up a x", ""};
    std::string text;
    for (uint32_t i = 0; i < kLines; ++i) text += std::to_string(i) + " " + kMoves[i % 5] + "\n";
    return text;
}

void BM_ParseLongScript(benchmark::State& state) {
    const std::string text = longScript();
    CInputScript script;
    std::string error;
    for (auto _ : state) benchmark::DoNotOptimize(script.parse(text, "long", error));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseLongScript)->Unit(benchmark::kMillisecond);

void BM_LookUpEveryPicture(benchmark::State& state) {
    CInputScript script;
    std::string error;
    script.parse(longScript(), "long", error);
    uint32_t picture = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(script.buttonsAt(picture));
        benchmark::DoNotOptimize(script.buttonsAt(picture));
        picture = picture + 1 == kLines ? 0 : picture + 1;
    }
    addBudgetShare(state);
}
BENCHMARK(BM_LookUpEveryPicture);

}  // namespace
