#include "EditorPaint.h"

#include "Cp932.h"
#include "EditorColourer.h"
#include "TestEditor.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillon {
namespace {

constexpr int CW = 8, FH = 16, LEFT = 30, TOP = 12;

// Tabs as blanks to the next multiple of 8.
std::string Expand(std::string_view S) {
    std::string out;
    for (char c : S) {
        if (c == '\t')
            out.append(8 - out.size() % 8, ' ');
        else
            out += c;
    }
    return out;
}

class EditorPaint : public ::testing::Test {
protected:
    EditorPaint() {
        editor.Colourer = &colourer;
        geometry.CharWidth = CW;
        geometry.FontHeight = FH;
        geometry.RowHeight = FH;
        geometry.TextLeft = LEFT;
        geometry.TextTop = TOP;
        geometry.ClientWidth = LEFT + 1100 * CW;
        geometry.ClientHeight = TOP + 10 * FH;
        geometry.ColsPerPage = 1100;
        marks.Eof.Visible = marks.Ret.Visible = marks.Wrap.Visible = marks.Hide.Visible = true;
        marks.Eof.Color = clNone;
        marks.Ret.Color = clRed;
    }

    TPaintPlan Paint(const std::string& Text) {
        editor.Lines.SetText(Text);
        TEditorPainter painter(editor.ScreenStrings(), colourer, marks, geometry, look, selection, Expand);
        TPaintPlan plan;
        painter.PaintText({0, 0, geometry.ClientWidth, geometry.ClientHeight}, plan);
        return plan;
    }

    static std::vector<TPaintOp> OfKind(const TPaintPlan& Plan, TPaintOpKind Kind) {
        std::vector<TPaintOp> ops;
        std::copy_if(Plan.begin(), Plan.end(), std::back_inserter(ops),
                     [&](const TPaintOp& op) { return op.Kind == Kind; });
        return ops;
    }
    static std::vector<TPaintOp> Texts(const TPaintPlan& Plan, std::string_view Text) {
        std::vector<TPaintOp> ops;
        for (const TPaintOp& op : OfKind(Plan, poText))
            if (op.Text == Text) ops.push_back(op);
        return ops;
    }
    static int RowTop(int Row) { return TOP + Row * FH; }

    TEditorColourer colourer{nullptr};
    TTestEditor editor;
    TPaintGeometry geometry;
    TPaintLook look;
    TPaintMarks marks;
    TPaintSelection selection;
};

TEST_F(EditorPaint, EmptyTextShowsEofAtColumnZero) {
    const TPaintPlan plan = Paint("");
    const auto eof = Texts(plan, "[EOF]");
    ASSERT_EQ(eof.size(), 1u);
    EXPECT_EQ(eof[0].X, LEFT);
    EXPECT_EQ(eof[0].Y, TOP);
    EXPECT_TRUE(eof[0].FillRect);
    EXPECT_EQ(eof[0].Rect, (TRect{LEFT, TOP, LEFT + 6 * CW, TOP + FH}));
    EXPECT_EQ(eof[0].Color, clBlack); // clNone: the font's colour
    EXPECT_EQ(eof[0].BkColor, clWhite);
    // Hidden, it is not drawn.
    marks.Eof.Visible = false;
    EXPECT_TRUE(Texts(Paint(""), "[EOF]").empty());
}

TEST_F(EditorPaint, FinalLineBreakShowsItsMarkAndEofOnTheNextRow) {
    const TPaintPlan plan = Paint("ab\r\n");
    const auto eof = Texts(plan, "[EOF]");
    ASSERT_EQ(eof.size(), 1u);
    EXPECT_EQ(eof[0].X, LEFT);
    EXPECT_EQ(eof[0].Y, RowTop(1));
    // The line-break arrow after "ab": a stem at the cell's middle and two strokes.
    const auto lines = OfKind(plan, poLines);
    ASSERT_EQ(lines.size(), 2u);
    const int cx = LEFT + 2 * CW + CW / 2, d = FH / 8;
    EXPECT_EQ(lines[0].Points, (std::vector<std::pair<int, int>>{{cx, TOP + 2 * d}, {cx, TOP + FH - 2 * d}}));
    EXPECT_EQ(lines[1].Points,
              (std::vector<std::pair<int, int>>{
                  {cx - 3, TOP + FH - 2 * d - 3}, {cx, TOP + FH - 2 * d}, {cx + 3, TOP + FH - 2 * d - 3}}));
    EXPECT_EQ(lines[0].Color, clRed);
}

TEST_F(EditorPaint, TextWithoutFinalLineBreakShowsEofAfterItsLastCharacter) {
    const TPaintPlan plan = Paint("ab\r\ncde");
    const auto eof = Texts(plan, "[EOF]");
    ASSERT_EQ(eof.size(), 1u);
    EXPECT_EQ(eof[0].X, LEFT + 3 * CW);
    EXPECT_EQ(eof[0].Y, RowTop(1));
}

TEST_F(EditorPaint, LongRowIsCutAtColumnThousandWithTheHiddenTextMark) {
    const TPaintPlan plan = Paint(std::string(1200, 'a'));
    const auto texts = OfKind(plan, poText);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].Text.size(), 1000u);
    EXPECT_EQ(texts[0].X, LEFT);
    const auto lines = OfKind(plan, poLines);
    ASSERT_EQ(lines.size(), 1u);
    const int x1 = LEFT + 1001 * CW, cy = TOP + FH / 2, d = CW * 3 / 5;
    EXPECT_EQ(lines[0].Points,
              (std::vector<std::pair<int, int>>{{x1 - d, cy - d}, {x1, cy}, {x1 - d - 1, cy + d + 1}}));
    EXPECT_TRUE(Texts(plan, "[EOF]").empty());
}

