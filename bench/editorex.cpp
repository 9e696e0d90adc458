// Find marks of a screen: every row of a 50 x 100 screen painted with the matches of its logical
// line underlined (the whole collection of matches runs once per painted row), repeated. A fuzzy
// regular expression beside a plain find string, and beside the bare finder collecting the same
// lines without the editor. Rows per second. Then the editor's chunked search over a long text
// beside memmem and the Find command's FindNext over it, and find-all and replace-all on one long line.
#include "EditorEx.h"
#include "Cp932.h"

#include <benchmark/benchmark.h>

#include <cstring>

using namespace quillon;

namespace {

constexpr int ScreenRows = 50, ScreenCols = 100;

// A window that only answers the editor's questions.
class TNullHost : public TEditorHost {
public:
    bool Focused() const override { return false; }
    int ClientWidth() const override { return ScreenCols * 8 + 200; }
    int ClientHeight() const override { return ScreenRows * 16 + 40; }
    void FontMetrics(int& Height, int& AveCharWidth) const override { Height = 16, AveCharWidth = 8; }
    int ScrollBarExtent() const override { return 16; }
    void Invalidate(const TRect&) override {}
    void UpdateWindow() override {}
    void ScrollWindow(int, int, const TRect&) override {}
    void CreateCaret(int, int) override {}
    void DestroyCaret() override {}
    void SetCaretPos(int, int) override {}
    void ShowCaret() override {}
    void HideCaret() override {}
    void SetScrollInfo(TScrollBarKind, int, int, int, int) override {}
    void SetScrollPos(TScrollBarKind, int) override {}
    void ShowScrollBar(TScrollBarKind, bool) override {}
    int TrackPos(TScrollBarKind) const override { return 0; }
    void SetCursor(TCursor) override {}
    void ShowCursorNow(TCursor) override {}
    bool ClipboardHasText() const override { return false; }
    bool ClipboardHasBox() const override { return false; }
    std::string ClipboardText() const override { return {}; }
    void SetClipboardText(const std::string&, bool) override {}
    bool KeyDown(int) const override { return false; }
    int TakeTrailByte() override { return -1; }
    std::string CompositionResult() override { return {}; }
    void SetImePosition(int, int) override {}
};

// 50 rows of 100 bytes: kana words in their full-width, half-width and hiragana forms among ASCII.
std::string ScreenText() {
    const std::string pieces[] = {Utf8ToCp932("ガッツ"), Utf8ToCp932("ｶﾞｯﾂ"),         Utf8ToCp932("がっつ"),
                                  " frame 123 ",         Utf8ToCp932("　フレーム　"), "\tattack;"};
    std::string text;
    for (int r = 0; r < ScreenRows; ++r) {
        std::string row;
        for (int i = r; row.size() < ScreenCols; ++i) row += pieces[i % 6];
        row.resize(ScreenCols);
        if (IsLeadByte(row.back())) row.back() = ' '; // no lead byte cut from its trail byte
        text += row + "\r\n";
    }
    return text;
}

struct TScreen {
    TNullHost Host;
    TEditorEx Editor;

    TScreen(const std::string& FindString, std::uint8_t Options) {
        Editor.SetHost(&Host);
        Editor.Lines().SetText(ScreenText());
        Editor.ExMarks().FindMark().SetVisible(true);
        Editor.SetFindString(FindString);
        Editor.SetSearchOptions(Options);
    }
    // The row hooks of one screen, each handed to the editor as painting does.
    int64_t PaintMarks(TPaintPlan& Plan) {
        int64_t bytes = 0;
        for (int row = 0; row < ScreenRows; ++row) {
            TPaintOp op;
            op.Kind = poDrawLine;
            op.Row = row;
            op.X = Editor.TextLeft();
            op.Y = Editor.TextTop() + row * Editor.RowHeight();
            op.Rect = {Editor.TextLeft(), op.Y, Host.ClientWidth(), op.Y + Editor.FontHeight()};
            Editor.DoDrawLine(op, Plan);
            bytes += ScreenCols;
        }
        return bytes;
    }
};

void Report(benchmark::State& State, int64_t Bytes, std::size_t Marks) {
    State.SetBytesProcessed(Bytes);
    State.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(State.iterations()) * ScreenRows, benchmark::Counter::kIsRate);
    State.counters["marks/screen"] = static_cast<double>(Marks);
}

