// Formatting a 50,000-line motion list and a 20,000-line command list, each beside the reference:
// splitting the same lines into their fields, which every formatter has to do first.
//
// The format command on an editor holding a generated motion list (100,000 frames, and the same
// bytes in long lines), with the peak of heap memory it takes beside the list's size and beside
// loading the same text into an empty editor.
#include "Formatter.h"
#include "EditorControl.h"
#include "HeapPeak.h"
#include "ListCommands.h"
#include "ListKinds.h"
#include "MotionLists.h"
#include "motions.h"

#include <benchmark/benchmark.h>
#include <random>

using namespace quillon;

namespace {

const std::vector<std::string>& MotionList() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out = {
            "--R---G---B---G", "  0   0 255  16",
            "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1---------COMMENT"};
        std::mt19937 rng(1);
        for (int i = 0; i < 50000; ++i)
            out.push_back(std::to_string(i) + " " + std::to_string(i + 1) + " 3 " + std::to_string(rng() % 1800) + "/" +
                          std::to_string(rng() % 1800) + ",1,A,128 0 <" + std::to_string(rng() % 20) + " 9/-3/4 -" +
                          std::to_string(rng() % 300) + " 0 " + std::to_string(rng() % 40) +
                          " 0 9 0 0 0 - 0 00010000 1FF0EF00A010 000000000000 010020000030 \x83\x4B\x83\x62 frame");
        return out;
    }();
    return lines;
}

const std::vector<std::string>& CommandList() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out = {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment"};
        std::mt19937 rng(2);
        for (int i = 0; i < 20000; ++i)
            out.push_back(std::to_string(i) + " 236P " + (rng() % 4 ? "0" : "-") + " " + std::to_string(rng() % 3) +
                          " " + std::to_string(rng() % 1000) + " " + std::to_string(rng() % 50) +
                          " \x83\x4B\x83\x62 fireball");
        return out;
    }();
    return lines;
}

void CountLines(benchmark::State& state, size_t lines) {
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * lines), benchmark::Counter::kIsRate);
}

void BM_FormatMotionList(benchmark::State& state) {
    TMotionFormatter formatter;
    formatter.SetLines(MotionList());
    TMotionFormatterOptions options;
    options.SetCanDockMinus(true);
    options.SetFlagMethod(fmCutZeros);
    formatter.SetOptions(options);
    std::vector<std::string> out;
    for (auto _ : state) {
        formatter.Format(out);
        benchmark::DoNotOptimize(out.data());
    }
    CountLines(state, MotionList().size());
}

void BM_SplitMotionLinesReference(benchmark::State& state) {
    std::vector<std::string> fields;
    for (auto _ : state) {
        size_t count = 0;
        for (const std::string& line : MotionList()) {
            SplitMotionLine(line, fields);
            count += fields.size();
        }
        benchmark::DoNotOptimize(count);
    }
    CountLines(state, MotionList().size());
}

void BM_FormatCommandList(benchmark::State& state) {
    TCommandFormatter formatter;
    formatter.SetLines(CommandList());
    std::vector<std::string> out;
    for (auto _ : state) {
        formatter.Format(out);
        benchmark::DoNotOptimize(out.data());
    }
    CountLines(state, CommandList().size());
}

void BM_SplitCommandLinesReference(benchmark::State& state) {
    std::vector<std::string> fields;
    for (auto _ : state) {
        size_t count = 0;
        for (const std::string& line : CommandList()) {
            SplitCommandLine(line, fields);
            count += fields.size();
        }
        benchmark::DoNotOptimize(count);
    }
    CountLines(state, CommandList().size());
}

// Arguments: list case. The peak is measured over the command alone, the loading before it left
// out; the text kept for its undo counts.
void BM_FormatCommand(benchmark::State& state) {
    const std::vector<std::string>& lines = MotionListCase(state.range(0));
    const std::string text = JoinedText(lines);
    TMotionFormatterOptions motion;
    TCommandFormatterOptions command;
    TZCommandFormatterOptions zcommand;
    TMakerOptions maker;
    const TListOptions options{motion, command, zcommand, maker};
    TEditor editor;
    std::ptrdiff_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LoadForCommand(editor, text);
        state.ResumeTiming();
        const THeapPeak heap;
        if (!FormatList(editor, lkMotion, options)) state.SkipWithError("nothing formatted");
        peak = std::max(peak, heap.Bytes());
    }
    ReportPeak(state, TextBytes(lines), peak);
}

// Arguments: list case. The reference: loading the same text into an empty editor.
void BM_LoadReference(benchmark::State& state) {
    const std::vector<std::string>& lines = MotionListCase(state.range(0));
    const std::string text = JoinedText(lines);
    std::ptrdiff_t peak = 0;
    for (auto _ : state) {
        const THeapPeak heap;
        TEditor editor;
        editor.Lines().SetText(text);
        peak = std::max(peak, heap.Bytes());
    }
    ReportPeak(state, TextBytes(lines), peak);
}

} // namespace

BENCHMARK(BM_FormatCommand)->DenseRange(0, kMotionListCases - 1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReference)->DenseRange(0, kMotionListCases - 1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatMotionList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitMotionLinesReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatCommandList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitCommandLinesReference)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
