// Renumbering every frame of a motion list whose To points at the next frame and whose Hit points
// two frames ahead, so that every frame moves two references. The reference is parsing the same
// lines, which renumbering does once more for every line it rewrites. The sizes show that the time
// grows linearly with the list.
#include "motions.h"

#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

std::vector<std::string> Frames(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("  " + std::to_string(i) + "  " + std::to_string(i + 1) +
                        "  3  10  0  0 9   0 0   0 0 9 0 0   0  " + std::to_string(i + 2) +
                        "  0 0 000000000000 000000000000 000000000000 ;frame");
    return lines;
}

void CountLines(benchmark::State& state) {
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
    state.SetComplexityN(state.range(0));
}

void BM_RenumberMotionLines(benchmark::State& state) {
    const TMotionLineList source = ParseMotionLines(Frames(static_cast<int>(state.range(0))));
    auto ask = [](std::int32_t, TRenumberRequest& request) {
        request.StartNum = "1000";
        request.JumpMode = rjAll;
        return true;
    };
    for (auto _ : state) {
        state.PauseTiming();
        TMotionLineList list = source;
        state.ResumeTiming();
        benchmark::DoNotOptimize(RenumberMotionLines(list, 0, static_cast<int>(list.size()) - 1, ask));
    }
    CountLines(state);
}

void BM_ParseMotionLinesReference(benchmark::State& state) {
    const std::vector<std::string> lines = Frames(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ParseMotionLines(lines).data());
    CountLines(state);
}

} // namespace

BENCHMARK(BM_RenumberMotionLines)->Arg(5000)->Arg(20000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMotionLinesReference)
    ->Arg(5000)
    ->Arg(20000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
