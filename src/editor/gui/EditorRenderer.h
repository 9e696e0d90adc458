#pragma once
// Draws the editor's paint plans with Qt, and the prepared pictures of the ruler and the corner.
#include "CellText.h"
#include "EditorGutters.h"
#include "EditorPaint.h"

#include <QImage>
#include <QPainter>

namespace quillon {

// Renders paint operations: text on the font's fixed cells, fills, one-pixel polylines and the
// image bar's pictures. The row hook (poDrawLine) is the caller's business and is skipped here.
//
// A row is planned as its whole text on the background, then its coloured tokens drawn again over
// their own opaque cells. Rendered from the plan, the background text leaves out the glyphs that
// those tokens paint over (TCellFont::DrawText), so that a row full of coloured tokens costs one
// glyph per character, not two; the pixels are the same as when every operation is drawn alone.
class TPlanRenderer {
public:
    TPlanRenderer(TCellFont& Font, int CharWidth) : FFont(Font), FCharWidth(CharWidth) {}
    void Render(QPainter& Painter, const TPaintPlan& Plan);
    // Plan[Index], knowing the operations after it.
    void RenderOp(QPainter& Painter, const TPaintPlan& Plan, std::size_t Index);
    // One operation on its own.
    void RenderOp(QPainter& Painter, const TPaintOp& Op);

private:
    void Text(QPainter& Painter, const TPaintOp& Op, const std::vector<bool>* PaintedOver = nullptr);
    // The bytes of the opaque text Plan[Index] whose cells the token texts right after it fill
    // opaquely within the same clip; nullptr when there are none.
    const std::vector<bool>* PaintedOver(const TPaintPlan& Plan, std::size_t Index);

    TCellFont& FFont;
    int FCharWidth;
    std::vector<bool> FPaintedOver; // scratch of PaintedOver
};

// What the ruler looks like; colours clNone stand for the editor's colour and font colour.
struct TRulerLook {
    TColor Color = clWhite, FontColor = clBlack;
    TColor BkColor = clSilver, InkColor = clBlack, MarkColor = clBlack;
    bool Edge = true;
    int GaugeRange = 10;
    int Height = 11;
};

// The ruler is copied from prepared pictures: the gauge is drawn once per change of options or
// font, the numbered pictures once per repaint, and the caret's column mark is one cell copied from
// the mark picture (drawn) or the ruler picture (erased).
class TRulerPictures {
public:
    void Update(const TRulerLook& Look, int CharWidth, int ScreenWidth);
    // The ruler and mark pictures for the period holding TopCol.
    void Render(int TopCol);
    // The visible ruler from text left to the right edge, with the mark at Col.
    void Paint(QPainter& Painter, int TextLeft, int ClientWidth, int TopCol, int Col, int ColsPerPage);
    const QImage& Ruler() const { return FRuler; }
    const QImage& Mark() const { return FMark; }

private:
    void DrawNumbers(QImage& Picture, const QImage& Digits, TColor Background, int FirstColumn) const;

    TRulerLook FLook;
    int FCharWidth = 8;
    QImage FGauge, FDigits, FMarkDigits, FRuler, FMark;
};

// The corner left of the ruler and above the left gutters.
struct TCornerLook {
    TColor Color = clWhite;
    int TextLeft = 0, TextTop = 0;
    int LeftGutters = 0;      // image bar width + left bar width
    bool LeftbarEdge = false; // the left bar is visible with its edge
    TColor LeftbarBkColor = clSilver;
    bool RulerEdge = false; // the ruler is visible with its edge
    TColor RulerBkColor = clSilver;
    int RulerHeight = 0;
};
QImage MakeCorner(const TCornerLook& Look);

} // namespace quillon