void RunScreen(benchmark::State& State, const std::string& FindString, std::uint8_t Options) {
    TScreen screen(FindString, Options);
    TPaintPlan plan;
    int64_t bytes = 0;
    for (auto _ : State) {
        plan.clear();
        bytes += screen.PaintMarks(plan);
        benchmark::DoNotOptimize(plan.data());
    }
    Report(State, bytes, plan.size());
}

void BM_FuzzyFindMarks(benchmark::State& State) {
    RunScreen(State, Utf8ToCp932("がっつ|フレーム"), sfoRegExp | sfoFuzzy);
}
BENCHMARK(BM_FuzzyFindMarks);

// Reference: a plain find string (character-aware substring search, case folded).
void BM_PlainFindMarks(benchmark::State& State) { RunScreen(State, Utf8ToCp932("ガッツ"), 0); }
BENCHMARK(BM_PlainFindMarks);

// Reference: the finder alone over the same lines, without rows, marks or the pattern cache lookup.
void BM_FuzzyFinderOnly(benchmark::State& State) {
    TLineRegExpEx finder;
    finder.SetUseFuzzyCharDic(true);
    finder.SetRegExp(Utf8ToCp932("がっつ|フレーム"));
    std::vector<std::string> lines;
    const std::string text = ScreenText();
    for (std::size_t p = 0; p < text.size(); p = text.find('\n', p) + 1)
        lines.push_back(text.substr(p, text.find('\n', p) + 1 - p));
    TFindMatchList matches;
    int64_t bytes = 0;
    for (auto _ : State) {
        matches.clear();
        for (const std::string& line : lines) {
            finder.FindAll(line, matches);
            bytes += ScreenCols;
        }
        benchmark::DoNotOptimize(matches.data());
    }
    Report(State, bytes, matches.size());
}
BENCHMARK(BM_FuzzyFinderOnly);

} // namespace

namespace {

// The editor's search through a text of 100,000 rows of about 100 bytes (some 10 MB) wrapped at 80
// columns, for a pattern that is not there (every chunk is searched), forwards from the top and
// backwards from the end, beside memmem over the same bytes. Argument 0: the option word.
const std::string& SearchTextBody() {
    static const std::string text = [] {
        std::string all;
        for (int i = 0; i < 2000; ++i) all += ScreenText();
        return all;
    }();
    return text;
}

void BM_EditorSearchMiss(benchmark::State& State) {
    TNullHost host;
    TEditorEx editor;
    editor.SetHost(&host);
    editor.SetWordWrap(true);
    editor.WrapOption().SetWrapByte(80);
    editor.Lines().SetText(SearchTextBody());
    const auto options = static_cast<TSearchOptions>(State.range(0));
    const int from = options & stDown ? 0 : static_cast<int>(SearchTextBody().size());
    for (auto _ : State) {
        editor.SetSelStart(from);
        if (editor.SearchText("missing words", options)) State.SkipWithError("found what is not there");
    }
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(SearchTextBody().size()));
}
BENCHMARK(BM_EditorSearchMiss)
    ->Arg(stDown)
    ->Arg(stDown | stMatchCase)
    ->Arg(stDown | stSkipBlanks)
    ->Arg(0)
    ->Arg(stSkipBlanks)
    ->Unit(benchmark::kMillisecond);

void BM_MemmemMiss(benchmark::State& State) {
    const std::string& text = SearchTextBody();
    for (auto _ : State) benchmark::DoNotOptimize(memmem(text.data(), text.size(), "missing words", 13));
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_MemmemMiss)->Unit(benchmark::kMillisecond);

// The Find command's own path: FindNext on a window's editor, from the top of the same 10 MB text, for
// a string that is not there, matching case and not; beside memmem above.
void BM_FindNextMiss(benchmark::State& State) {
    TNullHost host;
    TEditorEx editor;
    editor.SetHost(&host);
    editor.Lines().SetText(SearchTextBody());
    editor.SetFindString("missing words");
    editor.SetSearchOptions(static_cast<std::uint8_t>(State.range(0)));
    for (auto _ : State) {
        editor.SetRowCol(0, 0);
        if (editor.FindNext()) State.SkipWithError("found what is not there");
    }
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(SearchTextBody().size()));
}
BENCHMARK(BM_FindNextMiss)->Arg(sfoMatchCase)->Arg(0)->Unit(benchmark::kMillisecond);

