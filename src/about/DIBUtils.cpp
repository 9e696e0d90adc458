#include "DIBUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillon {
namespace {

std::array<long double, 256> MakeTable(long double (*function)(long double)) {
    std::array<long double, 256> table{};
    for (int k = 0; k < 256; ++k) table[k] = function(k * 2 * std::numbers::pi_v<long double> / 255);
    return table;
}

long double Sine(long double radians) { return std::sin(radians); }
long double Cosine(long double radians) { return std::cos(radians); }

bool IsDIB(const TEffectBitmap& bitmap) { return bitmap.HandleType() == TEffectHandleType::bmDIB; }
bool Is8Bit(const TEffectBitmap& bitmap) { return bitmap.PixelFormat() == TEffectPixelFormat::pf8bit; }

void Require(bool condition, const char* message) {
    if (!condition) throw EInvalidDIBOperation(message);
}

constexpr const char* kTargetNotDIB = "ターゲットのHandleTypeがbmDIBではありません";
constexpr const char* kTargetNot8Bit = "ターゲットのPixelFormatがpf8bitではありません";
constexpr const char* kSourceNotDIB = "コピー元のHandleTypeがbmDIBではありません";
constexpr const char* kDestNotDIB = "コピー先のHandleTypeがbmDIBではありません";
constexpr const char* kSourceNot8Bit = "コピー元のPixelFormatがpf8bitではありません";
constexpr const char* kDestNot8Bit = "コピー先のPixelFormatがpf8bitではありません";
constexpr const char* kOddSize = "幅と高さが偶数ではないので回転できません。";
constexpr const char* kBadZoom = "拡大率が不正です。";

void CheckTarget(const TEffectBitmap& bitmap) {
    Require(IsDIB(bitmap), kTargetNotDIB);
    Require(Is8Bit(bitmap), kTargetNot8Bit);
}

void CheckCopy(const TEffectBitmap& source, const TEffectBitmap& dest) {
    Require(IsDIB(source), kSourceNotDIB);
    Require(IsDIB(dest), kDestNotDIB);
    Require(Is8Bit(source), kSourceNot8Bit);
    Require(Is8Bit(dest), kDestNot8Bit);
}

// Copies count pixels, forwards or written from the last destination pixel backwards.
void CopySpan(const std::uint8_t* from, std::uint8_t* to, long long count, bool reverse, bool keyed, std::uint8_t key) {
    for (long long i = 0; i < count; ++i) {
        const std::uint8_t pixel = from[i];
        if (keyed && pixel == key) continue;
        to[reverse ? count - 1 - i : i] = pixel;
    }
}

} // namespace

const std::array<long double, 256> SinTable = MakeTable(Sine);
const std::array<long double, 256> CosTable = MakeTable(Cosine);

void TEffectBitmap::SetPixelFormat(TEffectPixelFormat value) {
    FPixelFormat = value;
    Reallocate();
}

void TEffectBitmap::SetSize(int width, int height) {
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    Reallocate();
}

std::size_t TEffectBitmap::RowBytes() const {
    const std::size_t pixelBytes = FPixelFormat == TEffectPixelFormat::pf8bit    ? 1
                                   : FPixelFormat == TEffectPixelFormat::pf24bit ? 3
                                                                                 : 4;
    return pixelBytes * static_cast<std::size_t>(FWidth);
}

void TEffectBitmap::Reallocate() { FPixels.assign(RowBytes() * static_cast<std::size_t>(FHeight), 0); }

std::unique_ptr<TEffectBitmap> Create8BitDIB(int width, int height, const TDIBPalette& palette) {
    auto bitmap = std::make_unique<TEffectBitmap>();
    Setup8BitDIB(*bitmap, width, height, palette);
    return bitmap;
}

void Setup8BitDIB(TEffectBitmap& bitmap, int width, int height, const TDIBPalette& palette) {
    bitmap.SetHandleType(TEffectHandleType::bmDIB);
    bitmap.SetPixelFormat(TEffectPixelFormat::pf8bit);
    bitmap.SetSize(width, height);
    SetDIBPalette(bitmap, palette);
}

void SetDIBPalette(TEffectBitmap& bitmap, const TDIBPalette& palette) {
    CheckTarget(bitmap);
    TDIBPalette entries = palette;
    for (TRGBQuad& entry : entries) entry.Reserved = 0; // a palette entry carries no flags
    bitmap.SetPalette(entries);
}

void CopyBitsToDIB(TEffectBitmap& bitmap, const std::uint8_t* pixels, bool useKey, int flags, std::uint8_t key) {
    CheckTarget(bitmap);
    const int width = bitmap.Width(), height = bitmap.Height();
    for (int i = 0; i < height; ++i) {
        const int row = (flags & 2) ? i : height - 1 - i;
        CopySpan(pixels + static_cast<std::size_t>(i) * width, bitmap.ScanLine(row), width, flags & 1, useKey, key);
    }
}

