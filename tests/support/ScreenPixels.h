#pragma once
// What the window system shows of a widget, for tests that compare it with what the widget means
// to paint: a stale area (pixels that were moved or left behind and never repainted) shows only
// here, since grabbing or rendering a widget paints it afresh.
#include <QApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <ostream>

namespace quillon {

// The pixels of Widget as its window's backing store holds them, after the pending repaints.
inline QImage ShownPixels(QWidget& Widget) {
    QApplication::processEvents();
    QWidget* window = Widget.window();
    const QImage shot = window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    return shot.copy(QRect(Widget.mapTo(window, QPoint(0, 0)), Widget.size()));
}

// The bounding box of the pixels that differ between A and B outside Skip (empty when none do).
inline QRect DifferingPixels(const QImage& A, const QImage& B, const QRect& Skip = {}) {
    if (A.size() != B.size()) return A.rect() | B.rect();
    QRect box;
    for (int y = 0; y < A.height(); ++y)
        for (int x = 0; x < A.width(); ++x)
            if (!Skip.contains(x, y) && A.pixel(x, y) != B.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace quillon

// A rectangle as a test failure shows it (found beside QRect, in the global namespace).
inline void PrintTo(const QRect& R, std::ostream* Out) {
    *Out << "QRect(" << R.x() << ", " << R.y() << ", " << R.width() << "x" << R.height() << ")";
}