// Without word wrap a long row is parsed where it lies: a quoted text that starts before column 1000
// and ends far beyond it is coloured as such and cut at the column, with or without a tab (which
// expands the row first); the row hook gets the painted columns.
TEST_F(EditorPaint, ALongRowWithoutWordWrapColoursItsTokensUpToColumnThousand) {
    colourer.SetQuotation("'");
    colourer.Colors().Str().SetColor(clRed);
    for (const std::string& lead : {std::string(990, 'a'), "\t" + std::string(982, 'a')}) {
        SCOPED_TRACE(lead.substr(0, 1));
        const std::string row = lead + " 'quoted" + std::string(3000, 'q') + "' 12 'x'";
        const TPaintPlan plan = Paint(row + "\r\nnext\r\n");
        std::vector<TPaintOp> red;
        for (const TPaintOp& op : OfKind(plan, poText))
            if (op.Color == clRed) red.push_back(op);
        ASSERT_EQ(red.size(), 1u);
        EXPECT_EQ(red[0].X, LEFT + 991 * CW);
        EXPECT_EQ(red[0].Text, "'quotedqq");
        const auto hooks = OfKind(plan, poDrawLine);
        ASSERT_EQ(hooks.size(), 2u);
        EXPECT_EQ(hooks[0].Text, Expand(row).substr(0, 1000));
    }
}

TEST_F(EditorPaint, DoubleByteCharacterAtColumn999ReachesColumn1001) {
    const std::string row = std::string(999, 'a') + Utf8ToCp932("あ") + std::string(50, 'b');
    const TPaintPlan plan = Paint(row);
    const auto texts = OfKind(plan, poText);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].Text, row.substr(0, 1001));
    const auto lines = OfKind(plan, poLines);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points[1].first, LEFT + 1002 * CW); // the mark's tip one cell after column 1001
    EXPECT_EQ(PaintedLength(row), 1001);
    EXPECT_EQ(PaintedLength(std::string(1000, 'a') + Utf8ToCp932("あ")), 1000);
    EXPECT_EQ(PaintedLength("abc"), 3);
}

TEST_F(EditorPaint, ColouredTokensArePaintedOverTheBackgroundPass) {
    colourer.Colors().Int().SetColor(clRed);
    colourer.Colors().Int().SetBkColor(clYellow);
    const TPaintPlan plan = Paint("ab 123 cd");
    const auto whole = Texts(plan, "ab 123 cd");
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_TRUE(whole[0].FillRect);
    const auto number = Texts(plan, "123");
    ASSERT_EQ(number.size(), 1u);
    EXPECT_EQ(number[0].X, LEFT + 3 * CW);
    EXPECT_EQ(number[0].Color, clRed);
    EXPECT_EQ(number[0].BkColor, clYellow);
    EXPECT_FALSE(number[0].FillRect);
    // Tokens in the default colours are not drawn again.
    EXPECT_TRUE(Texts(plan, "ab").empty());
}

TEST_F(EditorPaint, ItalicModeDrawsEveryTokenTransparently) {
    look.ItalicMode = true;
    colourer.Colors().Int().SetColor(clRed);
    const TPaintPlan plan = Paint("ab 123");
    EXPECT_TRUE(Texts(plan, "ab 123").empty()); // the background pass only fills
    const auto ab = Texts(plan, "ab");
    ASSERT_EQ(ab.size(), 1u);
    EXPECT_EQ(ab[0].BkColor, clNone);
    const auto number = Texts(plan, "123");
    ASSERT_EQ(number.size(), 1u);
    EXPECT_EQ(number[0].BkColor, clNone);
    EXPECT_EQ(number[0].Color, clRed);
}

