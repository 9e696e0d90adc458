#include "EditorPaint.h"

#include "Cp932.h"
#include "EditorUtils.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int MaxColumns = 1000;

// Floor division for positions left of or above an origin.
int FloorDiv(int A, int B) { return A >= 0 ? A / B : -((-A + B - 1) / B); }

// The token's colour over a default: clNone keeps the default.
TColor Over(TColor Token, TColor Default) { return Token == clNone ? Default : Token; }

} // namespace

TPaintOp FillOp(const TRect& Rect, TColor Color) {
    TPaintOp op;
    op.Kind = poFill;
    op.Rect = Rect;
    op.BkColor = Color;
    return op;
}

int PaintedLength(std::string_view S) {
    const int length = static_cast<int>(S.size());
    if (length <= MaxColumns) return length;
    return IsDBCSLeadAt(S, MaxColumns - 1) ? MaxColumns + 1 : MaxColumns;
}

TEditorPainter::TEditorPainter(TEditorScreenStrings& Rows, TColourer& Colourer, const TPaintMarks& Marks,
                               const TPaintGeometry& Geometry, const TPaintLook& Look, const TPaintSelection& Selection,
                               std::function<std::string(std::string_view)> ExpandTabs)
    : FRows(Rows), FColourer(Colourer), FMarks(Marks), FGeometry(Geometry), FLook(Look), FSelection(Selection),
      FExpandTabs(std::move(ExpandTabs)) {}

int TEditorPainter::ColumnX(int Col) const {
    return std::max(FGeometry.TextLeft, (Col - FGeometry.TopCol) * FGeometry.CharWidth + FGeometry.TextLeft);
}

void TEditorPainter::PaintText(const TRect& Rect, TPaintPlan& Plan) {
    const TPaintGeometry& g = FGeometry;
    const TRect area = Intersect(Rect, {g.TextLeft, g.TextTop, g.ClientWidth, g.ClientHeight});
    if (area.IsEmpty()) return;
    // Between the rows (the line margin) nothing else paints.
    Plan.push_back(FillOp(area, FLook.Color));
    const int left = g.TextLeft + FloorDiv(area.Left - g.TextLeft, g.CharWidth) * g.CharWidth;
    const int top = g.TextTop + (area.Top - g.TextTop) / g.RowHeight * g.RowHeight;
    const int bottom = g.TextTop + (area.Bottom - g.TextTop + g.RowHeight - 1) / g.RowHeight * g.RowHeight;
    const int first = g.TopRow + (top - g.TextTop) / g.RowHeight;
    const int last = first + (bottom - top) / g.RowHeight - 1;
    const int height = g.FontHeight + (FSelection.CoverUnderline ? g.UnderlineSpace : 0);
    const int x = g.TextLeft - g.TopCol * g.CharWidth;
    const int count = FRows.Count();
    std::unique_ptr<TColourerParser> parser = FColourer.CreateParser();
    TRect rowRect{left, top, area.Right, top + height};
    for (int row = first; row <= last; ++row) {
        if (row < count) {
            // A row without tabs is painted where it lies (a long line is not copied for a paint).
            std::string expanded;
            std::string_view s = FRows.Get(row);
            if (s.find('\t') != std::string_view::npos) s = expanded = FExpandTabs(s);
            if (FSelection.Drawn)
                DrawRowWithSelection(rowRect, x, *parser, row, s, rowRect.Top, Plan);
            else
                DrawRow(rowRect, x, *parser, row, s, rowRect.Top, Plan);
        } else {
            Plan.push_back(FillOp(rowRect, FLook.Color));
            if (row == count && FMarks.Eof.Visible && (count == 0 || FRows.RowAttribute(count - 1) == raLineBreak))
                DrawEof(x, rowRect.Top, Plan);
        }
        rowRect.Top += g.RowHeight;
        rowRect.Bottom += g.RowHeight;
    }
}

void TEditorPainter::DrawRow(const TRect& Rect, int X, TColourerParser& Parser, int Row, std::string_view S, int Y,
                             TPaintPlan& Plan) {
    PaintRow(Rect, X, Parser, Row, S, Y, false, Plan);
}