void DrawDIB(int x, int y, const TEffectBitmap& source, TEffectBitmap& dest, int flags, std::uint8_t key) {
    CheckCopy(source, dest);
    // The destination part: the destination rectangle intersected with the source placed at (x, y).
    const long long left = std::max<long long>(x, 0), top = std::max<long long>(y, 0);
    const long long right = std::min<long long>(static_cast<long long>(x) + source.Width(), dest.Width());
    const long long bottom = std::min<long long>(static_cast<long long>(y) + source.Height(), dest.Height());
    if (left >= right || top >= bottom) return;
    const long long count = right - left;
    for (long long i = 0; i < bottom - top; ++i) {
        const long long destRow = (flags & 2) ? bottom - 1 - i : top + i;
        const std::uint8_t* from = source.ScanLine(static_cast<int>(top + i - y)) + (left - x);
        CopySpan(from, dest.ScanLine(static_cast<int>(destRow)) + left, count, flags & 1, source.Transparent(), key);
    }
}

void DrawDIBWave(int x, int y, const TEffectBitmap& source, TEffectBitmap& dest, std::uint8_t phase,
                 std::uint8_t frequency, std::uint8_t amplitude, int flags, std::uint8_t key) {
    CheckCopy(source, dest);
    const long long sw = source.Width(), sh = source.Height(), dw = dest.Width(), dh = dest.Height();
    if (y + sh <= 0 || y >= dh) return;
    for (long long r = 0; r < sh; ++r) {
        // With flag 2 the rows are mirrored inside the band the source covers, so every written row
        // lies inside the destination.
        const long long destRow = (flags & 2) ? y + sh - 1 - r : y + r;
        if (destRow < 0 || destRow >= dh) continue;
        const int index = (phase + frequency * static_cast<int>(r)) & 255;
        const long long shift = static_cast<long long>(std::trunc(amplitude * SinTable[index]));
        const long long left = x + shift;
        if (left + sw <= 0 || left >= dw) continue;
        const long long count = std::min(left + sw, dw) - std::max(left, 0LL);
        const std::uint8_t* from = source.ScanLine(static_cast<int>(r)) + std::max(-left, 0LL);
        std::uint8_t* to = dest.ScanLine(static_cast<int>(destRow)) + std::max(left, 0LL);
        CopySpan(from, to, count, flags & 1, source.Transparent(), key);
    }
}

void DrawDIBRotateZoom(int x, int y, const TEffectBitmap& source, TEffectBitmap& dest, std::uint8_t angle, double zoom,
                       std::uint8_t key) {
    const int w = source.Width(), h = source.Height();
    Require(w % 2 == 0 && h % 2 == 0, kOddSize);
    Require(IsDIB(dest), kDestNotDIB);
    Require(Is8Bit(source), kSourceNot8Bit);
    Require(Is8Bit(dest), kDestNot8Bit);
    Require(std::isfinite(zoom) && zoom >= MinDIBZoom && zoom <= MaxDIBZoom, kBadZoom);

    if (1 / zoom == 1 && (angle == 0 || angle == 128)) {
        DrawDIB(x, y, source, dest, angle == 0 ? 0 : 1 | 2, key);
        return;
    }
    const int cx = w / 2, cy = h / 2;
    // The square that holds every rotated and zoomed pixel, centred where the source's centre
    // would be if the source were drawn at (x, y).
    const long long d = static_cast<long long>(std::trunc(std::sqrt(double(w) * w + double(h) * h) * zoom));
    const long long half = d / 2 + 1;
    const long long left = std::max<long long>(x + static_cast<long long>(cx) - half, 0);
    const long long top = std::max<long long>(y + static_cast<long long>(cy) - half, 0);
    const long long right = std::min<long long>(x + static_cast<long long>(cx) + half, dest.Width());
    const long long bottom = std::min<long long>(y + static_cast<long long>(cy) + half, dest.Height());

    const int a = (256 - angle) & 255;
    const double c = static_cast<double>(CosTable[a]) / zoom, s = static_cast<double>(SinTable[a]) / zoom;
    const bool keyed = source.Transparent();
    for (long long py = top; py < bottom; ++py) {
        const double dv = static_cast<double>(py - y - cy);
        std::uint8_t* to = dest.ScanLine(static_cast<int>(py));
        for (long long px = left; px < right; ++px) {
            const double du = static_cast<double>(px - x - cx);
            const double fx = std::trunc(du * c - dv * s + cx), fy = std::trunc(du * s + dv * c + cy);
            // Column 0 and row 0 are never sampled.
            if (fx <= 0 || fx >= w || fy <= 0 || fy >= h) continue;
            const std::uint8_t pixel = source.ScanLine(static_cast<int>(fy))[static_cast<int>(fx)];
            if (keyed && pixel == key) continue;
            to[px] = pixel;
        }
    }
}

} // namespace quillon
