#pragma once
// A naive per-pixel renderer written straight from the drawing formulas, to check the row loops
// against: for each target pixel it works out the one source pixel that lands there.
#include "Images.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace quillon::test {

// An 8-bit picture as the reference sees it: row r at Pixels[r * Width].
struct TRefImage {
    int Width = 0, Height = 0;
    bool Transparent = false;
    TColorTable Palette{};
    std::vector<std::uint8_t> Pixels;
};

// A 32-bit target of 320·zoom x 240·zoom pixels, top row first.
struct TRefTarget {
    int Zoom = 1;
    std::vector<std::uint8_t> Bytes;

    explicit TRefTarget(int zoom) : Zoom(zoom), Bytes(static_cast<std::size_t>(320 * zoom * 240 * zoom * 4)) {}
    TRenderTarget Target() { return {Bytes.data(), 320 * Zoom * 4}; }
    std::uint8_t* Pixel(int x, int y) { return Bytes.data() + (static_cast<std::size_t>(y) * 320 * Zoom + x) * 4; }
};

inline void RefBlend(std::uint8_t* d, const TRGBQuad& c, int mode, int alpha) {
    const int cs[3] = {c.Blue, c.Green, c.Red};
    if (mode == 0) {
        d[0] = c.Blue, d[1] = c.Green, d[2] = c.Red, d[3] = c.Reserved;
        return;
    }
    for (int i = 0; i < 3; ++i) {
        int v = d[i];
        if (mode == 2)
            v = v + static_cast<int>(std::trunc((cs[i] - v) * (alpha + 1) / 256.0));
        else if (mode == 3)
            v = std::min(255, v + cs[i]);
        else
            v = v * cs[i] / 255;
        d[i] = static_cast<std::uint8_t>(v);
    }
}

inline int TruncMulDiv(double a, double b, double c) { return static_cast<int>(std::trunc(a * b / c)); }

// Draws source scaled onto destination (zoom 1 and destination size = source size is Draw).
inline void RefStretchDraw(TRefTarget& t, const TRefImage& img, const TRect& dst, const TRect& src, int flags, int mode,
                           int alpha) {
    if (mode != 0 && mode != 2 && mode != 3 && mode != 5) return;
    TRect vis = Intersect(dst, {0, 0, 320, 240});
    if (vis.IsEmpty() || src.IsEmpty()) return;
    double sw = src.Width(), sh = src.Height(), dw = dst.Width(), dh = dst.Height();
    TRect part{src.Left - TruncMulDiv(dst.Left - vis.Left, sw, dw), src.Top - TruncMulDiv(dst.Top - vis.Top, sh, dh),
               src.Right - TruncMulDiv(dst.Right - vis.Right, sw, dw),
               src.Bottom - TruncMulDiv(dst.Bottom - vis.Bottom, sh, dh)};
    auto inside = [&](const TRect& p) {
        return p.Left >= 0 && p.Top >= 0 && p.Right <= img.Width && p.Bottom <= img.Height;
    };
    if (!inside(part)) return;
    if (flags & 1) part = {src.Left + src.Right - part.Right, part.Top, src.Left + src.Right - part.Left, part.Bottom};
    if (flags & 2) part = {part.Left, src.Top + src.Bottom - part.Bottom, part.Right, src.Top + src.Bottom - part.Top};
    if (!inside(part)) return;
    std::uint32_t xs = static_cast<std::uint32_t>(std::trunc(sw * 16384 / dw)) / t.Zoom;
    std::uint32_t ys = static_cast<std::uint32_t>(std::trunc(sh * 16384 / dh)) / t.Zoom;
    bool oneToOne = dw == sw && dh == sh && t.Zoom == 1;
    int z = t.Zoom;
    for (int y = vis.Top * z; y < vis.Bottom * z; ++y)
        for (int x = vis.Left * z; x < vis.Right * z; ++x) {
            std::uint32_t n = static_cast<std::uint32_t>(flags & 2 ? vis.Bottom * z - 1 - y : y - vis.Top * z);
            std::uint32_t k = static_cast<std::uint32_t>(flags & 1 ? vis.Right * z - 1 - x : x - vis.Left * z);
            int sx = part.Left + static_cast<int>(oneToOne ? k : (k * xs) >> 14);
            int sy = part.Top + static_cast<int>(oneToOne ? n : (n * ys) >> 14);
            std::uint8_t s = img.Pixels[static_cast<std::size_t>(sy) * img.Width + sx];
            if (img.Transparent && s == 0) continue;
            RefBlend(t.Pixel(x, y), img.Palette[s], mode, alpha);
        }
}

} // namespace quillon::test
