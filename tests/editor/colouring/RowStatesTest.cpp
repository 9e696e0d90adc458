// Bounded colouring: edits compute at most a few screens of row states, the idle work computes the
// rest, and whatever painting sees is what a full computation from the first row gives.
#include "RowStates.h"
#include "EditorColourer.h"
#include "EditorPaint.h"
#include "TestEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace quillon {
namespace {

// The default colourer, counting the rows its parsers scan for states and the tokens they read.
class TCountingColourer : public TEditorColourer {
public:
    using TEditorColourer::TEditorColourer;
    std::unique_ptr<TColourerParser> CreateParser() override { return std::make_unique<TParser>(this, Scans, Tokens); }
    int Scans = 0;
    long Tokens = 0;

private:
    class TParser : public TEditorParser {
    public:
        TParser(TColourer* Colourer, int& Scans, long& Tokens)
            : TEditorParser(Colourer), FScans(Scans), FTokens(Tokens) {}
        void ScanRow(int Index, const TRowStateStore& Strings, TRowAttributeData& Data) override {
            ++FScans;
            TEditorParser::ScanRow(Index, Strings, Data);
        }
        int NextToken() override {
            ++FTokens;
            return TEditorParser::NextToken();
        }

    private:
        int& FScans;
        long& FTokens;
    };
};

class BoundedColouring : public ::testing::Test {
protected:
    BoundedColouring() {
        auto& bracket = static_cast<TColourerBracketItem&>(colourer.Brackets().Add());
        bracket.SetLeftBracket("(");
        bracket.SetRightBracket(")");
        colourer.SetQuotation("'");
        ed.Colourer = &colourer;
        ed.FullStates = false;
        s.WrapOption().SetWrapByte(20);
        s.SetWordWrap(true);
    }

    std::string Text(int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += Line() + "\r\n";
        return text;
    }
    std::string Line() {
        static const char* pieces[] = {"word ", "(", ")", "'", "12.5 ", "long piece of text ", "x"};
        std::string line;
        for (int n = static_cast<int>(rng() % 8); n > 0; --n) line += pieces[rng() % 7];
        return line;
    }

    // The state of every row as a full computation from the first row gives it.
    std::unique_ptr<TRowAttributeStringList> FullComputation() {
        auto full = std::make_unique<TRowAttributeStringList>();
        for (int r = 0; r < s.Count(); ++r) full->SetRowAttribute(full->Add(s.Get(r)), s.RowAttribute(r));
        ResetRowStates(*full, colourer, full->Count() - 1);
        return full;
    }

    // What a paint of Row sees: its state, computed first when it is not.
    TRowAttributeData PaintedState(int Row) {
        if (s.BracketIndex(Row) == biNotComputed) s.UpdateRowStates(Row, false);
        return s.GetRowAttributeData(Row);
    }

