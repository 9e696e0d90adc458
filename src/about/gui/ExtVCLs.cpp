#include "ExtVCLs.h"

#include <QPainter>

namespace quillon {
namespace {

struct TPass {
    int Dx, Dy;
    TColor Color;
};

// The outline passes of a frame type, drawn before the text itself.
std::vector<TPass> OutlinePasses(TFrameType type, TColor frame) {
    static constexpr int kRing[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    // Lowered and raised light the upper left five offsets in one colour, the lower right three in the other.
    auto bevel = [](TColor upperLeft, TColor lowerRight) {
        std::vector<TPass> passes;
        for (int i : {0, 1, 2, 3, 5}) passes.push_back({kRing[i][0], kRing[i][1], upperLeft});
        for (int i : {4, 6, 7}) passes.push_back({kRing[i][0], kRing[i][1], lowerRight});
        return passes;
    };
    switch (type) {
    case TFrameType::ftNone: return {};
    case TFrameType::ftFrame: {
        std::vector<TPass> passes;
        for (const auto& offset : kRing) passes.push_back({offset[0], offset[1], frame});
        return passes;
    }
    case TFrameType::ftShadow: return {{1, 1, frame}};
    case TFrameType::ftFlash: return {{-1, -1, frame}};
    case TFrameType::ftLowered: return bevel(clBtnShadow, clBtnHighlight);
    case TFrameType::ftRaised: return bevel(clBtnHighlight, clBtnShadow);
    }
    return {};
}

} // namespace

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TVisualLabel::TVisualLabel(QWidget* parent) : QLabel(parent) {}

void TVisualLabel::SetFrameColor(TColor value) {
    if (value == FFrameColor) return;
    FFrameColor = value;
    update();
}

void TVisualLabel::SetFrameType(TFrameType value) {
    if (value == FFrameType) return;
    FFrameType = value;
    update();
}

void TVisualLabel::SetTransparent(bool value) {
    FTransparent = value;
    update();
}

void TVisualLabel::SetColor(TColor value) {
    FColor = value;
    update();
}

void TVisualLabel::SetFontColor(TColor value) {
    FFontColor = value;
    update();
}

void TVisualLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!FTransparent) painter.fillRect(rect(), ToQColor(FColor));
    int flags = static_cast<int>(alignment()) | Qt::TextExpandTabs;
    if (wordWrap()) flags |= Qt::TextWordWrap;
    DrawFramedText(painter, contentsRect(), flags);
}

void TVisualLabel::DrawFramedText(QPainter& painter, const QRect& rect, int flags) {
    painter.setFont(font());
    const bool enabled = isEnabled();
    for (const TPass& pass : OutlinePasses(FFrameType, FFrameColor)) {
        painter.setPen(ToQColor(enabled ? pass.Color : clGrayText));
        painter.drawText(rect.translated(pass.Dx, pass.Dy), flags, text());
    }
    const bool grayText = !enabled && FFrameType != TFrameType::ftNone;
    painter.setPen(ToQColor(grayText ? clGrayText : FFontColor));
    painter.drawText(rect, flags, text());
}

} // namespace quillon