TEST_F(EditorPaint, UnsetSelectionColoursShowTheTextInverted) {
    selection.Drawn = true;
    selection.StartRow = selection.EndRow = 0;
    selection.StartCol = 1;
    selection.EndCol = 3;
    const TPaintPlan plan = Paint("abcdef");
    const auto texts = Texts(plan, "abcdef");
    // Plain part, selected part, plain part: each the whole row clipped to its columns.
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].Rect.Left, LEFT + CW);
    EXPECT_EQ(texts[1].Rect.Right, LEFT + 3 * CW);
    EXPECT_EQ(texts[1].Color, clWhite);
    EXPECT_EQ(texts[1].BkColor, clBlack);
    EXPECT_EQ(texts[0].Color, clBlack);
    EXPECT_EQ(texts[2].Rect.Left, LEFT + 3 * CW);
    // Set colours are used as they are; a hit uses its own.
    look.SelectColor = clYellow;
    look.SelectBkColor = clNavy;
    EXPECT_EQ(Texts(Paint("abcdef"), "abcdef")[1].BkColor, clNavy);
    selection.Hit = true;
    look.HitBkColor = clGreen;
    EXPECT_EQ(Texts(Paint("abcdef"), "abcdef")[1].BkColor, clGreen);
}

TEST_F(EditorPaint, BoxSelectionStopsAtTheRowEnd) {
    // Box from column 3 to 6 over a 4-character row: columns 3 and 4... of which only 3 exists.
    selection.Drawn = selection.Box = true;
    selection.StartRow = 0;
    selection.EndRow = 1;
    selection.StartCol = 3;
    selection.EndCol = 6;
    const TPaintPlan plan = Paint("abcd\r\nabcdefgh");
    const auto row0 = Texts(plan, "abcd");
    ASSERT_EQ(row0.size(), 3u);
    EXPECT_EQ(row0[1].Rect, (TRect{LEFT + 3 * CW, TOP, LEFT + 4 * CW, TOP + FH}));
    EXPECT_EQ(row0[1].BkColor, clBlack);
    EXPECT_EQ(row0[2].Rect.Left, LEFT + 4 * CW);
    const auto row1 = Texts(plan, "abcdefgh");
    ASSERT_EQ(row1.size(), 3u);
    EXPECT_EQ(row1[1].Rect, (TRect{LEFT + 3 * CW, RowTop(1), LEFT + 6 * CW, RowTop(1) + FH}));
}

TEST_F(EditorPaint, BoxEdgesOnASecondHalfMoveRight) {
    selection.Drawn = selection.Box = true;
    selection.StartCol = 2; // the second half of あ at columns 1-2
    selection.EndCol = 4;
    const std::string row = "a" + Utf8ToCp932("あい");
    const auto texts = Texts(Paint(row), row);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].Rect.Left, LEFT + 3 * CW);
    EXPECT_EQ(texts[1].Rect.Right, LEFT + 5 * CW);
}

TEST_F(EditorPaint, StreamSelectionOverSeveralRows) {
    selection.Drawn = true;
    selection.StartRow = 0;
    selection.EndRow = 2;
    selection.StartCol = 2;
    selection.EndCol = 1;
    const TPaintPlan plan = Paint("aaaa\r\nbbbb\r\ncccc");
    const auto a = Texts(plan, "aaaa"), b = Texts(plan, "bbbb"), c = Texts(plan, "cccc");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[1].Rect.Left, LEFT + 2 * CW);
    EXPECT_EQ(a[1].Rect.Right, geometry.ClientWidth);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].BkColor, clBlack);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].Rect.Right, LEFT + CW);
    EXPECT_EQ(c[0].BkColor, clBlack);
    EXPECT_EQ(c[1].BkColor, clWhite);
}

TEST_F(EditorPaint, WrappedRowShowsTheWrapMarkAndTheHookGetsTheNextRow) {
    look.WordWrap = true;
    editor.ScreenStrings().SetWordWrap(true);
    editor.ScreenStrings().WrapOption().SetWrapByte(20);
    const std::string text = std::string(25, 'x');
    const TPaintPlan plan = Paint(text);
    ASSERT_EQ(editor.ScreenStrings().Count(), 2);
    const auto lines = OfKind(plan, poLines);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points[0].first, LEFT + 21 * CW);
    const auto hooks = OfKind(plan, poDrawLine);
    ASSERT_EQ(hooks.size(), 2u);
    EXPECT_EQ(hooks[0].Text, text);
    EXPECT_EQ(hooks[1].Row, 1);
}