    std::mt19937 rng{3};
    TCountingColourer colourer{nullptr};
    TTestEditor ed;
    TEditorScreenStrings& s = ed.ScreenStrings();
};

TEST_F(BoundedColouring, LoadComputesTheFirstScreensAndLeavesTheRestToIdleWork) {
    ed.Lines.SetText(Text(3000));
    EXPECT_EQ(s.FirstNotComputed(0), ed.StateLookAhead() + 1);
    EXPECT_GT(ed.Pending, 0);
    int steps = 0;
    while (s.ComputeRowStates(500)) ++steps;
    EXPECT_GE(steps, s.Count() / 500 - 1);
    EXPECT_EQ(s.FirstNotComputed(0), s.Count());
    auto full = FullComputation();
    for (int r = 0; r < s.Count(); ++r)
        ASSERT_TRUE(SameRowState(s.GetRowAttributeData(r), full->GetRowAttributeData(r))) << r;
}

TEST_F(BoundedColouring, AnEditFarBelowTheComputedRowsComputesNothing) {
    ed.Lines.SetText(Text(3000));
    ASSERT_GT(s.Count(), 4100);
    const int computed = s.FirstNotComputed(0);
    s.UpdateRows(4000, 1, "(open\r\n");
    EXPECT_EQ(s.FirstNotComputed(0), computed);
    EXPECT_TRUE(SameRowState(PaintedState(4001), FullComputation()->GetRowAttributeData(4001)));
}

// Edits, painted rows and idle steps in random order: every state a paint sees, and every state once
// the idle work is done, is the full computation's.
TEST_F(BoundedColouring, RandomEditsAndIdleStepsAgreeWithAFullComputation) {
    ed.Lines.SetText(Text(1500));
    for (int step = 0; step < 300; ++step) {
        const int row = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
        switch (rng() % 4) {
        case 0: s.UpdateRows(row, 1, Line() + "\r\n"); break;
        case 1: s.UpdateRows(row, 0, Line() + "\r\n" + Line() + "\r\n"); break;
        case 2: s.ComputeRowStates(static_cast<int>(rng() % 700)); break;
        default: {
            auto full = FullComputation();
            ASSERT_TRUE(SameRowState(PaintedState(row), full->GetRowAttributeData(row))) << "step " << step;
        }
        }
        if (rng() % 50 == 0) s.Undo();
    }
    while (s.ComputeRowStates(1000)) {
    }
    auto full = FullComputation();
    for (int r = 0; r < s.Count(); ++r)
        ASSERT_TRUE(SameRowState(s.GetRowAttributeData(r), full->GetRowAttributeData(r))) << r;
}

// Edits anywhere in long wrapped lines (10 to 100 kB), with idle steps and paints between: every state
// a paint sees is a full computation's, and at the end every row and every state is a fresh load's.
TEST_F(BoundedColouring, RandomEditsInLongWrappedLinesAgreeWithAFreshLoad) {
    colourer.SetMail(true);
    colourer.SetCommenter("//");
    std::string text;
    for (const std::size_t bytes : {10000, 100000, 30000}) {
        std::string line;
        while (line.size() < bytes) line += Line() + (rng() % 3 ? " " : "a-a-a-a-a-a-a-a-a.");
        text += line + "\r\n";
    }
    ed.Lines.SetText(text);
    static const char* typed[] = {"(", ")", "'", "x", " ", "//", "@a.", "12.5"};
    for (int step = 0; step < 60; ++step) {
        const int row = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
        std::string changed(s.Get(row));
        const std::size_t at = rng() % (changed.size() + 1);
        if (rng() % 4 == 0 && at < changed.size())
            changed.erase(at, 1);
        else
            changed.insert(at, typed[rng() % std::size(typed)]);
        s.UpdateRows(row, 1, changed + (s.RowAttribute(row) == raLineBreak ? "\r\n" : ""));
        if (rng() % 3 == 0) s.ComputeRowStates(static_cast<int>(rng() % 2000));
        if (rng() % 6 == 0) {
            const int painted = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
            ASSERT_TRUE(SameRowState(PaintedState(painted), FullComputation()->GetRowAttributeData(painted)))
                << "step " << step;
        }
    }
    while (s.ComputeRowStates(1000)) {
    }
    TTestEditor fresh;
    fresh.Colourer = &colourer;
    fresh.FullStates = false;
    TEditorScreenStrings& f = fresh.ScreenStrings();
    f.WrapOption().SetWrapByte(20);
    f.SetWordWrap(true);
    fresh.Lines.SetText(ed.Lines.Text());
    while (f.ComputeRowStates(1000)) {
    }
    ASSERT_EQ(f.Count(), s.Count());
    for (int r = 0; r < s.Count(); ++r) {
        ASSERT_EQ(f.Get(r), s.Get(r)) << r;
        ASSERT_EQ(f.RowAttribute(r), s.RowAttribute(r)) << r;
        ASSERT_TRUE(SameRowState(f.GetRowAttributeData(r), s.GetRowAttributeData(r))) << r;
    }
}

// A token that runs over many rows tells each of them how many of its bytes are left: typing inside
// it changes the states of the rows above the change too, and they are repainted.
TEST_F(BoundedColouring, AnEditInsideALongTokenRecomputesTheRowsAboveItInItsLine) {
    colourer.SetCommenter("//");
    ed.Lines.SetText(std::string(300, 'b') + "\r\n");
    while (s.ComputeRowStates(7)) {
    }
    ed.Invalidated.clear();
    s.UpdateRows(5, 1, std::string(s.Get(5)).insert(10, "//"));
    auto full = FullComputation();
    for (int r = 0; r < s.Count(); ++r) {
        ASSERT_TRUE(SameRowState(PaintedState(r), full->GetRowAttributeData(r))) << r;
        if (r >= 1 && r <= 5) {
            EXPECT_NE(std::find(ed.Invalidated.begin(), ed.Invalidated.end(), r), ed.Invalidated.end()) << r;
        }
    }
    EXPECT_EQ(full->GetRowAttributeData(1).Remain, 90);
    EXPECT_EQ(full->GetRowAttributeData(6).ContinuedToken, tkComment);
}

// A failed look for an e-mail address reads on over a run of address characters: an "@a." typed far
// down the run makes one address of it, from the top of the line.
TEST_F(BoundedColouring, AnAddressCompletedFarDownItsRunRecomputesTheRowsAboveIt) {
    colourer.SetMail(true);
    std::string run;
    for (int i = 0; i < 300; ++i) run += "a-";
    ed.Lines.SetText("zz " + run + "\r\n");
    while (s.ComputeRowStates(7)) {
    }
    s.UpdateRows(25, 1, std::string(s.Get(25)).insert(4, "@a."));
    auto full = FullComputation();
    ASSERT_EQ(full->GetRowAttributeData(1).ContinuedToken, tkMail);
    for (int r = 0; r < s.Count(); ++r) ASSERT_TRUE(SameRowState(PaintedState(r), full->GetRowAttributeData(r))) << r;
}

// The load computed the first 41 rows of a line of 100; an edit far below them leaves the line to
// the idle work, which must not go on from the rows that counted the old token's length.
TEST_F(BoundedColouring, AnEditFarBelowTheComputedRowsOfItsLineLeavesItsComputedRowsToo) {
    colourer.SetCommenter("//");
    ed.Lines.SetText(std::string(2000, 'b') + "\r\n");
    ASSERT_EQ(s.FirstNotComputed(0), ed.StateLookAhead() + 1);
    s.UpdateRows(90, 1, std::string(s.Get(90)).insert(10, "//"));
    EXPECT_EQ(s.FirstNotComputed(0), 1) << "the line's first row keeps its state";
    while (s.ComputeRowStates(7)) {
    }
    auto full = FullComputation();
    for (int r = 0; r < s.Count(); ++r)
        ASSERT_TRUE(SameRowState(s.GetRowAttributeData(r), full->GetRowAttributeData(r))) << r;
}

// Changes inside long rows without word wrap (typing, and a replace-all's changes in several rows at
// once) keep the rows' own states and recompute the rows below them: an opened or closed bracket or
// quote reaches them, and undo and redo too.
TEST_F(BoundedColouring, ChangesInsideRowsAgreeWithAFullComputation) {
    s.SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 200; ++i) text += Line() + Line() + Line() + "\r\n";
    ed.Lines.SetText(text);
    while (s.ComputeRowStates(1000)) {
    }
    static const char* typed[] = {"(", ")", "'", "x", " "};
    for (int step = 0; step < 400; ++step) {
        // One change, or one in each of up to three rows some way apart.
        std::vector<TRowSplice> splices;
        const unsigned rows = step % 2 == 0 ? 1 : 1 + rng() % 3;
        int row = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
        for (unsigned k = 0; k < rows && row < s.Count(); ++k) {
            const std::size_t size = s.Get(row).size();
            const std::size_t index = rng() % (size + 1);
            const unsigned draw = rng();
            const std::size_t length = index < size ? draw % 2 : 0;
            const unsigned kind = rng() % 10;
            splices.push_back({row, index, length, length > 0 && kind >= 5 ? "" : typed[kind % 5]});
            row += 1 + static_cast<int>(rng() % 60);
        }
        s.ReplaceInRows(splices);
        if (rng() % 10 == 0) s.Undo();
        if (rng() % 20 == 0) s.Redo();
        if (rng() % 3 == 0) s.ComputeRowStates(static_cast<int>(rng() % 300));
        const int painted = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
        auto full = FullComputation();
        ASSERT_TRUE(SameRowState(PaintedState(painted), full->GetRowAttributeData(painted))) << "step " << step;
    }
    while (s.ComputeRowStates(1000)) {
    }
    auto full = FullComputation();
    for (int r = 0; r < s.Count(); ++r)
        ASSERT_TRUE(SameRowState(s.GetRowAttributeData(r), full->GetRowAttributeData(r))) << r;
}

