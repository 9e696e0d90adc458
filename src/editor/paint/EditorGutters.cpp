#include "EditorGutters.h"

#include <algorithm>

namespace quillon {

const std::array<std::array<std::uint8_t, 7>, DigitGlyphHeight> DigitGlyphMask = {{
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xCE, 0xF3, 0x9E, 0xC3, 0x30, 0xCE, 0x7F},
    {0xB4, 0xED, 0x6C, 0xDE, 0xDE, 0xB5, 0xBF},
    {0xB6, 0xFD, 0xEC, 0xC6, 0xFD, 0xB5, 0xBF},
    {0xB6, 0xFB, 0xDA, 0xDA, 0x3D, 0xCE, 0x3F},
    {0xB6, 0xF7, 0xE8, 0x7A, 0xDB, 0xB7, 0xBF},
    {0xB6, 0xEF, 0x6E, 0xDA, 0xDB, 0xB5, 0xBF},
    {0xCE, 0xE1, 0x9E, 0xE7, 0x3B, 0xCE, 0x7F},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
}};

bool DigitGlyphInk(int X, int Y) {
    const std::uint8_t byte = DigitGlyphMask[static_cast<std::size_t>(Y)][static_cast<std::size_t>(X / 8)];
    return (byte & (0x80 >> (X % 8))) == 0;
}

int ImagebarWidth(bool Visible, int LeftMargin, int DigitWidth, int MarkWidth, int RightMargin) {
    return Visible ? LeftMargin + DigitWidth + MarkWidth + RightMargin : 0;
}

namespace {

// The lowest set bit of Marks among bits First..Last, counted from First; -1 when none.
int LowestMark(std::uint16_t Marks, int First, int Last) {
    for (int bit = First; bit <= Last; ++bit)
        if (Marks & (1u << bit)) return bit - First;
    return -1;
}

int DecimalDigits(int Value) {
    int digits = 1;
    for (; Value >= 10; Value /= 10) ++digits;
    return digits;
}

// Attribute of a row; rows outside the text read as the end of the text.
int AttributeOf(const TRowAttributeStringList& Rows, int Row) {
    return Row >= 0 && Row < Rows.Count() ? Rows.RowAttribute(Row) : raEndOfText;
}

} // namespace

int ImagebarDigit(std::uint16_t Marks) { return LowestMark(Marks, 0, 9); }

int ImagebarMark(std::uint16_t Marks) { return LowestMark(Marks, 10, 15); }

int RowToLine(const TRowAttributeStringList& Rows, int Row) {
    int line = 0;
    const int last = std::min(Row, Rows.Count());
    for (int r = 0; r < last; ++r)
        if (Rows.RowAttribute(r) == raLineBreak) ++line;
    return line;
}

int LeftbarDigits(const TRowAttributeStringList& Rows, const TLeftbarNumbering& Numbering) {
    const int last = Rows.Count() - 1;
    int n = Numbering.ByLine ? RowToLine(Rows, last) : last;
    if (!Numbering.ZeroBase) ++n;
    if (AttributeOf(Rows, last) != raEndOfText) ++n;
    return std::min(8, std::max(Numbering.Column, DecimalDigits(std::max(0, n))));
}

int LeftbarWidth(bool Visible, int LeftMargin, int Digits, int CharWidth, int RightMargin) {
    return Visible ? LeftMargin + Digits * CharWidth + RightMargin + 2 : 0;
}

std::vector<int> LeftbarNumbers(const TRowAttributeStringList& Rows, int FromRow, int ToRow,
                                const TLeftbarNumbering& Numbering) {
    std::vector<int> numbers;
    const int count = Rows.Count();
    const int base = Numbering.ZeroBase ? 0 : 1;
    // The empty row after a final line break is numbered too.
    const bool rowAfterText = count > 0 && Rows.RowAttribute(count - 1) != raEndOfText;
    if (!Numbering.ByLine) {
        for (int r = FromRow; r <= ToRow; ++r) {
            const bool numbered = r == 0 || (r >= 0 && r < count) || (r == count && rowAfterText);
            numbers.push_back(numbered ? r + base : -1);
        }
        return numbers;
    }
    const int first = std::max(0, FromRow);
    int n = 0;
    if (first > 0) {
        if (first < count)
            n = RowToLine(Rows, first);
        else if (first == count && Rows.RowAttribute(count - 1) == raLineBreak)
            n = RowToLine(Rows, first - 1) + 1;
        else
            n = -1;
        if (AttributeOf(Rows, first - 1) != raLineBreak) ++n;
    }
    for (int r = FromRow; r < first; ++r) numbers.push_back(-1);
    for (int r = first; r <= ToRow; ++r) {
        if (r != 0 && AttributeOf(Rows, r - 1) != raLineBreak) {
            numbers.push_back(-1);
            continue;
        }
        numbers.push_back(n + base);
        ++n;
    }
    return numbers;
}

std::string LeftbarText(int Number, int Digits, bool ZeroLead) {
    std::string text = std::to_string(Number);
    if (static_cast<int>(text.size()) < Digits)
        text.insert(0, static_cast<std::size_t>(Digits) - text.size(), ZeroLead ? '0' : ' ');
    return text;
}

int RulerHeight(bool Visible, bool Edge) { return !Visible ? 0 : Edge ? 11 : 10; }

int RulerBitmapWidth(int ScreenWidth, int GaugeRange, int CharWidth) {
    const int period = GaugeRange * CharWidth;
    return (ScreenWidth / period + 2) * period;
}

