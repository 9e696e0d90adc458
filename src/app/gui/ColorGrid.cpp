#include "ColorGrid.h"

#include "ColorManager.h"
#include "QtEditorUtils.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillon {

namespace {
constexpr int Columns = 8;
constexpr int CellSize = 22;

bool InGrid(int Index) { return Index >= 0 && Index < TColorGrid::CellCount; }
} // namespace

TColorGrid::TColorGrid(QWidget* Parent) : QWidget(Parent) { setMinimumSize(sizeHint()); }

QSize TColorGrid::sizeHint() const { return {Columns * CellSize + 1, (CellCount / Columns) * CellSize + 1}; }

void TColorGrid::SetForegroundIndex(int Value) {
    FForegroundIndex = Value;
    update();
}

void TColorGrid::SetBackgroundIndex(int Value) {
    FBackgroundIndex = Value;
    update();
}

void TColorGrid::SetForegroundEnabled(bool Value) {
    FForegroundEnabled = Value;
    update();
}

void TColorGrid::SetBackgroundEnabled(bool Value) {
    FBackgroundEnabled = Value;
    update();
}

QRect TColorGrid::CellRect(int Index) const {
    return {(Index % Columns) * CellSize, (Index / Columns) * CellSize, CellSize, CellSize};
}

int TColorGrid::CellAt(const QPoint& Point) const {
    if (Point.x() < 0 || Point.y() < 0) return -1;
    const int column = Point.x() / CellSize, row = Point.y() / CellSize;
    if (column >= Columns) return -1;
    const int index = row * Columns + column;
    return InGrid(index) ? index : -1;
}

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < CellCount; ++i) {
        const QRect cell = CellRect(i);
        const TColor color = StandardColors()[static_cast<std::size_t>(i)];
        painter.fillRect(cell, QColorOf(color));
        painter.setPen(Qt::gray);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        QString mark;
        if (FForegroundEnabled && i == FForegroundIndex) mark += "FG";
        if (FBackgroundEnabled && i == FBackgroundIndex) mark += mark.isEmpty() ? "BG" : "\nBG";
        if (mark.isEmpty()) continue;
        painter.setPen(color == clBlack || color == clNavy || color == clMaroon ? Qt::white : Qt::black);
        QFont small = font();
        small.setPixelSize(8);
        painter.setFont(small);
        painter.drawText(cell, Qt::AlignCenter, mark);
    }
}

void TColorGrid::mouseReleaseEvent(QMouseEvent* Event) {
    if (!isEnabled()) return;
    const int cell = CellAt(Event->position().toPoint());
    if (cell >= 0) {
        if (Event->button() == Qt::LeftButton && FForegroundEnabled) SetForegroundIndex(cell);
        if (Event->button() == Qt::RightButton && FBackgroundEnabled) SetBackgroundIndex(cell);
    }
    if (OnMouseUp) OnMouseUp(Event->button());
}

} // namespace quillon
