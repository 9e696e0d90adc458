// TEditorEx: the visible marks over blanks, tabs and the find string's matches.
#include "EditorEx.h"

#include "ColumnLayout.h"
#include "EditorUtils.h"

#include <algorithm>

namespace quillon {

namespace {

// The rectangle's outline (right and bottom edges excluded) as one polyline.
void FrameRect(int Left, int Top, int Right, int Bottom, TColor Color, TPaintPlan& Plan) {
    if (Right <= Left || Bottom <= Top) return;
    TPaintOp op;
    op.Kind = poLines;
    op.Color = Color;
    op.Points = {{Left, Top}, {Right - 1, Top}, {Right - 1, Bottom - 1}, {Left, Bottom - 1}, {Left, Top}};
    Plan.push_back(std::move(op));
}

void Polyline(std::vector<std::pair<int, int>> Points, TColor Color, TPaintPlan& Plan) {
    TPaintOp op;
    op.Kind = poLines;
    op.Color = Color;
    op.Points = std::move(Points);
    Plan.push_back(std::move(op));
}

} // namespace

// ---- Painting

std::vector<int> TEditorEx::ByteXs(std::string_view S, int Origin) const {
    const TColumnLayout layout = ColumnLayout();
    const int w = CharWidth();
    std::vector<int> xs(S.size() + 1);
    int col = 0;
    for (std::size_t i = 0; i < S.size(); ++i) {
        xs[i] = Origin + w * col;
        if (S[i] == '\t')
            col = quillon::DisplayWidth(std::string(static_cast<std::size_t>(col), ' ') + '\t', layout);
        else
            ++col; // each byte of a double-byte character is one column
    }
    xs[S.size()] = Origin + w * col;
    return xs;
}

void TEditorEx::DoDrawLine(const TPaintOp& Row, TPaintPlan& Plan) {
    TEditor::DoDrawLine(Row, Plan);
    const TEditorExMarks& m = *FExMarks;
    if (!Host() ||
        !(m.DBSpaceMark().Visible() || m.SpaceMark().Visible() || m.TabMark().Visible() || m.FindMark().Visible()))
        return;
    // No mark is drawn past column kMaxColumns, and every byte takes a column or more: a row of
    // megabytes without word wrap is measured only as far as it shows.
    const std::string s(RowView(Row.Row).substr(0, kMaxColumns + 2));
    const std::vector<int> xs = ByteXs(s, Row.X);
    const int right = std::min(Row.Rect.Right, Row.X + kMaxColumns * CharWidth());
    DrawBlankMarks(Row, s, xs, right, Plan);
    if (m.FindMark().Visible()) {
        try {
            DrawFindMarks(Row, s, xs, right, Plan);
        } catch (const ERegExpParser&) {
            // A bad pattern marks nothing; the caller of a search reports it.
        }
    }
}

void TEditorEx::DrawBlankMarks(const TPaintOp& Row, const std::string& S, const std::vector<int>& Xs, int Right,
                               TPaintPlan& Plan) {
    const TEditorExMarks& m = *FExMarks;
    const int left = Row.Rect.Left, w = CharWidth();
    auto inside = [&](int x) { return left <= x && x < Right; };
    for (std::size_t i = 0; i < S.size(); i += CharLength(S, i)) {
        const int x = Xs[i];
        if (CharLength(S, i) == 2) {
            if (DoubleByteCode(S, i) != 0x8140 || !m.DBSpaceMark().Visible()) continue;
            if (inside(x))
                DrawDBSpaceMark(x, Row.Y, true, Plan);
            else if (inside(x + w))
                DrawDBSpaceMark(x, Row.Y, false, Plan);
        } else if (S[i] == ' ' && m.SpaceMark().Visible() && inside(x)) {
            DrawSpaceMark(x, Row.Y, Plan);
        } else if (S[i] == '\t' && m.TabMark().Visible() && inside(x)) {
            DrawTabMark(x, Row.Y, Plan);
        }
    }
}

void TEditorEx::DrawFindMarks(const TPaintOp& Row, const std::string& S, const std::vector<int>& Xs, int Right,
                              TPaintPlan& Plan) {
    const int left = Row.Rect.Left;
    int first = 0;
    const TFindMatchList& matches = RowFindMatches(Row.Row, first);
    first += CaretStringIndex(Row.Row, 0);
    const int last = first + static_cast<int>(S.size()) - 1;
    // The matches lie in order and apart, so their ends are in order too: a row of a long line looks
    // only at its own.
    const auto from = std::partition_point(matches.begin(), matches.end(),
                                           [first](const TFindMatch& m) { return m.Position + m.Length - 1 < first; });
    for (auto it = from; it != matches.end() && it->Position <= last; ++it) {
        const TFindMatch& match = *it;
        const int end = match.Position + match.Length - 1;
        // Xs holds the x before each 0-based byte of the row.
        int x1 = Xs[static_cast<std::size_t>(std::max(match.Position, first) - first)];
        int x2 = Xs[static_cast<std::size_t>(std::min(end, last) - first + 1)];
        if (x1 < left && left <= x2) x1 = left;
        if (x1 <= Right && Right < x2) x2 = Right;
        if (x1 >= left && x2 <= Right) DrawFindMark(x1, x2, Row.Y, Plan);
    }
}

// A plain pattern that no proper prefix of ends with (no occurrence of it can overlap another) is
// found at every occurrence that starts a character, wherever the search of its line starts: the
// matches around a wrapped row are those of the few rows around it, searched from a row's start (a
// character's) as far as a match that reaches the row, or a whole-word look at its neighbours,
// reads. Any other find string is collected for the whole logical line, once per change of the text
// or of the find string. So a keystroke in a long wrapped line searches a screen's rows for its
// repaint, not the line.
const TFindMatchList& TEditorEx::RowFindMatches(int Row, int& First) {
    const std::string pattern = SearchPattern();
    const std::string_view p = pattern;
    bool overlaps = false;
    for (std::size_t k = 1; k < p.size() && !overlaps; ++k) overlaps = p.substr(0, k) == p.substr(p.size() - k);
    if (!WordWrap() || (FSearchOptions & sfoRegExp) || overlaps) {
        CollectFindMatches(Row);
        First = MatchesRowStart(Row) + 1;
        return FMatches;
    }
    const std::size_t reach = p.size() + 2;
    int top = Row;
    std::size_t before = 0;
    while (before < reach && top > 0 && GetRowAttribute(top - 1) == raWrapped) before += RowView(--top).size();
    FRowsText.clear();
    for (int r = top; r <= Row; ++r) FRowsText += RowView(r);
    const std::size_t rowEnd = FRowsText.size();
    for (int r = Row; FRowsText.size() - rowEnd < reach && GetRowAttribute(r) == raWrapped && HasRow(r + 1);)
        FRowsText += RowView(++r);
    FRowMatches.clear();
    CollectLineMatches(FRowsText, false, pattern, FRowMatches);
    First = static_cast<int>(before) + 1;
    return FRowMatches;
}

int TEditorEx::MatchesRowStart(int Row) {
    if (Row < FMatchesRow) {
        FMatchesRow = FMatchesFirst;
        FMatchesRowStart = 0;
    }
    // The rows above Row in its line are wrapped ones: each counts its length.
    for (; FMatchesRow < Row; ++FMatchesRow)
        FMatchesRowStart += static_cast<int>(ScreenStrings().RowText(FMatchesRow).size());
    return FMatchesRowStart;
}

void TEditorEx::DrawDBSpaceMark(int X, int Y, bool Whole, TPaintPlan& Plan) {
    const int w = CharWidth(), h = FontHeight();
    const TColor color = FExMarks->DBSpaceMark().Color();
    if (Whole)
        FrameRect(X, Y + 1, X + 2 * w - 1, Y + h - 2, color, Plan);
    else
        Polyline({{X + w, Y + 1}, {X + 2 * w - 2, Y + 1}, {X + 2 * w - 2, Y + h - 3}, {X + w - 1, Y + h - 3}}, color,
                 Plan);
}

void TEditorEx::DrawSpaceMark(int X, int Y, TPaintPlan& Plan) {
    FrameRect(X, Y + 1, X + CharWidth() - 1, Y + FontHeight() - 2, FExMarks->SpaceMark().Color(), Plan);
}

void TEditorEx::DrawTabMark(int X, int Y, TPaintPlan& Plan) {
    const int h = FontHeight();
    const int m = Y + h / 2, d = std::max(3, h / 8), r = X + CharWidth() - 1;
    const TColor color = FExMarks->TabMark().Color();
    Polyline({{X + 1, m}, {r, m}, {r - d, m - d}}, color, Plan);
    Polyline({{r, m}, {r - d, m + d}}, color, Plan);
}

void TEditorEx::DrawFindMark(int X1, int X2, int Y, TPaintPlan& Plan) {
    // A one-pixel line along the row's bottom pixel line, X1 up to the pixel before X2 - 1.
    if (X2 - 1 <= X1) return;
    TPaintOp op;
    op.Kind = poFill;
    op.Rect = {X1, Y + FontHeight() - 1, X2 - 1, Y + FontHeight()};
    op.BkColor = FExMarks->FindMark().Color();
    Plan.push_back(std::move(op));
}
} // namespace quillon
