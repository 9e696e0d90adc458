// The editor's text model on a 100,000-line motion list (about 10 MB, a tenth of the lines with a
// double-byte comment), each figure beside a plain memchr line split of the same bytes.
#include "EditorColourer.h"
#include "EditorStrings.h"
#include "TextSearch.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

const std::string& MotionList() {
    static const std::string text = [] {
        std::string s;
        std::mt19937 rng(1);
        s += "--R---G---B---G\r\n  0   0 255  16\r\n";
        for (int i = 0; i < 100000; ++i) {
            for (unsigned v : {unsigned(i), unsigned(i + 1), 3u, unsigned(rng() % 1800)})
                s.append("  ").append(std::to_string(v));
            s.append("/").append(std::to_string(rng() % 1800));
            s.append(
                ",1,A,128   0  0 9/-3/4   0 0   0 0 9 0 0   0   -  0 0 0100 1FF0EF00A010 000000000000 010020000030");
            // ;ガッツ攻撃の構え、右手を前へ
            if (i % 10 == 0) s += " ;\x83\x4B\x83\x62\x83\x63\x8D\x55\x8C\x82\x82\xCC\x8D\x5C\x82\xA6\x81\x41\x89\x45";
            s += "\r\n";
        }
        return s;
    }();
    return text;
}

// An editor without a screen, colouring with the editor's default colourer.
class TBenchEditor : public TAttachedEditor {
public:
    TBenchEditor() : Lines(*this) {
        FStore->AttachEditor(this);
        FStore->WrapOption().SetWrapByte(80);
        FStore->SetWordWrap(true);
    }
    ~TBenchEditor() override { FStore->DetachEditor(this); }
    TEditorScreenStrings& ScreenStrings() override { return *FStore; }
    bool Loading() const override { return false; }
    bool Focused() const override { return true; }
    int Row() const override { return FRow; }
    void SetRow(int Value) override { FRow = Value; }
    int Col() const override { return FCol; }
    void SetCol(int Value) override { FCol = Value; }
    int TopRow() const override { return 0; }
    void SetTopRow(int) override {}
    void SetCaretToLineOffset(int FirstRow, int) override { FRow = FirstRow; }
    void CaretBeginUpdate() override {}
    void CaretEndUpdate() override {}
    void CancelSelection() override {}
    void DoChange() override {}
    void Refresh() override {}
    void InvalidateRow(int) override {}
    void LinesUpdateBegun() override {}
    void LinesUpdateEnded() override {}
    TColumnLayout ColumnLayout() const override { return {}; }
    TColourer* ActiveColourer() override { return &FColourer; }
    int StateLookAhead() const override { return 80; }
    bool InitBracketsFull() const override { return false; }

private:
    TEditorColourer FColourer{nullptr};
    std::shared_ptr<TEditorScreenStrings> FStore = std::make_shared<TEditorScreenStrings>();
    int FRow = 0, FCol = 0;

public:
    TEditorStrings Lines;
};

const std::filesystem::path& MotionListFile() {
    static const std::filesystem::path path = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() / "quillon-bench-textmodel.lst";
        std::ofstream(p, std::ios::binary) << MotionList();
        return p;
    }();
    return path;
}

// Types one character into the middle of Row, as the editor does: the row is replaced by its new text.
void TypeInto(TEditorScreenStrings& s, int Row) {
    std::string text(s.Get(Row));
    text.insert(text.size() / 2, 1, 'x');
    s.AddLineBreak(Row, text);
    s.UpdateRows(Row, 1, text);
}

void SetBytes(benchmark::State& state, std::size_t size) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

// The reference of every figure: the lines of the same bytes found with memchr.
void BM_MemchrLineSplit(benchmark::State& state) {
    const std::string& s = MotionList();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* end = s.data() + s.size();
        for (const char* p = s.data(); (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) ++lines;
        benchmark::DoNotOptimize(lines);
    }
    SetBytes(state, MotionList().size());
}

void BM_SearchMissingPattern(benchmark::State& state) {
    const std::string& s = MotionList();
    for (auto _ : state) {
        TSearchInfo info{0, 0};
        benchmark::DoNotOptimize(SearchText(s, info, "missing", stDown));
    }
    SetBytes(state, s.size());
}

void BM_LoadAndWrap(benchmark::State& state) {
    TBenchEditor ed;
    for (auto _ : state) ed.Lines.LoadFromFile(MotionListFile());
    SetBytes(state, MotionList().size());
    state.counters["rows"] = ed.ScreenStrings().Count();
}

// 1,000 single-character inserts at random rows of the wrapped document; the median and the worst.
void BM_RandomInserts(benchmark::State& state) {
    TBenchEditor ed;
    ed.Lines.LoadFromFile(MotionListFile());
    TEditorScreenStrings& s = ed.ScreenStrings();
    std::mt19937 rng(7);
    std::vector<double> micros;
    for (auto _ : state) {
        micros.clear();
        for (int i = 0; i < 1000; ++i) {
            int row = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
            auto start = std::chrono::steady_clock::now();
            TypeInto(s, row);
            micros.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["worst_us"] = micros.back();
}

// One keystroke in the middle of a 1 MB line: the rest of the line is re-wrapped.
void BM_KeystrokeInLongLine(benchmark::State& state) {
    TBenchEditor ed;
    ed.Lines.SetText(std::string(1 << 20, 'a'));
    TEditorScreenStrings& s = ed.ScreenStrings();
    for (auto _ : state) TypeInto(s, s.Count() / 2);
    SetBytes(state, std::size_t{1} << 20);
    state.counters["rows"] = s.Count();
}

void BM_ReadEveryLine(benchmark::State& state) {
    TBenchEditor ed;
    ed.Lines.LoadFromFile(MotionListFile());
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int i = 0, n = ed.Lines.Count(); i < n; ++i) bytes += ed.Lines[i].size();
        benchmark::DoNotOptimize(bytes);
    }
    SetBytes(state, MotionList().size());
}

} // namespace

BENCHMARK(BM_MemchrLineSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMissingPattern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndWrap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomInserts)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_KeystrokeInLongLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEveryLine)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
