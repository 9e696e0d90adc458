#include "EditorRenderer.h"

#include "QtEditorUtils.h"

#include <QPolygon>

#include <algorithm>

namespace quillon {

namespace {

TColor Or(TColor Color, TColor Default) { return Color == clNone ? Default : Color; }

// The light and dark lines of an edge.
void DrawEdgeRows(QPainter& Painter, int X, int Y, int Width) {
    Painter.fillRect(X, Y, Width, 1, QColorOf(clWhite));
    Painter.fillRect(X, Y + 1, Width, 1, QColorOf(clGray));
}

void DrawEdgeColumns(QPainter& Painter, int X, int Y, int Height) {
    Painter.fillRect(X, Y, 1, Height, QColorOf(clWhite));
    Painter.fillRect(X + 1, Y, 1, Height, QColorOf(clGray));
}

} // namespace

void TPlanRenderer::Render(QPainter& Painter, const TPaintPlan& Plan) {
    for (std::size_t i = 0; i < Plan.size(); ++i) RenderOp(Painter, Plan, i);
}

void TPlanRenderer::RenderOp(QPainter& Painter, const TPaintPlan& Plan, std::size_t Index) {
    const TPaintOp& op = Plan[Index];
    if (op.Kind == poText && op.FillRect)
        Text(Painter, op, PaintedOver(Plan, Index));
    else
        RenderOp(Painter, op);
}

const std::vector<bool>* TPlanRenderer::PaintedOver(const TPaintPlan& Plan, std::size_t Index) {
    const TPaintOp& back = Plan[Index];
    bool any = false;
    FPaintedOver.assign(back.Text.size(), false);
    for (std::size_t j = Index + 1; j < Plan.size() && Plan[j].Kind == poText && !Plan[j].FillRect; ++j) {
        const TPaintOp& token = Plan[j];
        const int offset = token.X - back.X;
        if (token.BkColor == clNone || token.Y != back.Y || token.Rect != back.Rect || offset < 0 ||
            offset % FCharWidth != 0)
            continue;
        const std::size_t from = static_cast<std::size_t>(offset / FCharWidth);
        const std::size_t to = std::min(from + token.Text.size(), back.Text.size());
        for (std::size_t k = from; k < to; ++k) FPaintedOver[k] = true;
        any = any || from < to;
    }
    return any ? &FPaintedOver : nullptr;
}

void TPlanRenderer::RenderOp(QPainter& Painter, const TPaintOp& Op) {
    switch (Op.Kind) {
    case poFill:
        Painter.fillRect(Op.Rect.Left, Op.Rect.Top, Op.Rect.Width(), Op.Rect.Height(), QColorOf(Op.BkColor));
        break;
    case poText: Text(Painter, Op); break;
    case poLines: {
        QPolygon points;
        for (auto [x, y] : Op.Points) points << QPoint(x, y);
        Painter.setRenderHint(QPainter::Antialiasing, false);
        Painter.setPen(QPen(QColorOf(Op.Color), 0));
        Painter.drawPolyline(points);
        break;
    }
    case poImage: Painter.drawImage(Op.X, Op.Y, Op.Row == 0 ? DigitImage(Op.Index) : MarkImage(Op.Index)); break;
    case poDrawLine: break;
    }
}

void TPlanRenderer::Text(QPainter& Painter, const TPaintOp& Op, const std::vector<bool>* PaintedOver) {
    const TRect& r = Op.Rect;
    if (r.IsEmpty()) return;
    const int length = static_cast<int>(Op.Text.size());
    if (Op.FillRect)
        Painter.fillRect(r.Left, r.Top, r.Width(), r.Height(), QColorOf(Op.BkColor));
    else if (Op.BkColor != clNone) {
        const TRect cells = Intersect(r, {Op.X, Op.Y, Op.X + length * FCharWidth, Op.Y + FFont.Height()});
        if (!cells.IsEmpty())
            Painter.fillRect(cells.Left, cells.Top, cells.Width(), cells.Height(), QColorOf(Op.BkColor));
    }
    Painter.save();
    Painter.setClipRect(r.Left, r.Top, r.Width(), r.Height(), Qt::IntersectClip);
    Painter.setPen(QColorOf(Op.Color));
    FFont.DrawText(Painter, Op.X, Op.Y, Op.Text, FCharWidth, Op.Style & ~StyleBit(fsUnderline), PaintedOver);
    Painter.restore();
    // An underlined font is underlined with a dotted line in the text colour over the background.
    if (HasStyle(Op.Style, fsUnderline)) {
        const int x1 = std::max(Op.X, r.Left), x2 = std::min(Op.X + length * FCharWidth, r.Right);
        const int y = Op.Y + FFont.Height() - 1;
        if (x1 < x2 && y >= r.Top && y < r.Bottom)
            DrawDotLine(Painter, x1, y, Or(Op.BkColor, Op.Color), Op.Color, x2 - 1);
    }
}

void TRulerPictures::Update(const TRulerLook& Look, int CharWidth, int ScreenWidth) {
    FLook = Look;
    FCharWidth = CharWidth;
    const QColor bk = QColorOf(Or(Look.BkColor, Look.Color)), ink = QColorOf(Or(Look.InkColor, Look.FontColor));
    const QColor mark = QColorOf(Or(Look.MarkColor, Look.FontColor));
    // Digits: ink in the ruler's colour on its background, and the background's colour on the mark's.
    FDigits = QImage(56, DigitGlyphHeight, QImage::Format_RGB32);
    FMarkDigits = FDigits;
    for (int y = 0; y < DigitGlyphHeight; ++y)
        for (int x = 0; x < 56; ++x) {
            const bool on = DigitGlyphInk(x, y);
            FDigits.setPixelColor(x, y, on ? ink : bk);
            FMarkDigits.setPixelColor(x, y, on ? bk : mark);
        }
    const int width = RulerBitmapWidth(ScreenWidth, Look.GaugeRange, CharWidth);
    const int height = std::max(1, Look.Height);
    FGauge = QImage(width, height, QImage::Format_RGB32);
    FGauge.fill(bk);
    QPainter p(&FGauge);
    const int period = Look.GaugeRange * CharWidth;
    for (const TGaugeTick& tick : GaugeTicks(Look.GaugeRange, CharWidth))
        p.fillRect(tick.X, tick.Top, 1, Look.Height - 1 - tick.Top, ink);
    if (Look.Edge)
        DrawEdgeRows(p, 0, Look.Height - 2, period);
    else
        p.fillRect(0, Look.Height - 1, period, 1, ink);
    for (int x = period; x < width; x += period) p.drawImage(x, 0, FGauge, 0, 0, period, height);
    p.end();
    FRuler = QImage(width, height, QImage::Format_RGB32);
    FMark = QImage(width, height, QImage::Format_RGB32);
}

void TRulerPictures::DrawNumbers(QImage& Picture, const QImage& Digits, TColor Background, int FirstColumn) const {
    const TRulerNumbers numbers = RulerNumbers(FirstColumn, FLook.GaugeRange, FCharWidth, Picture.width());
    QPainter p(&Picture);
    if (numbers.FillFrom >= 0)
        p.fillRect(numbers.FillFrom, 0, Picture.width() - numbers.FillFrom, FLook.Height - (FLook.Edge ? 2 : 1),
                   QColorOf(Background));
    for (const TRulerDigit& d : numbers.Digits)
        p.drawImage(d.X, 0, Digits, DigitGlyphWidth * d.Digit, 0, DigitGlyphCells(d.Digit), DigitGlyphHeight);
}

void TRulerPictures::Render(int TopCol) {
    const int first = RulerFirstColumn(TopCol, FLook.GaugeRange);
    FRuler = FGauge.copy();
    DrawNumbers(FRuler, FDigits, Or(FLook.BkColor, FLook.Color), first);
    FMark.fill(QColorOf(Or(FLook.MarkColor, FLook.FontColor)));
    DrawNumbers(FMark, FMarkDigits, Or(FLook.MarkColor, FLook.FontColor), first);
}

void TRulerPictures::Paint(QPainter& Painter, int TextLeft, int ClientWidth, int TopCol, int Col, int ColsPerPage) {
    Render(TopCol);
    const int source = TopCol % FLook.GaugeRange * FCharWidth;
    Painter.drawImage(TextLeft, 0, FRuler, source, 0, ClientWidth - TextLeft, FLook.Height);
    const TRulerMarkPlace place =
        RulerMarkPlace(Col, TopCol, ColsPerPage, FLook.GaugeRange, TextLeft, FCharWidth, FLook.Height, FLook.Edge);
    if (!place.Target.IsEmpty())
        Painter.drawImage(place.Target.Left, 0, FMark, place.SourceX, 0, place.Target.Width(), place.Target.Height());
}

QImage MakeCorner(const TCornerLook& Look) {
    QImage corner(std::max(1, Look.TextLeft), std::max(1, Look.TextTop), QImage::Format_RGB32);
    corner.fill(QColorOf(Look.Color));
    QPainter p(&corner);
    int rulerLeft = 0;
    if (Look.LeftbarEdge) {
        p.fillRect(0, 0, Look.LeftGutters, Look.TextTop, QColorOf(Look.LeftbarBkColor));
        DrawEdgeColumns(p, Look.LeftGutters - 2, 0, Look.TextTop);
        rulerLeft = Look.LeftGutters;
    }
    if (Look.RulerEdge) {
        p.fillRect(rulerLeft, 0, Look.TextLeft - rulerLeft, Look.RulerHeight, QColorOf(Look.RulerBkColor));
        DrawEdgeRows(p, rulerLeft - 1, Look.RulerHeight - 2, Look.TextLeft - rulerLeft + 1);
    }
    return corner;
}

} // namespace quillon