// A line of 400 kB without word wrap: a change inside it reads the few kilobytes around the change,
// not the line, and the states below it are still a full scan's.
TEST_F(BoundedColouring, AChangeInsideALongRowReadsOnlyTheStretchAroundIt) {
    s.SetWordWrap(false);
    std::string line;
    while (line.size() < 400000) line += Line();
    ed.Lines.SetText(line + "\r\nnext\r\n");
    while (s.ComputeRowStates(1000)) {
    }
    const std::size_t size = s.Get(0).size();
    for (const char* typed : {"x", "(", "'", ")", "'"}) {
        colourer.Tokens = 0;
        s.ReplaceInRow(0, static_cast<int>(size / 2), 0, typed);
        EXPECT_LT(colourer.Tokens, 5000) << typed << ": a few kilobytes of the line";
        ASSERT_TRUE(SameRowState(s.GetRowAttributeData(1), FullComputation()->GetRowAttributeData(1))) << typed;
    }
    s.Undo();
    ASSERT_TRUE(SameRowState(s.GetRowAttributeData(1), FullComputation()->GetRowAttributeData(1)));
}

// ---- Provisional states: a paint far below the computed rows (screen: 20 rows, half the look-ahead)

class ProvisionalColouring : public BoundedColouring {
protected:
    static constexpr int Screen = 20;

