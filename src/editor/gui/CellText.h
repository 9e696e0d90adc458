#pragma once
// Shift-JIS text on fixed character cells.
//
// The editor lays text out by bytes: a single-byte character takes one cell, a double-byte character
// two. TCellFont draws CP932 bytes exactly so: every character's glyph starts at the left edge of
// its first cell, whatever advance the font gives it, so positions are a multiplication and never a
// text measurement. Glyph indices are looked up once per character code (a table of 65536 entries
// filled on first use) and a row is drawn as one glyph run.
//
// Styles: bold is drawn twice, one pixel apart, so that it keeps the cells; italic slants the glyphs
// around the baseline; underline and strike-out are lines over the cells.
//
// A caller that is about to fill some cells opaquely (a row's coloured tokens over its background
// text) may name them: a glyph whose ink lies wholly inside such cells is left out, since not one of
// its pixels would survive the fill. A glyph that reaches out of its cells is drawn all the same.
#include "FontStyles.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRawFont>

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The family that the name "FixedSys" stands for, and the editor's fallback: a Japanese monospace
// font whose half-width characters are exactly half as wide as its full-width ones.
constexpr char DefaultMonospaceFamily[] = "IPAGothic";

// The Qt font for an editor font name and pixel size; "FixedSys" (any case) gives the monospace family.
QFont EditorFont(const std::string& Name, int PixelSize);

// The Unicode character of one CP932 character (a single byte, or lead x 256 + trail); U+FFFD for
// codes that do not decode.
char32_t Cp932CharToUnicode(unsigned Code);

class TCellFont {
public:
    explicit TCellFont(const QFont& Font);

    const QFont& Font() const { return FFont; }
    // Height of a row of text: ascent + descent + external leading.
    int Height() const { return FHeight; }
    int Ascent() const { return FAscent; }
    // Width of one cell: the advance of a half-width digit.
    int AveCharWidth() const { return FAveCharWidth; }

    // Draws S with its first byte's cell at (X, Top), one cell CellWidth wide per byte, in the
    // painter's pen colour. Nothing is filled. Bytes marked in PaintedOver (when given, one flag per
    // byte of S) lie in cells that the caller fills opaquely next, from Top down FHeight pixels.
    void DrawText(QPainter& Painter, int X, int Top, std::string_view S, int CellWidth, TFontStyles Style,
                  const std::vector<bool>* PaintedOver = nullptr);

private:
    quint32 GlyphOf(unsigned Code);
    // Whether the ink of Code's glyph, drawn in Style, stays inside its Cells cells of CellWidth.
    bool InkInsideCells(unsigned Code, quint32 Glyph, int Cells, int CellWidth, TFontStyles Style);
    void DrawRun(QPainter& Painter, QPointF Origin, TFontStyles Style);

    QFont FFont;
    QRawFont FRawFont;
    int FHeight = 0, FAscent = 0, FAveCharWidth = 0;
    std::vector<quint32> FGlyphs; // by character code; 0xFFFFFFFF not looked up yet
    // By character code: pixels to spare right of the glyph's ink in its cells of FSpareCellWidth,
    // -1 when the ink leaves the cells another way, kSpareUnknown not measured yet.
    std::vector<std::int8_t> FSpare;
    int FSpareCellWidth = 0;
    // Scratch for one run.
    QList<quint32> FRunGlyphs;
    QList<QPointF> FRunPositions;
    QString FMissing; // characters the font has no glyph for, drawn with font fallback
    QList<QPointF> FMissingPositions;
};

} // namespace quillon