// One long line (no line break) of Megabytes MB, searched for every match (the find marks of its
// rows) and replaced all at once (wrapped, so that no column limit stops the search), for patterns
// that repeat or stand at the line's ends, and for plain text. The time per MB stays flat as the
// line grows when the search is linear. Arguments: the case (below), the size in MB and, for
// replace-all, the direction (1 backwards from the line's end).
struct TLongLineCase {
    const char* Name;
    const char* Pattern;
    const char* Piece; // repeated to make the line
    const char* Replacement;
    std::uint8_t Options = sfoRegExp | sfoMatchCase;
};
const TLongLineCase kLongLineCases[] = {
    {"e+", "e+", "e ", "x"},     {"com+ent", "com+ent", "a comment, commmment; ", "remark"},
    {"0+", "0+", "10020 ", "0"}, {"^", "^", "e ", "x"},
    {"$", "$", "e ", "x"},       {"plain", "comment", "a comment, commmment; ", "remark", sfoMatchCase},
};

std::string LongLineOf(const TLongLineCase& Case, std::size_t Bytes) {
    std::string line;
    line.reserve(Bytes + 64);
    while (line.size() < Bytes) line += Case.Piece;
    return line;
}

void LongLineEditor(TEditorEx& Editor, TNullHost& Host, const TLongLineCase& Case, std::size_t Bytes, bool Wrap) {
    Editor.SetHost(&Host);
    Editor.SetWordWrap(Wrap);
    Editor.Lines().SetText(LongLineOf(Case, Bytes));
    Editor.SetFindString(Case.Pattern);
    Editor.SetSearchOptions(Case.Options);
}

void BM_LongLineFindAll(benchmark::State& State) {
    const TLongLineCase& c = kLongLineCases[State.range(0)];
    const std::size_t bytes = static_cast<std::size_t>(State.range(1)) << 20;
    TNullHost host;
    TEditorEx editor;
    LongLineEditor(editor, host, c, bytes, false);
    int matches = 0;
    for (auto _ : State) {
        State.PauseTiming();
        editor.Lines().SetText(LongLineOf(c, bytes)); // a new text: the matches are collected again
        State.ResumeTiming();
        matches = editor.CollectFindMatches(0);
    }
    State.SetLabel(c.Name);
    State.counters["matches"] = matches;
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(bytes));
}

void BM_LongLineReplaceAll(benchmark::State& State) {
    const TLongLineCase& c = kLongLineCases[State.range(0)];
    const std::size_t bytes = static_cast<std::size_t>(State.range(1)) << 20;
    const bool backward = State.range(2) != 0;
    int count = 0;
    for (auto _ : State) {
        State.PauseTiming();
        TNullHost host;
        TEditorEx editor;
        LongLineEditor(editor, host, c, bytes, true);
        if (backward) editor.SetSelStart(editor.GetTextLength());
        State.ResumeTiming();
        count = editor.ReplaceAll(c.Replacement, backward);
    }
    State.SetLabel(std::string(c.Name) + (backward ? " backward" : " forward"));
    State.counters["replaced"] = count;
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(bytes));
}

void LongLineArgs(benchmark::internal::Benchmark* B) {
    for (int i = 0; i < static_cast<int>(std::size(kLongLineCases)); ++i)
        for (int mb : {1, 2, 4}) B->Args({i, mb});
}
void LongLineReplaceArgs(benchmark::internal::Benchmark* B) {
    for (int i = 0; i < static_cast<int>(std::size(kLongLineCases)); ++i)
        for (int backward : {0, 1})
            for (int mb : {1, 2, 4}) B->Args({i, mb, backward});
}
BENCHMARK(BM_LongLineFindAll)->Apply(LongLineArgs)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLineReplaceAll)->Apply(LongLineReplaceArgs)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
