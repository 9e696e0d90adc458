#pragma once
// Device-independent bitmaps: pictures of 1, 4, 8, 16, 24 or 32 bits per pixel held in memory in
// the BMP layout (rows bottom-up, each padded to 4 bytes, a colour table for 8 bits or fewer,
// red-green-blue bit fields for 16 and 32 bits), read from and written to BMP files.
//
// Pixel storage (TDIBSharedImage) is shared between copies of a TDIB until one of them asks for
// writable pixels (copy on write). A picture read from an RLE8 or RLE4 file keeps its RLE data
// (written back unchanged) until writable pixels are asked for; it is expanded then, into zeroed
// memory that receives only the pixels the data describes: pixels that an end-of-line, a delta or
// an early end-of-picture item passes over stay colour 0. So a few bytes of RLE data may stand for
// a picture as large as the size rule allows, and one expansion costs that picture's size; a
// caller that needs the same file again keeps the expanded picture instead of reading it anew.
//
// Every size, count and offset read from a file is checked in 64-bit arithmetic against the bytes
// actually present before anything is allocated, and RLE expansion stops at the picture's edge.
// No picture is ever larger than MaxPicturePixels (below): every reader, conversion and sheet
// checks its size against that one rule before it allocates, so a tiny file cannot ask for
// gigabytes and no row or picture size overflows an int.
#include "Errors.h"
#include "RGBQuad.h"
#include "Streams.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace quillon {

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// The picture-size rule. 64 megapixels hold every real character sheet many times over (a full
// Vantor sheet of 65536 cells is 16 megapixels); at 32 bits a picture then stays within 256 MiB.
constexpr std::int64_t MaxPicturePixels = std::int64_t{64} * 1024 * 1024;

// A picture, sheet or strip past the size rule.
class EPictureTooLarge : public EInvalidGraphic {
public:
    EPictureTooLarge(std::int64_t width, std::int64_t height);
};

// Whether a picture of width x height pixels keeps the rule: both at least 1, and the product at
// most MaxPicturePixels (computed without overflow for any 64-bit values).
bool PictureSizeAllowed(std::int64_t width, std::int64_t height);
// Raises EPictureTooLarge when the size breaks the rule.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// How many RLE expansions this process has made so far.
std::int64_t RleExpansions();

// Where red, green and blue sit in a 16- or 32-bit pixel: red above green above blue, no gaps.
struct TDIBPixelFormat {
    std::uint32_t RBitMask, GBitMask, BBitMask;
    std::uint32_t RBitCount, GBitCount, BBitCount;
    std::uint32_t RShift, GShift, BShift; // red and green shift left, blue right, from 8-bit values
    std::uint32_t RLoss, GLoss, BLoss;    // 8 - bit count
    bool operator==(const TDIBPixelFormat&) const = default;
};

TDIBPixelFormat MakeRGBBitFields(std::uint32_t r, std::uint32_t g, std::uint32_t b);
// The widths of the runs of one bits from each mask's lowest set bit, placed without gaps.
TDIBPixelFormat MakeRGBBitFieldsFromMasks(std::uint32_t r, std::uint32_t g, std::uint32_t b);

struct TRGB {
    std::uint8_t R, G, B;
    bool operator==(const TRGB&) const = default;
};
std::uint32_t PackRGB(const TDIBPixelFormat& format, std::uint8_t r, std::uint8_t g, std::uint8_t b);
// The missing low bits of each channel repeat its high bits.
TRGB UnpackRGB(const TDIBPixelFormat& format, std::uint32_t value);

using TColorTable = std::array<TRGBQuad, 256>;

// All 256 entries: index bits r:g:b from the top spread evenly over 0..255.
TColorTable MakeRGBPalette(int rBits, int gBits, int bBits);

// Pixel storage behind one or more TDIB objects; built only by NewImage and the reader.
class TDIBSharedImage {
public:
    int BitCount = 0;                     // 1, 4, 8, 16, 24, 32; 0 when empty
    std::vector<std::uint8_t> BitmapInfo; // BITMAPINFOHEADER, masks for 16 and 32 bits, PaletteCount entries
    TColorTable ColorTable;
    int ColorTablePos = 40;  // 52 when masks follow the header
    bool Compressed = false; // Pixels holds RLE8 or RLE4 data
    int Height = 0;
    int NextLine = 0;     // -WidthBytes: rows are stored bottom-up
    int PaletteCount = 0; // 2^BitCount for 8 bits or fewer, else 0
    TDIBPixelFormat PixelFormat;
    std::vector<std::uint8_t> Pixels; // bottom row first; Size bytes
    int Width = 0;
    int WidthBytes = 0; // ((Width * BitCount + 31) div 32) * 4

    TDIBSharedImage(); // the empty image: grey-ramp colour table, 8-8-8
    int Size() const { return static_cast<int>(Pixels.size()); }
    int BitmapInfoSize() const { return static_cast<int>(BitmapInfo.size()); }
    // Resets to a fresh image of that shape; the pixels are zero (or, compressed, not allocated).
    void NewImage(int width, int height, int bitCount, const TDIBPixelFormat& format, const TColorTable& colorTable,
                  bool compressed);
    // An uncompressed copy (RLE data expanded).
    std::shared_ptr<TDIBSharedImage> Decompressed() const;
};

class TDIB {
public:
    TDIB();

    TColorTable ColorTable;      // the caller's editable copy; UpdatePalette pushes it into the picture
    TDIBPixelFormat PixelFormat; // the format the next SetSize or bit-count change uses (16 and 32 bits)

    int Width() const { return FImage->Width; }
    int Height() const { return FImage->Height; }
    int BitCount() const { return FImage->BitCount; }
    int WidthBytes() const { return FImage->WidthBytes; }
    int NextLine() const { return FImage->NextLine; }
    int Size() const { return FImage->Size(); }
    bool Empty() const { return Size() == 0; }
    bool Compressed() const { return FImage->Compressed; }
    const TDIBSharedImage& Image() const { return *FImage; }
    // The picture's own colour table and pixel format.
    const TColorTable& ImageColorTable() const { return FImage->ColorTable; }
    const TDIBPixelFormat& ImagePixelFormat() const { return FImage->PixelFormat; }

    void SetWidth(int value);
    void SetHeight(int value);
    void SetBitCount(int value);
    void SetSize(int width, int height, int bitCount);
    void Clear();

    // Row y (0 = top). The writable forms first make the pixels this DIB's own.
    std::uint8_t* ScanLine(int y);
    std::uint8_t* ScanLineReadOnly(int y) const;
    std::uint8_t* PBits();
    std::uint8_t* TopPBits();
    std::uint8_t* TopPBitsReadOnly() const;

    void UpdatePalette();
    // Shares the source's pixels.
    void Assign(const TDIB& source);
    void Decompress();

    // BMP files: reading raises EInvalidGraphic, EInvalidGraphicOperation or EReadError and then
    // keeps the previous picture; an empty stream changes nothing.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::filesystem::path& name);
    void SaveToFile(const std::filesystem::path& name) const;

private:
    void SwitchTo(std::shared_ptr<TDIBSharedImage> image);
    void MakeUnique();
    void ConvertBitCount(int bitCount);
    std::uint8_t* Row(int y) const;

    std::shared_ptr<TDIBSharedImage> FImage; // never null
};

} // namespace quillon
