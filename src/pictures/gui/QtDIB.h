#pragma once
// Bitmaps meet Qt: a TDIB as a QImage and drawn with a QPainter.
#include "DIB.h"

#include <QImage>
#include <QPainter>
#include <QRect>

namespace quillon {

// The picture in Format_RGB32, top row first (colour-table pictures through their table).
QImage DIBToQImage(const TDIB& dib);

// Draws the whole picture into rectangle, stretched without smoothing; nothing for an empty one.
void DrawDIB(QPainter& painter, const QRect& rectangle, const TDIB& dib);

} // namespace quillon
