#include "QtDIB.h"

#include <cstring>

namespace quillon {

namespace {

QRgb ColourAt(const TDIB& dib, const std::uint8_t* row, int x) {
    auto quad = [&](int index) {
        const TRGBQuad& q = dib.ImageColorTable()[index];
        return qRgb(q.Red, q.Green, q.Blue);
    };
    switch (dib.BitCount()) {
    case 1: return quad(row[x / 8] >> (7 - x % 8) & 1);
    case 4: return quad(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
    case 8: return quad(row[x]);
    case 24: return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case 16: {
        TRGB c = UnpackRGB(dib.ImagePixelFormat(), static_cast<std::uint32_t>(row[2 * x] | row[2 * x + 1] << 8));
        return qRgb(c.R, c.G, c.B);
    }
    default: {
        const std::uint8_t* p = row + 4 * x;
        TRGB c =
            UnpackRGB(dib.ImagePixelFormat(), p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24);
        return qRgb(c.R, c.G, c.B);
    }
    }
}

} // namespace

QImage DIBToQImage(const TDIB& source) {
    if (source.Empty()) return {};
    TDIB dib(source);
    dib.Decompress();
    QImage image(dib.Width(), dib.Height(), QImage::Format_RGB32);
    for (int y = 0; y < dib.Height(); ++y) {
        const std::uint8_t* row = dib.ScanLineReadOnly(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dib.Width(); ++x) target[x] = ColourAt(dib, row, x);
    }
    return image;
}

void DrawDIB(QPainter& painter, const QRect& rectangle, const TDIB& dib) {
    if (dib.Empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rectangle, DIBToQImage(dib));
    painter.restore();
}

} // namespace quillon