void TEditorPainter::DrawRowSelected(const TRect& Rect, int X, TColourerParser& Parser, int Row, std::string_view S,
                                     int Y, TPaintPlan& Plan) {
    PaintRow(Rect, X, Parser, Row, S, Y, true, Plan);
}

void TEditorPainter::PaintRow(const TRect& Rect, int X, TColourerParser& Parser, int Row, std::string_view S, int Y,
                              bool Selected, TPaintPlan& Plan) {
    // Lazy colouring (RowStates.h): a row's state is computed when it is first painted, or taken
    // provisionally when the row lies far below the computed ones.
    const TRowAttributeData state = FRows.PaintRowState(Row);
    const TColor bk = Selected ? SelectBkColor() : FLook.Color;
    const TColor fg = Selected ? SelectTextColor() : FLook.FontColor;
    if (FLook.ItalicMode)
        Plan.push_back(FillOp(Rect, bk));
    else
        TextOut(Rect, X, true, S, Y, fg, bk, FLook.FontStyle, Plan);
    TokenPass(Rect, X, Parser, Row, state, S, Y, Selected, Plan);
    EndOfRowMark(Rect, X, Row, S, Y, Selected, Plan);
}

void TEditorPainter::TokenPass(const TRect& Rect, int X, TColourerParser& Parser, int Row,
                               const TRowAttributeData& State, std::string_view S, int Y, bool Selected,
                               TPaintPlan& Plan) {
    const TPaintGeometry& g = FGeometry;
    const int length = static_cast<int>(S.size());
    const int painted = std::min(length, PaintedLength(S));
    const bool wrapped = FLook.WordWrap && FRows.RowAttribute(Row) == raWrapped;
    if ((length + 5) * g.CharWidth >= g.TopCol * g.CharWidth) {
        int limit = std::min(X + MaxColumns * g.CharWidth, Rect.Right);
        if (wrapped) limit = std::min(limit, X + length * g.CharWidth);
        // A wrapped row's last token may need more of the rest of its line: the row is parsed again
        // with a longer window, its tokens' operations replaced.
        const std::size_t planned = Plan.size();
        for (std::size_t ahead = TLineWindow::MinAhead;; ahead *= 2) {
            Plan.erase(Plan.begin() + static_cast<std::ptrdiff_t>(planned), Plan.end());
            const char* text = ParsedText(Row, S, ahead);
            Parser.NewData(text, State);
            TokensOut(Rect, X, Parser, text, painted, limit, Y, Selected, Plan);
            if (!wrapped || FLine.Covers(static_cast<std::size_t>(Parser.SourcePos() + Parser.TokenLength()))) break;
        }
    }
    TPaintOp hook;
    hook.Kind = poDrawLine;
    hook.Rect = Rect;
    hook.X = X;
    hook.Y = Y;
    hook.Text = S.substr(0, static_cast<std::size_t>(PaintedLength(S)));
    if (wrapped && Row + 1 < FRows.Count()) hook.Text += FRows.RowText(Row + 1);
    hook.Selected = Selected;
    hook.Row = Row;
    Plan.push_back(std::move(hook));
}

void TEditorPainter::TokensOut(const TRect& Rect, int X, TColourerParser& Parser, const char* Text, int Painted,
                               int Limit, int Y, bool Selected, TPaintPlan& Plan) const {
    const TPaintGeometry& g = FGeometry;
    const TColor selText = SelectTextColor(), selBk = SelectBkColor();
    while (Parser.NextToken() != tkEnd) {
        const int pos = Parser.SourcePos();
        if (pos >= Painted) break;
        const int x = X + pos * g.CharWidth;
        if (x > Limit) break;
        const int size = std::min(Parser.TokenLength(), Painted - pos);
        if (x + size * g.CharWidth <= g.TextLeft) continue;
        const TColourerColor* color = Parser.TokenColor();
        const TColor tokenBk = color ? Over(color->BkColor(), FLook.Color) : FLook.Color;
        const TColor tokenFg = color ? Over(color->Color(), FLook.FontColor) : FLook.FontColor;
        const TFontStyles style = color ? color->Style() : FLook.FontStyle;
        const std::string_view token(Text + pos, static_cast<std::size_t>(size));
        if (Selected) {
            if (FLook.ItalicMode)
                TextOut(Rect, x, false, token, Y, selText, clNone, style, Plan);
            else if (style != FLook.FontStyle)
                TextOut(Rect, x, false, token, Y, selText, selBk, style, Plan);
        } else if (FLook.ItalicMode) {
            TextOut(Rect, x, false, token, Y, tokenFg, tokenBk == FLook.Color ? clNone : tokenBk, style, Plan);
        } else if (tokenBk != FLook.Color || tokenFg != FLook.FontColor || style != FLook.FontStyle) {
            TextOut(Rect, x, false, token, Y, tokenFg, tokenBk, style, Plan);
        }
    }
}