std::vector<TGaugeTick> GaugeTicks(int GaugeRange, int CharWidth) {
    std::vector<TGaugeTick> ticks;
    for (int i = 0; i < GaugeRange; ++i) ticks.push_back({i * CharWidth, i == 0 ? 0 : i == GaugeRange / 2 ? 3 : 6});
    return ticks;
}

TRulerNumbers RulerNumbers(int FirstColumn, int GaugeRange, int CharWidth, int PictureWidth) {
    TRulerNumbers result;
    const int period = GaugeRange * CharWidth;
    const int periods = PictureWidth / CharWidth / GaugeRange + 1;
    int c = FirstColumn;
    for (int p = 0; p < periods; ++p) {
        int x = p * period + 1;
        if (c >= 1000) result.FillFrom = x;
        for (char ch : std::to_string(c)) {
            const int digit = ch - '0';
            result.Digits.push_back({x, digit});
            x += DigitGlyphCells(digit);
        }
        if (c >= 1000) break;
        c += GaugeRange;
    }
    return result;
}

TRulerMarkPlace RulerMarkPlace(int Col, int TopCol, int ColsPerPage, int GaugeRange, int TextLeft, int CharWidth,
                               int RulerHeight, bool Edge) {
    if (Col < TopCol || Col > TopCol + ColsPerPage) return {};
    const int left = TextLeft + (Col - TopCol) * CharWidth + 1;
    const int bottom = RulerHeight - (Edge ? 2 : 1);
    return {{left, 0, left + CharWidth - 1, bottom}, (Col - RulerFirstColumn(TopCol, GaugeRange)) * CharWidth + 1};
}

namespace {

TColor Background(TColor Color, const TGutterLook& Look) { return Color == clNone ? Look.Color : Color; }
TColor Foreground(TColor Color, const TGutterLook& Look) { return Color == clNone ? Look.FontColor : Color; }

bool RowModified(const TRowAttributeStringList& Rows, int Row) {
    return Row >= 0 && Row < Rows.Count() && Rows.RowModified(Row);
}

TPaintOp Image(int Set, int Index, int X, int Y) {
    TPaintOp op;
    op.Kind = poImage;
    op.Row = Set;
    op.Index = Index;
    op.X = X;
    op.Y = Y;
    return op;
}

} // namespace

void PaintImagebar(const TRowAttributeStringList& Rows, int FromRow, int ToRow, const TGutterLook& Look,
                   TPaintPlan& Plan) {
    int top = (FromRow - Look.TopRow) * Look.RowHeight + Look.TextTop;
    const TColor plain = Look.LeftbarVisible && Look.LeftbarBkColor != clNone ? Look.LeftbarBkColor : Look.Color;
    for (int row = FromRow; row <= ToRow; ++row, top += Look.RowHeight) {
        const TRect rect{0, top, Look.ImagebarWidth, top + Look.RowHeight};
        Plan.push_back(FillOp(rect, RowModified(Rows, row) ? Background(Look.ModifiedBkColor, Look) : plain));
        if (row < 0 || row >= Rows.Count()) continue;
        const std::uint16_t marks = Rows.RowMarks(row);
        if (const int digit = ImagebarDigit(marks); digit >= 0)
            Plan.push_back(Image(0, digit, Look.ImagebarLeftMargin, top + 2));
        if (const int mark = ImagebarMark(marks); mark >= 0)
            Plan.push_back(Image(1, mark, Look.ImagebarLeftMargin + Look.ImagebarDigitWidth, top + 2));
    }
}

void PaintLeftbar(const TRowAttributeStringList& Rows, int FromRow, int ToRow, const TGutterLook& Look,
                  TPaintPlan& Plan) {
    const int left = Look.ImagebarWidth, right = Look.ImagebarWidth + Look.LeftbarWidth - 2;
    const TColor bk = Background(Look.LeftbarBkColor, Look), fg = Foreground(Look.LeftbarColor, Look);
    // The edge: two columns, light and dark with Edge, else the bar's background and number colour.
    Plan.push_back(FillOp({right, Look.TextTop, right + 1, Look.ClientHeight}, Look.LeftbarEdge ? clWhite : bk));
    Plan.push_back(FillOp({right + 1, Look.TextTop, right + 2, Look.ClientHeight}, Look.LeftbarEdge ? clGray : fg));
    const int top = (FromRow - Look.TopRow) * Look.RowHeight + Look.TextTop;
    if (!Look.ShowNumber) {
        Plan.push_back(FillOp({left, top, right, top + (ToRow - FromRow + 1) * Look.RowHeight}, bk));
        return;
    }
    const std::vector<int> numbers = LeftbarNumbers(Rows, FromRow, ToRow, Look.Numbering);
    for (int row = FromRow; row <= ToRow; ++row) {
        const int y = top + (row - FromRow) * Look.RowHeight;
        const TRect rect{left, y, right, y + Look.RowHeight};
        const int number = numbers[static_cast<std::size_t>(row - FromRow)];
        if (number < 0) {
            Plan.push_back(FillOp(rect, bk));
            continue;
        }
        const bool modified = RowModified(Rows, row);
        TPaintOp op;
        op.Kind = poText;
        op.Rect = rect;
        op.X = left + Look.LeftbarLeftMargin;
        op.Y = y;
        op.Text = LeftbarText(number, Look.LeftbarDigits, Look.Numbering.ZeroLead);
        op.Color = modified ? Foreground(Look.ModifiedColor, Look) : fg;
        op.BkColor = modified ? Background(Look.ModifiedBkColor, Look) : bk;
        op.Style = Look.FontStyle;
        op.FillRect = true;
        Plan.push_back(std::move(op));
    }
}

} // namespace quillon
