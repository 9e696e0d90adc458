// Windows on a long logical line: a row is parsed with as much of the rest of its line as its parse
// reads, never with a copy of the whole rest, and still colours as the whole line does.
#include "LineWindow.h"
#include "EditorColourer.h"
#include "LineText.h"
#include "RowStates.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace quillon {
namespace {

// A row store that counts the bytes of the row texts read from it.
class TCountingStore : public TRowStateStore {
public:
    explicit TCountingStore(TRowAttributeStringList& Rows) : FRows(Rows) {}
    int RowCount() const override { return FRows.RowCount(); }
    std::string_view RowText(int Index) const override {
        const std::string_view text = FRows.RowText(Index);
        Bytes += static_cast<long>(text.size());
        return text;
    }
    int RowAttributeOf(int Index) const override { return FRows.RowAttributeOf(Index); }
    TRowAttributeData GetRowAttributeData(int Index) const override { return FRows.GetRowAttributeData(Index); }
    void PutRowState(int Index, const TRowAttributeData& Data) override { FRows.PutRowState(Index, Data); }
    void RowStateChanged(int Index) override { FRows.RowStateChanged(Index); }
    void MarkNotComputed(int From) override { FRows.MarkNotComputed(From); }
    int FirstNotComputed(int From) const override { return FRows.FirstNotComputed(From); }

    mutable long Bytes = 0;

private:
    TRowAttributeStringList& FRows;
};

// Line cut into rows of Width bytes, all but the last wrapped, and a short line after it.
void FillWrapped(TRowAttributeStringList& Rows, const std::string& Line, std::size_t Width) {
    for (std::size_t at = 0; at < Line.size(); at += Width)
        Rows.SetRowAttribute(Rows.Add(Line.substr(at, Width)), at + Width < Line.size() ? raWrapped : raLineBreak);
    Rows.SetRowAttribute(Rows.Add("end"), raEndOfText);
}

class LineWindows : public ::testing::Test {
protected:
    LineWindows() {
        auto& bracket = static_cast<TColourerBracketItem&>(colourer.Brackets().Add());
        bracket.SetLeftBracket("(");
        bracket.SetRightBracket(")");
        colourer.SetQuotation("'");
        colourer.SetMail(true);
        colourer.SetUrl(true);
        colourer.SetCommenter("//");
    }

    // A line of about Bytes with tokens that run over many rows and looks that reach far past a
    // token's end: long words and numbers, runs of address characters with or without an address in
    // them, brackets and quotes, a number whose point lies far away.
    std::string Line(std::size_t Bytes) {
        static const char* const pieces[] = {"word ", "12.5 ", "(", ")", "'", "x", "a.b-c ", "www.q.jp ", "//"};
        std::string line;
        while (line.size() < Bytes) {
            switch (rng() % 8) {
            case 0: line.append(200 + rng() % 3000, static_cast<char>('a' + rng() % 26)); break;
            case 1: line.append(100 + rng() % 2000, '7').append(rng() % 2 ? "." : ".5 "); break;
            case 2:
                for (unsigned n = 100 + rng() % 3000; n > 0; --n) line += "ab.-"[rng() % 4];
                line += rng() % 2 ? "@x.y " : " ";
                break;
            default: line += pieces[rng() % (line.size() > Bytes / 2 ? 9 : 8)];
            }
        }
        return line;
    }

