// Bounded colouring: edits compute at most a few screens of row states, the idle work computes the
// rest, and whatever painting sees is what a full computation from the first row gives.
#include "RowStates.h"
#include "EditorColourer.h"
#include "TestEditor.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace quillon {
namespace {

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
    TEditorColourer colourer{nullptr};
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

} // namespace
} // namespace quillon
