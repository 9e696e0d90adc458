// Renumbering every frame of a motion list whose To points at the next frame and whose Hit points
// two frames ahead, so that every frame moves two references. The reference is parsing the same
// lines, which renumbering does once more for every line it rewrites. The sizes show that the time
// grows linearly with the list.
//
// The renumber command on an editor holding a generated motion list (100,000 frames, and the same
// bytes in long lines), every frame selected and every To and Hit following, with the peak of heap
// memory it takes beside the list's size and beside loading the same text into an empty editor.
#include "EditorControl.h"
#include "HeapPeak.h"
#include "ListCommands.h"
#include "MotionLists.h"
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

// The renumber dialog answered at once: serially from 1000, every To and Hit following.
class TRenumberFromThousand : public TListCommandDialogs {
public:
    bool AskRenumber(std::int32_t, TRenumberRequest& Request) override {
        Request.StartNum = "1000";
        Request.JumpMode = rjAll;
        return true;
    }
    bool EditEnvironment(const TListOptions&, int) override { return false; }
    int RunMaker(const TMakerJob&) override { return 3; }
};

// Arguments: list case. The peak is measured over the command alone, the loading before it left
// out; the text kept for its undo counts.
void BM_RenumberCommand(benchmark::State& state) {
    const std::vector<std::string>& lines = MotionListCase(state.range(0));
    const std::string text = JoinedText(lines);
    TRenumberFromThousand dialogs;
    TEditor editor;
    std::ptrdiff_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LoadForCommand(editor, text);
        editor.SelectAll();
        state.ResumeTiming();
        const THeapPeak heap;
        if (!ReNumSelection(editor, dialogs)) state.SkipWithError("nothing renumbered");
        peak = std::max(peak, heap.Bytes());
    }
    ReportPeak(state, TextBytes(lines), peak);
}

} // namespace

BENCHMARK(BM_RenumberCommand)->DenseRange(0, kMotionListCases - 1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenumberMotionLines)->Arg(5000)->Arg(20000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMotionLinesReference)
    ->Arg(5000)
    ->Arg(20000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
