#pragma once
// The editor's screen resources on Qt: colours, the mouse cursors (the two that the editor draws
// itself among them), the default pictures of the image bar and the cache of dotted lines.
#include "Colors.h"
#include "Cursors.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPainter>

#include <vector>

namespace quillon {

// A TColor (system colours resolved, clNone as black) as a Qt colour.
QColor QColorOf(TColor Color);

// The Qt cursor for a cursor number: the standard ones, and crRightArrow (a white arrow pointing
// right, for selecting rows in the left margin) and crDragSelCopy (an arrow with a dotted box and a
// plus sign, for dragging a copy of the selection), which are drawn here.
QCursor EditorCursor(TCursor Cursor);

// The default row-mark pictures of the image bar: DigitImage(0..9) are 8 x 11 pixels, MarkImage(0..5)
// 11 x 11 pixels, transparent where they have no ink.
constexpr int DigitImageWidth = 8, DigitImageHeight = 11, DigitImageCount = 10;
constexpr int MarkImageWidth = 11, MarkImageHeight = 11, MarkImageCount = 6;
const QImage& DigitImage(int Index);
const QImage& MarkImage(int Index);

// Fills (X, Y)-(X + Length, Y + 1) with Color and sets every other pixel from X on to DotColor.
void DrawDottedLine(QPainter& Canvas, int X, int Y, TColor Color, TColor DotColor, int Length);

// A cache of one-pixel dotted lines as wide as the screen, one per colour pair, drawn once.
class TDotLineCollection {
public:
    explicit TDotLineCollection(int Width) : FWidth(Width) {}
    const QImage& GetBitmap(TColor DotColor, TColor Color);
    int Count() const { return static_cast<int>(FItems.size()); }

private:
    struct TDotLineItem {
        TColor Color, DotColor;
        QImage Bitmap;
    };
    int FWidth; // pixels of every bitmap
    std::vector<TDotLineItem> FItems;
};

// The program's cache, as wide as the widest screen (at least 4096 pixels).
TDotLineCollection& DotLines();

// Copies the pixels X1..X2 of the cached dotted line for the colour pair to row Y of Canvas.
void DrawDotLine(QPainter& Canvas, int X1, int Y, TColor Color, TColor DotColor, int X2);

} // namespace quillon