    std::mt19937 rng{38};
    TEditorColourer colourer{nullptr};
};

TEST_F(LineWindows, ReadingTheRowsOfALineInOrderReadsEachRowAFewTimes) {
    TRowAttributeStringList rows;
    const std::string line = Line(200000);
    FillWrapped(rows, line, 20);
    TCountingStore store(rows);
    TLineWindow window;
    std::size_t at = 0;
    for (int row = 0; row + 1 < rows.Count(); ++row) {
        const std::string_view head = rows.RowText(row);
        const char* text = window.Row(store, row, head, TLineWindow::MinAhead);
        // The row, then the rest of the line as far as asked for.
        const std::size_t size = std::min(line.size() - at, head.size() + TLineWindow::MinAhead);
        ASSERT_EQ(std::string_view(text, size), std::string_view(line).substr(at, size)) << row;
        at += head.size();
    }
    EXPECT_LT(store.Bytes, static_cast<long>(3 * line.size()));
}

TEST_F(LineWindows, ARowReadAloneReadsOnlyWhatItsParseAsksFor) {
    TRowAttributeStringList rows;
    FillWrapped(rows, Line(500000), 20);
    TCountingStore store(rows);
    TLineWindow window;
    const int row = rows.Count() / 2;
    window.Row(store, row, rows.RowText(row), TLineWindow::MinAhead);
    EXPECT_LE(store.Bytes, static_cast<long>(TLineWindow::MinAhead + 3 * 20));
    // Asked again with more, the same row takes only the more.
    store.Bytes = 0;
    window.Row(store, row, rows.RowText(row), 2 * TLineWindow::MinAhead);
    EXPECT_LE(store.Bytes, static_cast<long>(TLineWindow::MinAhead + 3 * 20));
}

// What a parse may read past the end of its last token must lie inside the window: kTokenLookAhead
// bytes, and a run of address characters to its end.
TEST_F(LineWindows, CoversAParseOnlyWhereTheCutCannotChangeWhatItRead) {
    struct TCase {
        std::string Rest; // the rest of the line after a row "ab", in rows of 20 bytes
        std::size_t End;  // where the parse's last token ended
        bool Covered;
    };
    const std::string far(3 * TLineWindow::MinAhead, ' ');
    const std::string address(3 * TLineWindow::MinAhead, 'a');
    const std::string inside = address.substr(0, TLineWindow::MinAhead / 2) + " " + far;
    const TCase cases[] = {
        {far, 2, true},                      // blanks far past the row
        {far, TLineWindow::MinAhead, false}, // a token that ends near the cut
        {address, 2, false},                 // an address look may run past the cut
        {inside, 2, true},                   // the run of address characters ends inside
        {"cd", 4, true},                     // the whole line is in the window
    };
    for (const TCase& c : cases) {
        TRowAttributeStringList rows;
        FillWrapped(rows, "ab" + c.Rest, 2);
        TLineWindow window;
        window.Row(rows, 0, rows.RowText(0), TLineWindow::MinAhead);
        EXPECT_EQ(window.Covers(c.End), c.Covered) << c.Rest.size() << " " << c.End;
    }
}

// Idle colouring in small steps, each starting a new parser at the first row not computed: every step
// reads what it colours, not the rest of the line.
TEST_F(LineWindows, IdleColouringOfALongWrappedLineReadsItAFewTimes) {
    TRowAttributeStringList rows;
    std::string line;
    while (line.size() < 300000) line += "word 12.5 x ";
    FillWrapped(rows, line, 20);
    TCountingStore store(rows);
    store.MarkNotComputed(0);
    int steps = 0;
    for (int from = 0; from < store.RowCount(); ++steps) from = ComputeRowStates(store, colourer, from, 50);
    EXPECT_GT(steps, 300);
    EXPECT_LT(store.Bytes, static_cast<long>(8 * line.size()));
}

// Rows of long wrapped lines at several widths, each scanned from its state through windows of many
// sizes: wherever the window covers the scan, the scan ends in the state that a scan of the row with
// the whole rest of its line gives, and the whole line always covers it.
TEST_F(LineWindows, AScanThatAWindowCoversEndsAsWithTheWholeLine) {
    auto parser = colourer.CreateParser();
    for (const std::size_t bytes : {10000, 40000}) {
        const std::string line = Line(bytes);
        for (const std::size_t width : {7, 20, 80, 333}) {
            TRowAttributeStringList rows;
            FillWrapped(rows, line, width);
            ResetRowStates(rows, colourer, rows.Count() - 1);
            for (int row = 0; row + 1 < rows.Count(); row += 1 + static_cast<int>(rng() % 4)) {
                const std::string_view head = rows.RowText(row);
                const int size = static_cast<int>(head.size());
                const TRowAttributeData state = rows.GetRowAttributeData(row);
                TRowAttributeData whole = state;
                const std::string text = std::string(head) + test::LineTextAfter(rows, row);
                parser->ScanText(text.c_str(), size, whole);
                for (std::size_t ahead = 0;; ahead = 2 * ahead + 16) {
                    TLineWindow window; // a window of its own: one that a row before grew may hold more
                    TRowAttributeData data = state;
                    parser->ScanText(window.Row(rows, row, head, ahead), size, data);
                    const std::size_t end = static_cast<std::size_t>(parser->SourcePos() + parser->TokenLength());
                    if (!window.Covers(end)) {
                        ASSERT_LT(ahead, text.size()) << "the whole line covers every scan";
                        continue;
                    }
                    ASSERT_TRUE(SameRowState(data, whole))
                        << bytes << " bytes at width " << width << ", row " << row << ", ahead " << ahead;
                    break;
                }
            }
        }
    }
}

} // namespace
} // namespace quillon
