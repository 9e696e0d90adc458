// The list colourers on a 50,000-line motion list and a 100,000-line command list, in the full scan
// (painting) and the simple scan (token queries), each beside the editor's default colourer
// tokenising the same lines.
#include "CommandColourer.h"
#include "EditorColourer.h"
#include "MotionColourer.h"
#include "RowAttrStrings.h"
#include "RowStates.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

std::string Num(std::mt19937& rng, unsigned limit) { return std::to_string(rng() % limit); }

const std::vector<std::string>& MotionLines() {
    static const std::vector<std::string> lines = [] {
        std::mt19937 rng(1);
        std::vector<std::string> v{"--R---G---B---G", "  0   0 255  16"};
        for (int i = 0; v.size() < 50000; ++i) {
            std::string s = "  " + std::to_string(i) + "  " + Num(rng, 2000) + "  3  " + Num(rng, 1800) + "/" +
                            Num(rng, 1800) + ",1,A,128   0  0 9/-3/4   0 0   0 0 " + (i % 3 ? "9" : "12") +
                            " 0 0   0   -  0 0 0100 1FF0EF00A010 000000000000 010020000030";
            if (i % 10 == 0) s += " ;\x83\x4B\x83\x62\x83\x63\x8D\x55\x8C\x82"; // ガッツ攻撃
            v.push_back(s);
        }
        return v;
    }();
    return lines;
}

const std::vector<std::string>& CommandLines() {
    static const std::vector<std::string> lines = [] {
        std::mt19937 rng(2);
        std::vector<std::string> v{"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment"};
        const char* commands[] = {"236P", "2+6K", "41236K", "[4]6P", "~D"};
        for (int i = 0; v.size() < 100000; ++i)
            v.push_back(std::to_string(i) + " " + commands[rng() % 5] + " 10000100001000010000 0 " + Num(rng, 2000) +
                        " 0" + (i % 4 ? "" : " \x94\x67\x93\xae\x8c\x9d")); // 波動拳
        return v;
    }();
    return lines;
}

std::int64_t ByteCount(const std::vector<std::string>& lines) {
    std::int64_t n = 0;
    for (const std::string& line : lines) n += static_cast<std::int64_t>(line.size());
    return n;
}

// Every token of every line, as painting asks for them: each line primed as the start of a
// logical line.
void Tokenise(benchmark::State& state, TColourerParser& parser, const std::vector<std::string>& lines) {
    const TRowAttributeData data;
    std::int64_t tokens = 0;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            parser.NewData(line.c_str(), data);
            while (parser.NextToken() != tkEnd) ++tokens;
        }
    }
    benchmark::DoNotOptimize(tokens);
    state.SetBytesProcessed(state.iterations() * ByteCount(lines));
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * lines.size()), benchmark::Counter::kIsRate);
}

// Argument 0: the parse mode.
void BM_Motion(benchmark::State& state) {
    TMotionColourer colourer(nullptr);
    Tokenise(state, *colourer.CreateParserWithMode(static_cast<int>(state.range(0))), MotionLines());
}

void BM_Command(benchmark::State& state) {
    TCommandColourer colourer(nullptr);
    Tokenise(state, *colourer.CreateParserWithMode(static_cast<int>(state.range(0))), CommandLines());
}

// The reference: the editor's default colourer over the same lines.
void BM_Default(benchmark::State& state, const std::vector<std::string>& (*lines)()) {
    TEditorColourer colourer(nullptr);
    Tokenise(state, *colourer.CreateParser(), lines());
}

// Row-state propagation over the whole motion list as a row store, as when the list is opened with
// its states computed to the end.
void BM_MotionStates(benchmark::State& state) {
    TMotionColourer colourer(nullptr);
    TRowAttributeStringList store;
    for (const std::string& line : MotionLines()) store.Add(line);
    for (auto _ : state) ResetRowStates(store, colourer, store.Count() - 1);
    state.SetBytesProcessed(state.iterations() * ByteCount(MotionLines()));
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * store.Count()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Motion)->ArgName("mode")->Arg(pmFull)->Arg(pmSimple);
BENCHMARK_CAPTURE(BM_Default, motion_default_colourer, MotionLines);
BENCHMARK(BM_Command)->ArgName("mode")->Arg(pmFull)->Arg(pmSimple);
BENCHMARK_CAPTURE(BM_Default, command_default_colourer, CommandLines);
BENCHMARK(BM_MotionStates);

// The worst case of the propagation: the whole motion list as one logical line of 80-byte rows
// joined by wraps. Every row is scanned with the rest of its line behind it, which is joined once
// for the line, so the cost stays that of the bytes.
void BM_MotionStatesOneWrappedLine(benchmark::State& state) {
    TMotionColourer colourer(nullptr);
    TRowAttributeStringList store;
    std::string line;
    for (const std::string& l : MotionLines()) line += l + ' ';
    for (std::size_t at = 0; at < line.size(); at += 80)
        store.SetRowAttribute(store.Add(line.substr(at, 80)), raWrapped);
    store.SetRowAttribute(store.Count() - 1, raLineBreak);
    for (auto _ : state) ResetRowStates(store, colourer, store.Count() - 1);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_MotionStatesOneWrappedLine);

} // namespace

BENCHMARK_MAIN();