    // Lines of one word each (no wrap), a bracket opened on line Open and closed on line Close.
    void LoadLinesWithBracket(int Lines, int Open, int Close) {
        std::string text;
        for (int i = 0; i < Lines; ++i)
            text += (i == Open ? "open ( " : i == Close ? "close ) " : "line ") + std::to_string(i) + "\r\n";
        ed.Lines.SetText(text);
    }
    void Idle() {
        while (s.ComputeRowStates(7)) {
        }
    }
    bool WasInvalidated(int Row) const {
        return std::find(ed.Invalidated.begin(), ed.Invalidated.end(), Row) != ed.Invalidated.end();
    }
};

TEST_F(ProvisionalColouring, AFarPaintScansAFewScreensAndComputesNoRow) {
    ed.Lines.SetText(Text(3000));
    const int computed = s.FirstNotComputed(0);
    const int far = s.Count() * 3 / 4;
    TPaintGeometry geometry;
    geometry.ClientWidth = 100 * geometry.CharWidth;
    geometry.ClientHeight = Screen * geometry.RowHeight;
    geometry.TopRow = far;
    TEditorPainter painter(s, colourer, TPaintMarks(), geometry, TPaintLook(), TPaintSelection(),
                           [](std::string_view row) { return std::string(row); });
    TPaintPlan plan;
    colourer.Scans = 0;
    painter.PaintText({0, 0, geometry.ClientWidth, geometry.ClientHeight}, plan);
    // From at most two screens above the first row to a screen below it, instead of every row from
    // the computed ones down.
    EXPECT_LE(colourer.Scans, 3 * Screen + 1);
    EXPECT_EQ(s.FirstNotComputed(0), computed);
    colourer.Scans = 0;
    painter.PaintText({0, 0, geometry.ClientWidth, geometry.ClientHeight}, plan);
    EXPECT_EQ(colourer.Scans, 0) << "a second paint finds its states";
}

