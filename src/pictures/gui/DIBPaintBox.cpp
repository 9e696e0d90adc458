#include "DIBPaintBox.h"

#include "QtDIB.h"

#include <QPainter>
#include <cmath>

namespace quillon {

namespace {

// The size scaled by the factor that fits it into the client, rounded halves to even.
QSize Fitted(QSize size, QSize client) {
    float r = std::min(static_cast<float>(client.width()) / static_cast<float>(size.width()),
                       static_cast<float>(client.height()) / static_cast<float>(size.height()));
    return {static_cast<int>(std::nearbyint(static_cast<float>(size.width()) * r)),
            static_cast<int>(std::nearbyint(static_cast<float>(size.height()) * r))};
}

} // namespace

TDIBPaintBox::TDIBPaintBox(QWidget* parent) : QWidget(parent) { resize(105, 105); }

void TDIBPaintBox::SetDIB(const TDIB& value) {
    FDIB.Assign(value);
    update();
}

QRect TDIBPaintBox::PictureRect() const {
    if (FDIB.Empty()) return {};
    QSize picture(FDIB.Width(), FDIB.Height()), client = size(), target = picture;
    if (FViewWidth > 0 || FViewHeight > 0) {
        target = {FViewWidth > 0 ? FViewWidth : picture.width(), FViewHeight > 0 ? FViewHeight : picture.height()};
        if (FAutoStretch && (target.width() > client.width() || target.height() > client.height()))
            target = Fitted(target, client);
    } else if (FAutoStretch) {
        if (client.width() < picture.width() || client.height() < picture.height()) target = Fitted(picture, client);
    } else if (FStretch) {
        target = FKeepAspect ? Fitted(picture, client) : client;
    }
    QPoint at =
        FCenter ? QPoint((client.width() - target.width()) / 2, (client.height() - target.height()) / 2) : QPoint();
    return {at, target};
}

void TDIBPaintBox::paintEvent(QPaintEvent*) {
    if (FDIB.Empty()) return;
    QPainter painter(this);
    QRect rect = PictureRect();
    if (rect.size() == QSize(FDIB.Width(), FDIB.Height()))
        painter.drawImage(rect.topLeft(), DIBToQImage(FDIB));
    else
        DrawDIB(painter, rect, FDIB);
}

} // namespace quillon