const char* TEditorPainter::ParsedText(int Row, std::string_view S, std::size_t Ahead) {
    if (!FLook.WordWrap) return S.data();
    return FLine.Row(FRows, Row, S, Ahead);
}

void TEditorPainter::EndOfRowMark(const TRect& Rect, int X, int Row, std::string_view S, int Y, bool Selected,
                                  TPaintPlan& Plan) const {
    const int painted = PaintedLength(S);
    const bool cut = static_cast<int>(S.size()) > painted;
    const int x = X + std::min(static_cast<int>(S.size()), painted) * FGeometry.CharWidth;
    if (x >= Rect.Right) return;
    const int attribute = FRows.RowAttribute(Row);
    if (cut && FMarks.Hide.Visible)
        DrawHideMark(x, Y, MarkColor(FMarks.Hide, Selected), Plan);
    else if (Row == FRows.Count() - 1 && attribute == raEndOfText && FMarks.Eof.Visible) {
        if (!Selected) DrawEof(x, Y, Plan);
    } else if (attribute == raLineBreak && FMarks.Ret.Visible)
        DrawRetMark(x, Y, MarkColor(FMarks.Ret, Selected), Plan);
    else if (attribute == raWrapped && FMarks.Wrap.Visible)
        DrawWrapMark(x, Y, MarkColor(FMarks.Wrap, Selected), Plan);
}

void TEditorPainter::DrawRowWithSelection(const TRect& Rect, int X, TColourerParser& Parser, int Row,
                                          std::string_view S, int Y, TPaintPlan& Plan) {
    const TPaintSelection& sel = FSelection;
    if (Row < sel.StartRow || Row > sel.EndRow) {
        DrawRow(Rect, X, Parser, Row, S, Y, Plan);
        return;
    }
    struct Part {
        int From, To; // x
        bool Selected;
    };
    const int right = FGeometry.ClientWidth;
    std::vector<Part> parts;
    if (sel.Box) {
        // Edges at whole characters: an edge on a second half moves right.
        const int length = std::min(static_cast<int>(S.size()), PaintedLength(S));
        auto edge = [&](int col) {
            col = std::min(col, length);
            return col < length && IsDBCSTrailAt(S, col) ? col + 1 : col;
        };
        const int start = edge(sel.StartCol), end = edge(sel.EndCol);
        parts = {
            {ColumnX(0), ColumnX(start), false}, {ColumnX(start), ColumnX(end), true}, {ColumnX(end), right, false}};
    } else if (sel.StartRow == sel.EndRow) {
        parts = {{ColumnX(0), ColumnX(sel.StartCol), false},
                 {ColumnX(sel.StartCol), ColumnX(sel.EndCol), true},
                 {ColumnX(sel.EndCol), right, false}};
    } else if (Row == sel.StartRow) {
        parts = {{ColumnX(0), ColumnX(sel.StartCol), false}, {ColumnX(sel.StartCol), right, true}};
    } else if (Row == sel.EndRow) {
        parts = {{ColumnX(0), ColumnX(sel.EndCol), true}, {ColumnX(sel.EndCol), right, false}};
    } else {
        parts = {{ColumnX(0), right, true}};
    }
    for (const Part& part : parts) {
        const TRect clip = Intersect(Rect, {part.From, Rect.Top, part.To, Rect.Bottom});
        if (clip.IsEmpty()) continue;
        if (part.Selected)
            DrawRowSelected(clip, X, Parser, Row, S, Y, Plan);
        else
            DrawRow(clip, X, Parser, Row, S, Y, Plan);
    }
}