TEST_F(ProvisionalColouring, AWindowInsideALineLongerThanTwoScreensStartsThereAsItsContinuation) {
    std::string text = Text(500);
    text += std::string(4000, 'x') + "\r\n"; // 200 rows at the wrap width 20
    ed.Lines.SetText(text);
    const int row = s.Count() - 50;
    ASSERT_EQ(s.RowAttribute(row - 3 * Screen), raWrapped);
    colourer.Scans = 0;
    s.PaintRowState(row);
    EXPECT_LE(colourer.Scans, 3 * Screen + 1);
    EXPECT_EQ(s.PaintRowState(row - 2 * Screen).PrevRowAttribute, raWrapped);
    EXPECT_EQ(colourer.Scans, 3 * Screen + 1) << "the window starts two screens above";
}

TEST_F(ProvisionalColouring, ARowNearTheComputedOnesIsComputedExactly) {
    ed.Lines.SetText(Text(3000));
    const int near = s.FirstNotComputed(0) + 2 * Screen - 1;
    const TRowAttributeData state = s.PaintRowState(near);
    EXPECT_GT(s.FirstNotComputed(0), near);
    EXPECT_TRUE(SameRowState(state, FullComputation()->GetRowAttributeData(near)));
}

TEST_F(ProvisionalColouring, StatesThatWereRightAreNotRepaintedWhenTheIdleWorkPassesThem) {
    LoadLinesWithBracket(400, 5, 7);
    for (int row = 300; row < 300 + Screen; ++row) s.PaintRowState(row);
    ed.Invalidated.clear();
    Idle();
    EXPECT_TRUE(ed.Invalidated.empty());
}

TEST_F(ProvisionalColouring, ABracketOpenAboveTheWindowIsRepaintedRightOnceTheIdleWorkPassesIt) {
    LoadLinesWithBracket(400, 10, 350);
    const int top = 300;
    for (int row = top; row < top + Screen; ++row)
        EXPECT_EQ(s.PaintRowState(row).BracketIndex, biNone) << "the window cannot see the bracket";
    ed.Invalidated.clear();
    Idle();
    auto full = FullComputation();
    for (int row = top; row < top + Screen; ++row) {
        ASSERT_EQ(full->BracketIndex(row), 0);
        EXPECT_TRUE(WasInvalidated(row)) << row;
        EXPECT_TRUE(SameRowState(s.PaintRowState(row), full->GetRowAttributeData(row))) << row;
    }
}

// Token queries, item hints and the propagation read the store: it never holds a provisional state.
TEST_F(ProvisionalColouring, ReadersOfTheStoreSeeExactStatesOrNone) {
    LoadLinesWithBracket(400, 10, 350);
    const int row = 300;
    EXPECT_EQ(s.PaintRowState(row).BracketIndex, biNone);
    EXPECT_EQ(s.BracketIndex(row), biNotComputed);
    s.UpdateRowStates(row, false);
    EXPECT_EQ(s.BracketIndex(row), 0);
    EXPECT_EQ(s.PaintRowState(row).BracketIndex, 0) << "the exact state wins once computed";
}

