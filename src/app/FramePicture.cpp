#include "FramePicture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quillon {

TBoxColours BoxColours(std::int32_t ciValue) {
    if (ciValue == 44 || ciValue == 46 || ciValue == 53) return {0x00FF00, 0x7FFF00, 0xFF00FF};
    return {0x0000FF, 0x7F00FF, 0xFF0000};
}

TFramePicture::TFramePicture() {
    for (int z = 1; z <= 4; ++z)
        for (int b = 0; b < 2; ++b) {
            std::vector<std::uint32_t>& row = FBackRows[z - 1][b];
            row.resize(static_cast<std::size_t>(ScreenWidth) * z);
            for (std::size_t x = 0; x < row.size(); ++x)
                row[x] = ((x / (8 * z)) % 2 == static_cast<std::size_t>(b)) ? kCheckerLight : kCheckerDark;
        }
    FBitmap.PixelFormat = MakeRGBBitFields(8, 8, 8);
    SetZoom(1);
}

void TFramePicture::SetZoom(int zoom) {
    zoom = std::clamp(zoom, 1, 4);
    if (zoom == FZoom) return;
    FZoom = zoom;
    FBitmap.SetSize(ScreenWidth * zoom, ScreenHeight * zoom, 32);
    // The new picture is not shared yet, so taking writable pixels copies nothing.
    FTarget.Bits = FBitmap.TopPBits();
    FTarget.Pitch = FBitmap.NextLine();
}

std::uint32_t* TFramePicture::Row(int y) const {
    return reinterpret_cast<std::uint32_t*>(FTarget.Bits + static_cast<std::ptrdiff_t>(y) * FTarget.Pitch);
}

std::uint32_t TFramePicture::Pixel(int x, int y) const { return Row(y)[x] & 0xFFFFFF; }

void TFramePicture::DrawBackground() {
    const auto& rows = FBackRows[FZoom - 1];
    const std::size_t bytes = rows[0].size() * sizeof(std::uint32_t);
    for (int y = 0; y < ScreenHeight; ++y) {
        const std::uint32_t* source = rows[(y >> 3) & 1].data();
        for (int k = 0; k < FZoom; ++k) std::memcpy(Row(y * FZoom + k), source, bytes);
    }
}

void TFramePicture::DrawPictureCells(const TMotionLineObj& line, TCharSoftRender& picture) {
    if (!line.Valid || line.Pictures.None != 0) return;
    for (const TPicItemInfo& item : line.Pictures.Items) {
        // The parser holds numbers within 32 bits; the most negative one has no picture.
        if (item.Number == INT32_MIN) continue;
        int flags = item.Number < 0 ? dfFlip : 0;
        bool alpha = item.BlendMode == 2;
        picture.DrawFrame(FTarget, FZoom, 160, 0, std::abs(item.Number), nullptr, flags, alpha ? 2 : 0,
                          alpha ? item.Alpha : 0);
    }
}

void TFramePicture::DrawCenterLine() {
    const int left = 160 * FZoom;
    for (int y = 0; y < ScreenHeight * FZoom; ++y)
        for (int k = 0; k < FZoom; ++k) Row(y)[left + k] ^= 0xFFFFFF;
}

template <class Op> void TFramePicture::ForBlock(int gx, int screenRow, Op op) {
    const int x = (gx + 160) * FZoom;
    for (int v = 0; v < FZoom; ++v) {
        std::uint32_t* row = Row(screenRow * FZoom + v);
        for (int u = 0; u < FZoom; ++u) op(row[x + u]);
    }
}

// The outline is the top and bottom edges between the screen columns l and r, and the left and
// right columns between the game rows b and t, each clipped to the screen. Rows of the box that
// are an edge get the whole clipped edge; the others only their in-screen side columns. A corner,
// or an edge shared by a box one pixel high or wide, is thus visited once.
template <class Paint> void TFramePicture::ForOutline(const TMotionBox& box, Paint paint) {
    const int l = std::min(box.X1, box.X2) + 160, r = std::max(box.X1, box.X2) + 160;
    const int t = std::max(box.Y1, box.Y2), b = std::min(box.Y1, box.Y2);
    const bool across = l < ScreenWidth && r >= 0;
    for (int y = std::max(b, 0); y <= std::min(t, ScreenHeight - 1); ++y) {
        if (y == t || y == b) {
            if (!across) continue;
            for (int x = std::max(l, 0); x <= std::min(r, ScreenWidth - 1); ++x) paint(x - 160, y);
            continue;
        }
        if (l >= 0 && l < ScreenWidth) paint(l - 160, y);
        if (r != l && r >= 0 && r < ScreenWidth) paint(r - 160, y);
    }
}

void TFramePicture::DrawRect(const TMotionBox& box, std::uint32_t colour) {
    ForOutline(box, [&](int gx, int gy) { ForBlock(gx, 239 - gy, [&](std::uint32_t& p) { p = colour; }); });
}

void TFramePicture::XorRect(const TMotionBox& box) {
    ForOutline(box, [&](int gx, int gy) { ForBlock(gx, 239 - gy, [](std::uint32_t& p) { p ^= 0xFFFFFF; }); });
}

} // namespace quillon
