// Colouring a 100,000-row text with brackets, comments, quotes and wrapped rows: tokenising every
// row, propagating row states over the whole text, and the work after a one-row edit (rows
// rescanned and repainted), and tokenising one long row with addresses coloured, beside the
// reference of a memchr scan of the same bytes for the bracket characters.
#include "EditorColourer.h"
#include "RowStates.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <random>

using namespace quillon;

namespace {

constexpr int kRows = 100000;
constexpr int kLookAhead = 2 * 40; // two screens of 40 rows

// Counts the rows whose state changed while propagating.
class TRows : public TRowAttributeStringList {
public:
    void RowStateChanged(int) override { ++Repainted; }
    long Repainted = 0;
};

std::unique_ptr<TEditorColourer> MakeColourer() {
    auto c = std::make_unique<TEditorColourer>(nullptr);
    c->SetCommenter("//");
    c->SetQuotation("'");
    c->SetHexPrefix("0x");
    c->Brackets().AddBracket("(", ")");
    c->Brackets().AddBracket("/*", "*/");
    c->Brackets().AddBracket("\x81\x75", "\x81\x76"); // 「」
    TStringList words;
    for (const char* w : {"if", "then", "else", "while", "return"}) words.Add(w);
    c->SetReserveWordList(words);
    return c;
}

// A program-like text: every seventh logical line wrapped over two rows, every 50th opening a
// bracket that closes ten rows later, comments, quotes and double-byte words.
std::unique_ptr<TRows> MakeRows() {
    auto rows = std::make_unique<TRows>();
    std::mt19937 rng(7);
    rows->SetCapacity(kRows);
    for (int i = 0; i < kRows; ++i) {
        std::string s = "if x" + std::to_string(i) + " then y = f(" + std::to_string(rng() % 1000) + ", 12.5e3, 0x1F)";
        if (i % 50 == 0) s += " /* open";
        if (i % 50 == 10) s += " close */";
        if (i % 5 == 0) s += " 'it''s' \x82\xA0\x82\xA2\x83\x4A\x8A\xBF"; // あいカ漢
        if (i % 3 == 0) s += " // note " + std::to_string(i);
        int row = rows->Add(s);
        rows->SetRowAttribute(row, i % 7 == 0 && i + 1 < kRows ? raWrapped : raLineBreak);
    }
    rows->SetRowAttribute(kRows - 1, raEndOfText);
    return rows;
}

std::size_t TextBytes(const TRows& rows) {
    std::size_t n = 0;
    for (int i = 0; i < rows.Count(); ++i) n += rows[i].size();
    return n;
}

void BM_Tokenise(benchmark::State& state) {
    auto colourer = MakeColourer();
    auto rows = MakeRows();
    ResetRowStates(*rows, *colourer, kRows - 1);
    auto parser = colourer->CreateParser();
    long tokens = 0;
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            parser->NewData(rows->RowText(i).data(), rows->GetRowAttributeData(i));
            while (parser->NextToken() != tkEnd) {
                benchmark::DoNotOptimize(parser->TokenColor());
                ++tokens;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TextBytes(*rows)));
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kRows), benchmark::Counter::kIsRate);
    state.counters["tokens/row"] = static_cast<double>(tokens) / static_cast<double>(state.iterations() * kRows);
}
BENCHMARK(BM_Tokenise)->Unit(benchmark::kMillisecond);

void BM_PropagateWholeText(benchmark::State& state) {
    auto colourer = MakeColourer();
    auto rows = MakeRows();
    for (auto _ : state) ResetRowStates(*rows, *colourer, kRows - 1);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TextBytes(*rows)));
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kRows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PropagateWholeText)->Unit(benchmark::kMillisecond);

// One row in the middle gains or loses an opening "/*", which the next "*/" (up to 50 rows further
// down) closes; the states are brought up to date for the rows below it, as the editor does after
// an edit.
void BM_OneRowEdit(benchmark::State& state) {
    auto colourer = MakeColourer();
    auto rows = MakeRows();
    ResetRowStates(*rows, *colourer, kRows - 1);
    const int row = kRows / 2 + 26; // outside any bracket and comment, not wrapped, not after a wrap
    const std::string plain(rows->Get(row));
    bool open = false;
    long repainted = 0, edits = 0;
    for (auto _ : state) {
        open = !open;
        rows->Put(row, open ? plain + " /*" : plain);
        rows->Repainted = 0;
        UpdateRowStates(*rows, *colourer, row + 1, kLookAhead, true);
        repainted += rows->Repainted;
        ++edits;
    }
    state.counters["rows rescanned/edit"] = static_cast<double>(repainted) / static_cast<double>(edits);
    state.counters["edits/s"] = benchmark::Counter(static_cast<double>(edits), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OneRowEdit)->Unit(benchmark::kMicrosecond);

// An edit that changes no state below: propagation stops at the first row.
void BM_OneRowEditNoStateChange(benchmark::State& state) {
    auto colourer = MakeColourer();
    auto rows = MakeRows();
    ResetRowStates(*rows, *colourer, kRows - 1);
    const int row = kRows / 2 + 26;
    long repainted = 0, edits = 0;
    for (auto _ : state) {
        rows->Put(row, rows->Get(row) == "x" ? "y" : "x");
        rows->Repainted = 0;
        UpdateRowStates(*rows, *colourer, row + 1, kLookAhead, true);
        repainted += rows->Repainted;
        ++edits;
    }
    state.counters["rows rescanned/edit"] = static_cast<double>(repainted) / static_cast<double>(edits);
}
BENCHMARK(BM_OneRowEditNoStateChange)->Unit(benchmark::kMicrosecond);

// One long row of numbers and commas with addresses coloured: every token starts inside a run of
// address characters that holds no address. Its cost must grow with the row, not its square.
void BM_TokeniseLongAddressRun(benchmark::State& state) {
    auto colourer = MakeColourer();
    colourer->SetMail(true);
    std::string row;
    for (int i = 0; row.size() < static_cast<std::size_t>(state.range(0)); ++i) row += std::to_string(i % 1000) + ",";
    auto parser = colourer->CreateParser();
    for (auto _ : state) {
        parser->NewData(row.c_str(), {});
        while (parser->NextToken() != tkEnd) benchmark::DoNotOptimize(parser->TokenColor());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * row.size()));
}
BENCHMARK(BM_TokeniseLongAddressRun)->Arg(1 << 18)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// Reference: one memchr pass per row for the bracket character, over the same bytes.
void BM_Reference_Memchr(benchmark::State& state) {
    auto rows = MakeRows();
    for (auto _ : state) {
        long found = 0;
        for (int i = 0; i < kRows; ++i) {
            const std::string_view s = rows->RowText(i);
            found += std::memchr(s.data(), '(', s.size()) != nullptr;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TextBytes(*rows)));
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kRows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reference_Memchr)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
