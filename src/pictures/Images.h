#pragma once
// Paletted images drawn into the 32-bit picture of the 320 x 240 game screen, enlarged by a whole
// zoom factor, with mirroring, flipping and blending.
//
// TBaseImage clips a drawing to the game screen and works out the source part that shows in the
// visible rectangle (mirrored and flipped drawing take the part from the opposite side of the
// source rectangle); TSoftRender, an 8-bit picture in memory, walks the rows of that part and
// hands each to a row routine (BlendUtil.h).
#include "BlendUtil.h"
#include "DIB.h"
#include "Rect.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace quillon {

// The 32-bit picture drawn into: the first pixel of its top row and the signed byte step to the
// row below. The caller makes it 320 x zoom pixels wide and 240 x zoom high.
struct TRenderTarget {
    std::uint8_t* Bits = nullptr;
    int Pitch = 0;
};

// Drawing flags.
enum : int { dfMirror = 1, dfFlip = 2 };

constexpr int ScreenWidth = 320;
constexpr int ScreenHeight = 240;

// Bytes per row of an 8-bit picture in the BMP layout.
inline int RowStride(int width) { return (width * 8 + 31) / 32 * 4; }
// A 15-bit colour for comparing palette colours at 5 bits per channel.
inline std::uint16_t RGBTo555(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint16_t>((r & 0xF8) << 7 | (g & 0xF8) << 2 | b >> 3);
}
void FillDWord(void* destination, int count, std::uint32_t value);

// Makes the colour of the top-left pixel (bits[0]) the only transparent index 0: entries 0 and
// that index are exchanged, and every pixel whose colour equals the key colour at 5 bits per
// channel becomes 0.
void KeyTopLeftColour(TColorTable& palette, std::uint8_t* bits, int width, int height, int pitch);

// An 8-bit BMP file as the paletted loaders take it: compression 0 or 3, one plane, colours
// directly after the header, rows as stored (Pitch bytes each, bottom-up unless TopDown); a file
// shorter than its header promises leaves the rows it does not reach zero.
struct TPaletted8Bitmap {
    int Width = 0, Height = 0, Pitch = 0;
    bool TopDown = false;
    std::vector<TRGBQuad> Colors; // the colours-used entries read
    std::vector<std::uint8_t> Rows;

    // False for a file that cannot be read or is not such a bitmap; sizes are checked before
    // anything is allocated.
    bool LoadFromFile(const std::filesystem::path& name);
    // The stored row that holds picture row y (0 = top).
    const std::uint8_t* PictureRow(int y) const;
    // Copies Colors into palette from index 0, a fourth byte of 0 becoming 255.
    void CopyColors(TColorTable& palette) const;
};

class TBaseImage {
public:
    virtual ~TBaseImage() = default;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Transparent() const { return FTransparent; }
    TColorTable& Palette() { return FPalette; }
    const TColorTable& Palette() const { return FPalette; }

    // Draws the source rectangle one to one with its top-left corner at (x, y) of the game screen.
    // palette: instead of the image's own when given; flags: dfMirror, dfFlip; mode: bmCopy ...
    void Draw(const TRenderTarget& target, int zoom, int x, int y, const TRect& source, const TColorTable* palette,
              int flags, int mode, int alpha);
    // Draws the source rectangle scaled onto the destination rectangle, the whole enlarged by zoom.
    void StretchDraw(const TRenderTarget& target, int zoom, const TRect& destination, const TRect& source,
                     const TColorTable* palette, int flags, int mode, int alpha);

    virtual void DrawRect(const TRenderTarget& target, const TRect& visible, const TRect& source,
                          const TColorTable* palette, int flags, int mode, int alpha) = 0;
    virtual void StretchDrawRect(const TRenderTarget& target, int zoom, const TRect& visible, const TRect& source,
                                 std::uint32_t xStep, std::uint32_t yStep, const TColorTable* palette, int flags,
                                 int mode, int alpha) = 0;
    virtual void SetBits(const TColorTable& palette, const std::uint8_t* pixels, int width, int height) = 0;
    virtual bool LoadFromFile(const std::filesystem::path& name, const TColorTable* palette, bool transparent) = 0;
    virtual void Clear() = 0;

protected:
    // The part of source that shows in visible, reflected within source by the flags; false when
    // any of it lies outside the image.
    bool SourcePart(TRect& part, const TRect& source, int flags) const;

    int FWidth = 1, FHeight = 1;
    bool FTransparent = false; // index 0 is not drawn
    TColorTable FPalette{};
};

class TSoftRender : public TBaseImage {
public:
    ~TSoftRender() override { Clear(); }

    int Pitch() const { return FPitch; }
    std::uint8_t* GetBits() const { return FBits; }

    // Clears, then makes a zero-filled picture; false (and empty) when the memory cannot be had.
    bool SetSize(int width, int height, bool transparent);

    void DrawRect(const TRenderTarget& target, const TRect& visible, const TRect& source, const TColorTable* palette,
                  int flags, int mode, int alpha) override;
    void StretchDrawRect(const TRenderTarget& target, int zoom, const TRect& visible, const TRect& source,
                         std::uint32_t xStep, std::uint32_t yStep, const TColorTable* palette, int flags, int mode,
                         int alpha) override;
    void SetBits(const TColorTable& palette, const std::uint8_t* pixels, int width, int height) override;
    // Reads an 8-bit BMP file; palette, when given, replaces the file's; transparent keys the
    // top-left colour. False leaves the picture empty.
    bool LoadFromFile(const std::filesystem::path& name, const TColorTable* palette, bool transparent) override;
    void Clear() override;

private:
    std::vector<std::uint8_t> FBuffer; // Pitch * Height + 7 bytes; empty while the picture is
    std::uint8_t* FBits = nullptr;     // first 8-byte aligned address of FBuffer; row r at FBits + r * Pitch
    int FPitch = 0;                    // RowStride(Width); 0 while empty
};

} // namespace quillon