TEST_F(ProvisionalColouring, AnEditDropsTheProvisionalStatesAndRepaintsTheirRows) {
    ed.Lines.SetText(Text(3000));
    const int computed = s.FirstNotComputed(0);
    const int far = s.Count() / 2;
    s.PaintRowState(far);
    ed.Invalidated.clear();
    s.UpdateRows(far, 1, "x\r\n");
    EXPECT_EQ(s.FirstNotComputed(0), computed) << "an edit far below the computed rows computes nothing";
    for (int row = far - Screen; row <= far + Screen; ++row) EXPECT_TRUE(WasInvalidated(row)) << row;
    colourer.Scans = 0;
    s.PaintRowState(far + 1);
    EXPECT_GT(colourer.Scans, 0) << "the next paint scans a window of its own";
}

TEST_F(ProvisionalColouring, ResettingWhileScrolledDeepComputesTheFirstScreensOnly) {
    ed.Lines.SetText(Text(3000));
    ed.SetTopRow(3000);
    colourer.Scans = 0;
    s.ResetRowStates();
    EXPECT_EQ(s.FirstNotComputed(0), 2 * Screen + 1);
    EXPECT_LE(colourer.Scans, 2 * Screen + 1);
    ed.SetTopRow(30);
    s.ResetRowStates();
    EXPECT_EQ(s.FirstNotComputed(0), 30 + 2 * Screen + 1) << "a top row within them gets its screens too";
    ed.SetTopRow(3000);
    colourer.Scans = 0;
    s.SetWordWrap(false);
    EXPECT_LE(colourer.Scans, 2 * Screen + 1) << "switching the wrap";
}

// One screen, moved by jumps and scrolls (which paint only the rows scrolled in), between idle
// steps; every invalidated row on the screen is painted again, as the window would. The screen
// always shows what painting it again would show, and once the idle work is done, the exact states.
TEST_F(ProvisionalColouring, RandomJumpsScrollsAndIdleStepsEndWithTheScreenExact) {
    for (int round = 0; round < 20; ++round) {
        // Brackets seldom, so that they span more than a window.
        std::string text;
        for (int i = 0; i < 3000; ++i) {
            std::string line = Line();
            std::erase_if(line, [](char c) { return c == '(' || c == ')'; });
            if (rng() % 30 == 0) line += rng() % 2 ? "(" : ")";
            text += line + "\r\n";
        }
        ed.Lines.SetText(text);
        std::map<int, TRowAttributeData> screen; // row -> the state it was painted with
        int top = 0;
        auto paint = [&](int row) { screen[row] = s.PaintRowState(row); };
        auto repaintInvalidated = [&] {
            while (!ed.Invalidated.empty()) {
                std::vector<int> rows;
                rows.swap(ed.Invalidated);
                for (int row : rows)
                    if (screen.count(row)) paint(row);
            }
        };
        auto moveTo = [&](int newTop) {
            newTop = std::clamp(newTop, 0, s.Count() - Screen);
            std::map<int, TRowAttributeData> kept;
            for (auto& [row, state] : screen)
                if (row >= newTop && row < newTop + Screen) kept[row] = state;
            screen.swap(kept);
            top = newTop;
            for (int row = top; row < top + Screen; ++row)
                if (!screen.count(row)) paint(row);
        };
        moveTo(0);
        for (int step = 0; step < 30; ++step) {
            switch (rng() % 3) {
            case 0: moveTo(static_cast<int>(rng() % static_cast<unsigned>(s.Count()))); break;
            case 1: moveTo(top + static_cast<int>(rng() % 61) - 30); break;
            default: s.ComputeRowStates(static_cast<int>(rng() % 60)); break;
            }
            repaintInvalidated();
            // The screen shows what painting it again would show.
            for (auto& [row, state] : screen)
                ASSERT_TRUE(SameRowState(state, s.PaintRowState(row))) << "round " << round << ", row " << row;
        }
        Idle();
        repaintInvalidated();
        auto full = FullComputation();
        for (auto& [row, state] : screen)
            ASSERT_TRUE(SameRowState(state, full->GetRowAttributeData(row))) << "round " << round << ", row " << row;
    }
}

} // namespace
} // namespace quillon
