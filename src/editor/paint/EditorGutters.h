#pragma once
// Geometry and contents of the editor's gutters, without pixels:
// - the image bar left of the text shows per row the lowest bookmark 0-9 and the lowest other mark
//   10-15 as small pictures;
// - the left bar numbers display rows or logical lines, right-aligned in a field of a fixed number
//   of digit cells that grows with the text (at most 8);
// - the ruler above the text is a gauge with a big tick and a column number every period
//   (GaugeRange columns); its numbers are drawn from a 5 x 9 digit glyph mask and end at column 1000.
// The widget turns these into pictures; everything here is plain arithmetic over the row store.
#include "EditorPaint.h"
#include "Rect.h"
#include "RowAttrStrings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// ---- Digit glyphs of the ruler.
constexpr int DigitGlyphWidth = 5, DigitGlyphHeight = 9;
// 9 rows of 56 pixels, 7 bytes each, most significant bit leftmost; a 0 bit is ink. Digit d occupies
// columns 5d..5d+4.
extern const std::array<std::array<std::uint8_t, 7>, DigitGlyphHeight> DigitGlyphMask;
// Whether pixel (X, Y) of the mask is ink.
bool DigitGlyphInk(int X, int Y);
// The columns a digit takes when drawn: 3 for the digit 1, else 5.
constexpr int DigitGlyphCells(int Digit) { return Digit == 1 ? 3 : DigitGlyphWidth; }

// ---- Image bar.
int ImagebarWidth(bool Visible, int LeftMargin, int DigitWidth, int MarkWidth, int RightMargin);
// The lowest set bookmark 0-9 of a row's marks, or -1.
int ImagebarDigit(std::uint16_t Marks);
// The lowest set mark 10-15, as 0-5, or -1.
int ImagebarMark(std::uint16_t Marks);

// ---- Left bar.
struct TLeftbarNumbering {
    bool ByLine = false;   // number logical lines (else display rows)
    bool ZeroBase = false; // the first number is 0
    bool ZeroLead = false; // leading zeros instead of blanks
    int Column = 4;        // least number of digit cells, 1..8
};

// The logical line of a display row: the number of rows before it that end with a line break.
int RowToLine(const TRowAttributeStringList& Rows, int Row);
// The digit cells the numbers need: the last number's digits, at least Column, at most 8.
int LeftbarDigits(const TRowAttributeStringList& Rows, const TLeftbarNumbering& Numbering);
// LeftMargin + Digits x CharWidth + RightMargin + 2 (the edge), or 0 when hidden.
int LeftbarWidth(bool Visible, int LeftMargin, int Digits, int CharWidth, int RightMargin);
// The numbers shown on rows FromRow..ToRow (one entry per row; -1: the row gets no number).
std::vector<int> LeftbarNumbers(const TRowAttributeStringList& Rows, int FromRow, int ToRow,
                                const TLeftbarNumbering& Numbering);
// A number right-aligned in a field of Digits characters (never cut), blanks or zeros before it.
std::string LeftbarText(int Number, int Digits, bool ZeroLead);

// ---- Ruler.
// 0 when hidden, 11 with the edge, 10 without.
int RulerHeight(bool Visible, bool Edge);
// The width of the ruler pictures: whole periods covering the screen and two more.
int RulerBitmapWidth(int ScreenWidth, int GaugeRange, int CharWidth);
// The first column of the ruler pictures: the start of the period holding TopCol.
constexpr int RulerFirstColumn(int TopCol, int GaugeRange) { return TopCol / GaugeRange * GaugeRange; }

// A vertical tick of the gauge's first period, from Top down to the ruler height - 1 (excluded).
struct TGaugeTick {
    int X, Top;
    bool operator==(const TGaugeTick&) const = default;
};
std::vector<TGaugeTick> GaugeTicks(int GaugeRange, int CharWidth);

// A digit of the ruler's numbers: the glyph Digit, DigitGlyphCells(Digit) wide, at (X, 0).
struct TRulerDigit {
    int X, Digit;
    bool operator==(const TRulerDigit&) const = default;
};
// The numbers of a ruler picture PictureWidth wide starting at column FirstColumn; FillFrom is the
// x from which the picture is blanked before the number 1000 (no gauge right of it), or -1.
struct TRulerNumbers {
    std::vector<TRulerDigit> Digits;
    int FillFrom = -1;
};
TRulerNumbers RulerNumbers(int FirstColumn, int GaugeRange, int CharWidth, int PictureWidth);

// Where the caret's column mark goes on the ruler (empty when the column is not visible), and the x
// in the ruler pictures it is copied from.
struct TRulerMarkPlace {
    TRect Target;
    int SourceX = 0;
};
TRulerMarkPlace RulerMarkPlace(int Col, int TopCol, int ColsPerPage, int GaugeRange, int TextLeft, int CharWidth,
                               int RulerHeight, bool Edge);

// ---- Painting the image bar and the left bar.
// Colours clNone stand for the editor's colour (backgrounds) and the font's colour (text).
struct TGutterLook {
    TColor Color = clWhite, FontColor = clBlack;
    TFontStyles FontStyle = 0;
    int RowHeight = 16, TextTop = 0, TopRow = 0, ClientHeight = 0;
    int ImagebarWidth = 0, ImagebarLeftMargin = 2, ImagebarDigitWidth = 8;
    bool LeftbarVisible = false, LeftbarEdge = true, ShowNumber = true;
    int LeftbarWidth = 0, LeftbarDigits = 4, LeftbarLeftMargin = 8;
    TLeftbarNumbering Numbering;
    TColor LeftbarBkColor = clSilver, LeftbarColor = clBlack, ModifiedBkColor = clGreen, ModifiedColor = clBlack;
};

// Rows FromRow..ToRow of the image bar: backgrounds (modified rows marked) and mark pictures
// (poImage: Row 0 the digit pictures, Row 1 the mark pictures).
void PaintImagebar(const TRowAttributeStringList& Rows, int FromRow, int ToRow, const TGutterLook& Look,
                   TPaintPlan& Plan);
// Rows FromRow..ToRow of the left bar with its edge.
void PaintLeftbar(const TRowAttributeStringList& Rows, int FromRow, int ToRow, const TGutterLook& Look,
                  TPaintPlan& Plan);

} // namespace quillon
