#include "QtEditorUtils.h"

#include "EditorGutters.h"
#include "EditorUtils.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QPolygon>
#include <QScreen>

#include <algorithm>
#include <array>

namespace quillon {

QColor QColorOf(TColor Color) {
    TColor rgb = ColorToRGB(Color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

namespace {

// A 32 x 32 cursor picture: white shapes with a black outline.
QPixmap CursorCanvas() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QCursor RightArrowCursor() {
    QPixmap pixmap = CursorCanvas();
    QPainter p(&pixmap);
    // Mirror of the usual arrow: the tip at the right, the tail to the lower left.
    const QPolygon arrow({{12, 0}, {12, 16}, {9, 13}, {6, 19}, {4, 18}, {7, 12}, {2, 12}});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
    return QCursor(pixmap, 12, 0);
}

QCursor DragSelCopyCursor() {
    QPixmap pixmap = CursorCanvas();
    QPainter p(&pixmap);
    const QPolygon arrow({{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9, 18}, {6, 11}, {11, 11}});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
    // The dragged text: a dotted box under the arrow.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(8, 20, 14, 9);
    // The copy: a plus sign in a small white square.
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(20, 14, 8, 8);
    p.drawLine(22, 18, 26, 18);
    p.drawLine(24, 16, 24, 20);
    return QCursor(pixmap, 0, 0);
}

Qt::CursorShape StandardShape(TCursor Cursor) {
    switch (Cursor) {
    case -1: return Qt::BlankCursor;
    case -3: return Qt::CrossCursor;
    case -4: return Qt::IBeamCursor;
    case -6: return Qt::SizeBDiagCursor;
    case -7: return Qt::SizeVerCursor;
    case -8: return Qt::SizeFDiagCursor;
    case -9: return Qt::SizeHorCursor;
    case -10: return Qt::UpArrowCursor;
    case -11: return Qt::WaitCursor;
    case -12: return Qt::DragMoveCursor;
    case -13: return Qt::ForbiddenCursor;
    case -14: return Qt::SplitHCursor;
    case -15: return Qt::SplitVCursor;
    case -16: return Qt::DragCopyCursor;
    case -18: return Qt::ForbiddenCursor;
    case -19: return Qt::BusyCursor;
    case -20: return Qt::WhatsThisCursor;
    case -21: return Qt::PointingHandCursor;
    case -22: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

// A picture with the digit drawn from the digit glyph mask.
QImage MakeDigitImage(int Digit) {
    QImage image(DigitImageWidth, DigitImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.fillRect(0, 0, DigitImageWidth, DigitImageHeight, QColor(0, 0, 160));
    }
    const int left = (DigitImageWidth - DigitGlyphWidth) / 2 + (Digit == 1 ? 1 : 0);
    for (int y = 0; y < DigitGlyphHeight; ++y)
        for (int x = 0; x < DigitGlyphWidth; ++x)
            if (DigitGlyphInk(DigitGlyphWidth * Digit + x, y)) image.setPixelColor(left + x, y + 1, Qt::white);
    return image;
}

// Six marks told apart by shape and colour: circle, square, triangle, diamond, cross and star.
QImage MakeMarkImage(int Index) {
    static const std::array<QColor, MarkImageCount> colors = {QColor(220, 0, 0),   QColor(0, 150, 0),
                                                              QColor(0, 0, 220),   QColor(200, 120, 0),
                                                              QColor(150, 0, 150), QColor(0, 140, 140)};
    QImage image(MarkImageWidth, MarkImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(colors[static_cast<std::size_t>(Index)]);
    switch (Index) {
    case 0:
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(QRectF(0.5, 0.5, 10, 10));
        break;
    case 1: p.drawRect(1, 1, 8, 8); break;
    case 2: p.drawPolygon(QPolygon({{5, 0}, {10, 10}, {0, 10}})); break;
    case 3: p.drawPolygon(QPolygon({{5, 0}, {10, 5}, {5, 10}, {0, 5}})); break;
    case 4:
        p.drawPolygon(QPolygon(
            {{3, 0}, {7, 0}, {7, 3}, {10, 3}, {10, 7}, {7, 7}, {7, 10}, {3, 10}, {3, 7}, {0, 7}, {0, 3}, {3, 3}}));
        break;
    default:
        p.drawPolygon(QPolygon({{5, 0}, {6, 4}, {10, 4}, {7, 6}, {9, 10}, {5, 8}, {1, 10}, {3, 6}, {0, 4}, {4, 4}}));
        break;
    }
    return image;
}

template <class Make> std::vector<QImage> MakeImages(int Count, Make make) {
    std::vector<QImage> images;
    for (int i = 0; i < Count; ++i) images.push_back(make(i));
    return images;
}

} // namespace

QCursor EditorCursor(TCursor Cursor) {
    if (Cursor == crRightArrow) {
        static const QCursor cursor = RightArrowCursor();
        return cursor;
    }
    if (Cursor == crDragSelCopy) {
        static const QCursor cursor = DragSelCopyCursor();
        return cursor;
    }
    return QCursor(StandardShape(Cursor));
}

const QImage& DigitImage(int Index) {
    static const std::vector<QImage> images = MakeImages(DigitImageCount, MakeDigitImage);
    return images.at(static_cast<std::size_t>(Index));
}

const QImage& MarkImage(int Index) {
    static const std::vector<QImage> images = MakeImages(MarkImageCount, MakeMarkImage);
    return images.at(static_cast<std::size_t>(Index));
}

void DrawDottedLine(QPainter& Canvas, int X, int Y, TColor Color, TColor DotColor, int Length) {
    if (Length <= 0) return;
    Canvas.fillRect(X, Y, Length, 1, QColorOf(Color));
    const QColor dot = QColorOf(DotColor);
    for (int x = X; x < X + Length; x += 2) Canvas.fillRect(x, Y, 1, 1, dot);
}

const QImage& TDotLineCollection::GetBitmap(TColor DotColor, TColor Color) {
    for (const TDotLineItem& item : FItems)
        if (item.DotColor == DotColor && item.Color == Color) return item.Bitmap;
    QImage bitmap(FWidth, 1, QImage::Format_RGB32);
    {
        QPainter p(&bitmap);
        DrawDottedLine(p, 0, 0, Color, DotColor, FWidth);
    }
    FItems.push_back({Color, DotColor, bitmap});
    return FItems.back().Bitmap;
}

TDotLineCollection& DotLines() {
    static TDotLineCollection lines([] {
        int width = 4096;
        if (auto* app = qobject_cast<QGuiApplication*>(QGuiApplication::instance()))
            for (QScreen* screen : app->screens()) width = std::max(width, screen->geometry().width());
        return width;
    }());
    return lines;
}

void DrawDotLine(QPainter& Canvas, int X1, int Y, TColor Color, TColor DotColor, int X2) {
    if (X2 < X1) return;
    const QImage& bitmap = DotLines().GetBitmap(DotColor, Color);
    Canvas.drawImage(QPoint(X1, Y), bitmap, QRect(0, 0, std::min(X2 - X1 + 1, bitmap.width()), 1));
}

} // namespace quillon