// What a plan draws of the rows: their texts and tokens, and the row hooks.
std::vector<std::string> Drawn(const TPaintPlan& Plan) {
    std::vector<std::string> drawn;
    for (const TPaintOp& op : Plan)
        if (op.Kind == poText || op.Kind == poDrawLine)
            drawn.push_back(std::to_string(op.Kind) + " " + std::to_string(op.Row) + " " + std::to_string(op.X) + "," +
                            std::to_string(op.Y) + " " + std::to_string(op.Rect.Left) + "-" +
                            std::to_string(op.Rect.Right) + " " + std::to_string(op.Color) + "/" +
                            std::to_string(op.BkColor) + "/" + std::to_string(op.Style) + " " + op.Text);
    return drawn;
}

TEST_F(EditorPaint, RowsDeepInsideALongWrappedLinePaintAsEachAlone) {
    // A long line whose numbers, quoted texts and addresses the wrap cuts, with tabs that make rows
    // longer painted than stored, and a selection that paints rows in parts.
    look.WordWrap = true;
    editor.ScreenStrings().SetWordWrap(true);
    editor.ScreenStrings().WrapOption().SetWrapByte(9);
    colourer.Colors().Int().SetColor(clRed);
    colourer.Colors().Str().SetColor(clBlue);
    colourer.Colors().Url().SetColor(clGreen);
    colourer.SetQuotation("\"");
    colourer.SetUrl(true);
    std::string line;
    for (int i = 0; i < 300; ++i) line += "ab 1234567 \"quoted, text\"\thttp://a.b/cd \t\t";
    editor.Lines.SetText(line + "\r\nnext");
    geometry.TopRow = editor.ScreenStrings().Count() / 2;
    selection.Drawn = true;
    selection.StartRow = geometry.TopRow + 3;
    selection.StartCol = 4;
    selection.EndRow = geometry.TopRow + 5;
    selection.EndCol = 2;
    TEditorPainter painter(editor.ScreenStrings(), colourer, marks, geometry, look, selection, Expand);
    TPaintPlan screen;
    painter.PaintText({0, 0, geometry.ClientWidth, geometry.ClientHeight}, screen);
    // Each row alone, by a painter of its own, is parsed with the rest of its line joined afresh.
    TPaintPlan alone;
    for (int row = 0; row < 10; ++row) {
        TEditorPainter single(editor.ScreenStrings(), colourer, marks, geometry, look, selection, Expand);
        single.PaintText({0, RowTop(row), geometry.ClientWidth, RowTop(row + 1)}, alone);
    }
    EXPECT_EQ(Drawn(screen), Drawn(alone));
    for (TColor color : {clRed, clBlue, clGreen})
        EXPECT_TRUE(std::any_of(screen.begin(), screen.end(), [&](const TPaintOp& op) { return op.Color == color; }));
}

TEST_F(EditorPaint, RepaintCoversTheRowsOfTheRectangleOnly) {
    // Rows 1 and 2 of a 4-row text, from the middle of a cell: aligned to the cell and the rows.
    editor.Lines.SetText("r0\r\nr1\r\nr2\r\nr3");
    TEditorPainter painter(editor.ScreenStrings(), colourer, marks, geometry, look, selection, Expand);
    TPaintPlan plan;
    painter.PaintText({LEFT + CW + 3, RowTop(1) + 2, LEFT + 40, RowTop(2) + 3}, plan);
    const auto texts = OfKind(plan, poText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "r1");
    EXPECT_EQ(texts[0].Rect.Left, LEFT + CW);
    EXPECT_EQ(texts[1].Text, "r2");
    // Scrolled: the top row moves the rows up, the top column moves column 0 left of the text.
    geometry.TopRow = 2;
    geometry.TopCol = 1;
    TEditorPainter scrolled(editor.ScreenStrings(), colourer, marks, geometry, look, selection, Expand);
    plan.clear();
    scrolled.PaintText({0, 0, geometry.ClientWidth, RowTop(1)}, plan);
    const auto top = OfKind(plan, poText);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].Text, "r2");
    EXPECT_EQ(top[0].X, LEFT - CW);
}

TEST_F(EditorPaint, CaretRowUnderline) {
    marks.Underline.Color = clBlue;
    editor.Lines.SetText("a");
    TEditorPainter painter(editor.ScreenStrings(), colourer, marks, geometry, look, selection, Expand);
    EXPECT_EQ(painter.UnderlineY(0), TOP + FH);
    EXPECT_EQ(painter.UnderlineY(-1), -1);
    EXPECT_EQ(painter.UnderlineY(20), -1);
    TPaintPlan plan;
    painter.DrawUnderline(1, false, plan);
    painter.DrawUnderline(1, true, plan);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].Points,
              (std::vector<std::pair<int, int>>{{LEFT, TOP + 2 * FH}, {geometry.ClientWidth - 1, TOP + 2 * FH}}));
    EXPECT_EQ(plan[0].Color, clBlue);
    EXPECT_EQ(plan[1].Color, clWhite);
}

} // namespace
} // namespace quillon