void TEditorPainter::TextOut(const TRect& Clip, int X, bool FillRect, std::string_view S, int Y, TColor Color,
                             TColor BkColor, TFontStyles Style, TPaintPlan& Plan) const {
    S = S.substr(0, static_cast<std::size_t>(PaintedLength(S)));
    TPaintOp op;
    op.Kind = poText;
    op.Rect = Clip;
    op.X = X;
    op.Y = Y;
    op.Text = std::string(S);
    op.Color = Color;
    op.BkColor = BkColor;
    op.Style = Style;
    op.FillRect = FillRect;
    Plan.push_back(std::move(op));
}

TColor TEditorPainter::SelectBkColor() const {
    return Over(FSelection.Hit ? FLook.HitBkColor : FLook.SelectBkColor, FLook.FontColor);
}

TColor TEditorPainter::SelectTextColor() const {
    return Over(FSelection.Hit ? FLook.HitColor : FLook.SelectColor, FLook.Color);
}

TColor TEditorPainter::MarkColor(const TPaintMark& Mark, bool Selected) const {
    return Selected ? SelectTextColor() : Over(Mark.Color, FLook.FontColor);
}

void TEditorPainter::Lines(std::vector<std::pair<int, int>> Points, TColor Color, TPaintPlan& Plan) const {
    TPaintOp op;
    op.Kind = poLines;
    op.Color = Color;
    op.Points = std::move(Points);
    Plan.push_back(std::move(op));
}

void TEditorPainter::DrawEof(int X, int Y, TPaintPlan& Plan) const {
    const TPaintGeometry& g = FGeometry;
    if (X < g.TextLeft) return;
    const TRect box = Intersect({X, Y, X + 6 * g.CharWidth, Y + g.FontHeight},
                                {g.TextLeft, g.TextTop, g.ClientWidth, g.ClientHeight});
    TextOut(box, X, true, "[EOF]", Y, Over(FMarks.Eof.Color, FLook.FontColor), FLook.Color, FLook.FontStyle, Plan);
}

void TEditorPainter::DrawRetMark(int X, int Y, TColor Color, TPaintPlan& Plan) const {
    if (X < FGeometry.TextLeft) return;
    const int fh = FGeometry.FontHeight;
    const int d = std::max(1, fh / 8), a = std::max(d, 3);
    const int cx = X + FGeometry.CharWidth / 2, bottom = Y + fh - 2 * d;
    Lines({{cx, Y + 2 * d}, {cx, bottom}}, Color, Plan);
    Lines({{cx - a, bottom - a}, {cx, bottom}, {cx + a, bottom - a}}, Color, Plan);
}

void TEditorPainter::DrawWrapMark(int X, int Y, TColor Color, TPaintPlan& Plan) const {
    if (X < FGeometry.TextLeft) return;
    const int x1 = X + FGeometry.CharWidth, cy = Y + FGeometry.FontHeight / 2;
    const int d = std::max(2, FGeometry.CharWidth * 3 / 5);
    Lines({{x1, cy - d}, {x1 - d, cy}, {x1 + 1, cy + d + 1}}, Color, Plan);
}

void TEditorPainter::DrawHideMark(int X, int Y, TColor Color, TPaintPlan& Plan) const {
    if (X < FGeometry.TextLeft) return;
    const int x1 = X + FGeometry.CharWidth, cy = Y + FGeometry.FontHeight / 2;
    const int d = std::max(2, FGeometry.CharWidth * 3 / 5);
    Lines({{x1 - d, cy - d}, {x1, cy}, {x1 - d - 1, cy + d + 1}}, Color, Plan);
}

int TEditorPainter::UnderlineY(int Row) const {
    const TPaintGeometry& g = FGeometry;
    const int y = g.TextTop + (Row - g.TopRow) * g.RowHeight + g.FontHeight;
    return y > g.TextTop && y < g.ClientHeight ? y : -1;
}

void TEditorPainter::DrawUnderline(int Row, bool Erase, TPaintPlan& Plan) const {
    const int y = UnderlineY(Row);
    if (y < 0) return;
    const TColor color = Erase ? FLook.Color : Over(FMarks.Underline.Color, FLook.FontColor);
    Lines({{FGeometry.TextLeft, y}, {FGeometry.ClientWidth - 1, y}}, color, Plan);
}

} // namespace quillon
