#pragma once
// 8-bit paletted pictures and the effects that the about box animates with: a clipped copy, a copy
// whose rows are shifted sideways along a sine wave, and a rotate-and-zoom copy about the centre.
//
// A picture is reached row by row through ScanLine (row 0 at the top, one byte per pixel for 8-bit).
// Copies are keyed exactly when the source's Transparent is set: a source pixel equal to the key
// leaves the destination pixel as it was. Flags of the copies: 1 reverses each row left to right,
// 2 flips the rows upside down.
//
// Angles are bytes with 255 steps to the full turn, so entry 255 of the tables is 360 degrees and
// repeats entry 0.
#include "Errors.h"
#include "RGBQuad.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class EInvalidDIBOperation : public Exception {
public:
    using Exception::Exception;
};

enum class TEffectHandleType { bmDIB, bmDDB };
enum class TEffectPixelFormat { pf8bit, pf24bit, pf32bit };

using TDIBPalette = std::array<TRGBQuad, 256>;

// A picture as the effects see it: kind, format, size, palette and pixel rows.
class TEffectBitmap {
public:
    TEffectHandleType HandleType() const { return FHandleType; }
    void SetHandleType(TEffectHandleType value) { FHandleType = value; }
    TEffectPixelFormat PixelFormat() const { return FPixelFormat; }
    // Changing the format clears the pixels.
    void SetPixelFormat(TEffectPixelFormat value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Resizing clears the pixels; negative sizes are taken as 0.
    void SetSize(int width, int height);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    const TDIBPalette& Palette() const { return FPalette; }
    void SetPalette(const TDIBPalette& value) { FPalette = value; }

    // Row 0 is the top row; a row holds Width pixels of the pixel format's size, without padding.
    std::uint8_t* ScanLine(int row) { return FPixels.data() + static_cast<std::size_t>(row) * RowBytes(); }
    const std::uint8_t* ScanLine(int row) const { return FPixels.data() + static_cast<std::size_t>(row) * RowBytes(); }

private:
    std::size_t RowBytes() const;
    void Reallocate();

    TEffectHandleType FHandleType = TEffectHandleType::bmDDB; // a new bitmap is not yet a DIB
    TEffectPixelFormat FPixelFormat = TEffectPixelFormat::pf24bit;
    int FWidth = 0, FHeight = 0;
    bool FTransparent = false;
    TDIBPalette FPalette{};
    std::vector<std::uint8_t> FPixels; // size = RowBytes() * FHeight
};

// sin and cos of k * 360 / 255 degrees, filled once at start.
extern const std::array<long double, 256> SinTable;
extern const std::array<long double, 256> CosTable;

// Zooms of the rotate-and-zoom copy outside these bounds (or not finite) are refused.
constexpr double MinDIBZoom = 1.0 / 1024, MaxDIBZoom = 1024;

std::unique_ptr<TEffectBitmap> Create8BitDIB(int width, int height, const TDIBPalette& palette);
void Setup8BitDIB(TEffectBitmap& bitmap, int width, int height, const TDIBPalette& palette);
void SetDIBPalette(TEffectBitmap& bitmap, const TDIBPalette& palette);
// Fills the whole bitmap from Width * Height bytes, rows without padding, stored bottom row first
// (top row first with flag 2).
void CopyBitsToDIB(TEffectBitmap& bitmap, const std::uint8_t* pixels, bool useKey, int flags, std::uint8_t key);
void DrawDIB(int x, int y, const TEffectBitmap& source, TEffectBitmap& dest, int flags, std::uint8_t key);
void DrawDIBWave(int x, int y, const TEffectBitmap& source, TEffectBitmap& dest, std::uint8_t phase,
                 std::uint8_t frequency, std::uint8_t amplitude, int flags, std::uint8_t key);
void DrawDIBRotateZoom(int x, int y, const TEffectBitmap& source, TEffectBitmap& dest, std::uint8_t angle, double zoom,
                       std::uint8_t key);

} // namespace quillon
