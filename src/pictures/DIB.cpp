#include "DIB.h"

#include "AsciiText.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>

namespace quillon {

namespace {

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int CoreHeaderSize = 12;

const char* const InvalidDIB = "不正な DIB です";
const char* const InvalidPixelFormat = "不正なピクセルフォーマットです";

// Shifts that give 0 instead of undefined behaviour for widths of 32 bits or more.
std::uint32_t Shl(std::uint64_t value, std::uint32_t n) { return n >= 32 ? 0 : static_cast<std::uint32_t>(value << n); }
std::uint32_t Shr(std::uint32_t value, std::uint32_t n) { return n >= 32 ? 0 : value >> n; }
std::uint32_t Ones(std::uint32_t n) { return n >= 32 ? 0xFFFFFFFFu : (1u << n) - 1; }

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Get32(const std::uint8_t* p) { return Get16(p) | static_cast<std::uint32_t>(Get16(p + 2)) << 16; }

const TDIBPixelFormat Format888 = MakeRGBBitFields(8, 8, 8);
const TDIBPixelFormat Format555 = MakeRGBBitFields(5, 5, 5);
const TDIBPixelFormat Format565 = MakeRGBBitFields(5, 6, 5);

bool SameMasks(const TDIBPixelFormat& a, const TDIBPixelFormat& b) {
    return a.RBitMask == b.RBitMask && a.GBitMask == b.GBitMask && a.BBitMask == b.BBitMask;
}

void CheckFormat(int bitCount, const TDIBPixelFormat& format) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32:
        if (!SameMasks(format, Format888)) throw EInvalidGraphicOperation(InvalidPixelFormat);
        return;
    case 16:
        if (!SameMasks(format, Format555) && !SameMasks(format, Format565))
            throw EInvalidGraphicOperation(InvalidPixelFormat);
        return;
    default: throw EInvalidGraphicOperation("不正なビット数です (" + IntToStr(bitCount) + ")");
    }
}

TColorTable GreyRamp() {
    TColorTable table;
    for (int i = 0; i < 256; ++i) {
        std::uint8_t v = static_cast<std::uint8_t>(i);
        table[i] = {v, v, v, 0};
    }
    return table;
}

// --- Reading and writing single pixels of any bit count (x counted from the left).

std::uint32_t GetRaw(const std::uint8_t* row, int bitCount, int x) {
    switch (bitCount) {
    case 1: return row[x / 8] >> (7 - x % 8) & 1;
    case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    case 8: return row[x];
    case 16: return Get16(row + 2 * x);
    case 24: return row[3 * x] | row[3 * x + 1] << 8 | static_cast<std::uint32_t>(row[3 * x + 2]) << 16;
    default: return Get32(row + 4 * x);
    }
}

void SetRaw(std::uint8_t* row, int bitCount, int x, std::uint32_t value) {
    switch (bitCount) {
    case 1: {
        std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
        row[x / 8] = static_cast<std::uint8_t>(value & 1 ? row[x / 8] | bit : row[x / 8] & ~bit);
        break;
    }
    case 4:
        row[x / 2] = static_cast<std::uint8_t>(x % 2 == 0 ? (row[x / 2] & 0x0F) | (value & 0x0F) << 4
                                                          : (row[x / 2] & 0xF0) | (value & 0x0F));
        break;
    case 8: row[x] = static_cast<std::uint8_t>(value); break;
    case 16: Put16(row + 2 * x, value); break;
    case 24:
        row[3 * x] = static_cast<std::uint8_t>(value);
        row[3 * x + 1] = static_cast<std::uint8_t>(value >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(value >> 16);
        break;
    default: Put32(row + 4 * x, value); break;
    }
}

TRGB GetRGB(const TDIBSharedImage& image, const std::uint8_t* row, int x) {
    std::uint32_t raw = GetRaw(row, image.BitCount, x);
    if (image.BitCount <= 8) {
        const TRGBQuad& q = image.ColorTable[raw];
        return {q.Red, q.Green, q.Blue};
    }
    if (image.BitCount == 24)
        return {static_cast<std::uint8_t>(raw >> 16), static_cast<std::uint8_t>(raw >> 8),
                static_cast<std::uint8_t>(raw)};
    return UnpackRGB(image.PixelFormat, raw);
}

std::uint32_t RawOfRGB(const TDIBSharedImage& image, TRGB c) {
    if (image.BitCount == 24) return static_cast<std::uint32_t>(c.R) << 16 | c.G << 8 | c.B;
    return PackRGB(image.PixelFormat, c.R, c.G, c.B);
}

// The entry of the first count entries nearest to c (squared distance; the first of equals).
std::uint32_t NearestIndex(const TColorTable& table, int count, TRGB c) {
    std::uint32_t best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < count && bestDistance > 0; ++i) {
        int dr = table[i].Red - c.R, dg = table[i].Green - c.G, db = table[i].Blue - c.B;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint32_t>(i);
        }
    }
    return best;
}

// --- RLE expansion into a zeroed picture: only the pixels of runs and absolute items are written,
// so pixels that end-of-line, delta and an early end-of-picture pass over stay 0. Items that would
// write outside the picture are clipped; the expansion ends at the end of the data, at the
// end-of-picture item or when it leaves the picture's top.

std::atomic<std::int64_t> Expansions{0}; // RLE expansions made by this process

class TRleExpander {
public:
    TRleExpander(TDIBSharedImage& target, const std::vector<std::uint8_t>& data, bool fourBits)
        : FTarget(target), FData(data), FFourBits(fourBits) {}

    void Run() {
        ++Expansions;
        std::size_t pos = 0;
        while (pos + 2 <= FData.size() && FY < FTarget.Height) {
            std::uint8_t n = FData[pos], v = FData[pos + 1];
            pos += 2;
            if (n > 0) {
                for (int i = 0; i < n; ++i) Put(FFourBits ? (i % 2 == 0 ? v >> 4 : v & 0x0F) : v);
            } else if (v == 0) {
                FX = 0;
                ++FY;
            } else if (v == 1) {
                return;
            } else if (v == 2) {
                if (pos + 2 > FData.size()) return;
                FX += FData[pos];
                FY += FData[pos + 1];
                pos += 2;
            } else {
                std::size_t bytes = FFourBits ? (v + 1u) / 2 : v;
                if (pos + bytes > FData.size()) return;
                for (int i = 0; i < v; ++i) {
                    std::uint8_t b = FData[pos + (FFourBits ? i / 2 : i)];
                    Put(FFourBits ? (i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
                }
                pos += bytes + bytes % 2;
            }
        }
    }

private:
    void Put(std::uint32_t value) {
        if (FX < FTarget.Width)
            SetRaw(FTarget.Pixels.data() + static_cast<std::size_t>(FY) * FTarget.WidthBytes, FTarget.BitCount,
                   static_cast<int>(FX), value);
        ++FX;
    }

    TDIBSharedImage& FTarget;
    const std::vector<std::uint8_t>& FData;
    bool FFourBits;
    std::int64_t FX = 0; // pixel from the left
    std::int64_t FY = 0; // stored row from the bottom
};

// --- The BMP reader.

struct TBitmapHeader {
    std::int64_t Width = 0, Height = 0;
    int BitCount = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t SizeImage = 0;
    std::uint32_t ClrUsed = 0;
    bool Core = false;
};

void ReadExactly(TStream& stream, void* buffer, std::size_t count, const char* message) {
    if (stream.Read(buffer, count) != count) throw EInvalidGraphic(message);
}

// Reads the bitmap header; false when the stream holds no byte at all.
bool ReadBitmapHeader(TStream& stream, TBitmapHeader& h) {
    std::uint8_t b[InfoHeaderSize];
    std::size_t got = stream.Read(b, 4);
    if (got == 0) return false;
    if (got != 4) throw EInvalidGraphic(InvalidDIB);
    std::uint32_t size = Get32(b);
    if (size == CoreHeaderSize) {
        ReadExactly(stream, b + 4, CoreHeaderSize - 4, InvalidDIB);
        h.Core = true;
        h.Width = Get16(b + 4);
        h.Height = Get16(b + 6);
        h.BitCount = Get16(b + 10);
    } else if (size == InfoHeaderSize) {
        ReadExactly(stream, b + 4, InfoHeaderSize - 4, InvalidDIB);
        h.Width = static_cast<std::int32_t>(Get32(b + 4));
        h.Height = static_cast<std::int32_t>(Get32(b + 8));
        h.BitCount = Get16(b + 14);
        h.Compression = Get32(b + 16);
        h.SizeImage = Get32(b + 20);
        h.ClrUsed = Get32(b + 32);
    } else {
        throw EInvalidGraphic(InvalidDIB);
    }
    bool rle = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
    if (h.Compression > BI_BITFIELDS || (h.Compression == BI_RLE8 && h.BitCount != 8) ||
        (h.Compression == BI_RLE4 && h.BitCount != 4) || h.Width < 0 || (rle && h.Height < 0))
        throw EInvalidGraphic(InvalidDIB);
    return true;
}

std::shared_ptr<TDIBSharedImage> ReadImage(TStream& stream) {
    auto image = std::make_shared<TDIBSharedImage>();
    TBitmapHeader h;
    if (!ReadBitmapHeader(stream, h)) return image;

    TDIBPixelFormat format = h.BitCount == 16 ? Format555 : Format888;
    if (h.Compression == BI_BITFIELDS) {
        std::uint32_t masks[3];
        for (std::uint32_t& mask : masks) mask = stream.ReadUInt32();
        format = MakeRGBBitFieldsFromMasks(masks[0], masks[1], masks[2]);
    }

    std::uint32_t colors = h.ClrUsed;
    if (colors == 0 && h.BitCount >= 1 && h.BitCount <= 8) colors = 1u << h.BitCount;
    if (colors > 256) throw EInvalidGraphic(InvalidDIB);
    TColorTable table;
    int entrySize = h.Core ? 3 : 4;
    for (std::uint32_t i = 0; i < colors; ++i) {
        std::uint8_t e[4] = {};
        stream.ReadBuffer(e, static_cast<std::size_t>(entrySize));
        table[i] = {e[0], e[1], e[2], 0};
    }

    std::int64_t height = h.Height < 0 ? -h.Height : h.Height;
    CheckFormat(h.BitCount, format);
    if (h.Width == 0 || height == 0) return image; // a picture without pixels reads as empty
    CheckPictureSize(h.Width, height);
    std::int64_t widthBytes = (h.Width * h.BitCount + 31) / 32 * 4;
    bool rle = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
    // A compressed image's Size is its data's length, an int; without a byte of data the picture
    // would read as empty.
    if (rle && (h.SizeImage == 0 || h.SizeImage > INT_MAX)) throw EInvalidGraphic(InvalidDIB);
    if ((rle ? h.SizeImage : widthBytes * height) > stream.Remaining()) throw EReadError();
    image->NewImage(static_cast<int>(h.Width), static_cast<int>(height), h.BitCount, format, table, rle);

    if (rle) {
        image->Pixels.resize(h.SizeImage);
        stream.ReadBuffer(image->Pixels.data(), h.SizeImage);
        Put32(image->BitmapInfo.data() + 20, h.SizeImage);
        return image;
    }
    if (h.Height >= 0) {
        stream.ReadBuffer(image->Pixels.data(), image->Pixels.size());
    } else {
        for (int y = image->Height - 1; y >= 0; --y)
            stream.ReadBuffer(image->Pixels.data() + static_cast<std::size_t>(y) * image->WidthBytes,
                              static_cast<std::size_t>(image->WidthBytes));
    }
    return image;
}

const std::shared_ptr<TDIBSharedImage>& SharedEmptyImage() {
    static const std::shared_ptr<TDIBSharedImage> empty = std::make_shared<TDIBSharedImage>();
    return empty;
}

} // namespace

EPictureTooLarge::EPictureTooLarge(std::int64_t width, std::int64_t height)
    : EInvalidGraphic("画像が大きすぎます (" + std::to_string(width) + " x " + std::to_string(height) +
                      " ピクセル、上限 " + std::to_string(MaxPicturePixels) + " ピクセル)") {}

bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= MaxPicturePixels && height <= MaxPicturePixels / width;
}

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (!PictureSizeAllowed(width, height)) throw EPictureTooLarge(width, height);
}

std::int64_t RleExpansions() { return Expansions; }

TDIBPixelFormat MakeRGBBitFields(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    TDIBPixelFormat f;
    f.RBitMask = Shl(Ones(r), g + b);
    f.GBitMask = Shl(Ones(g), b);
    f.BBitMask = Ones(b);
    f.RBitCount = r;
    f.GBitCount = g;
    f.BBitCount = b;
    f.RShift = g + b - (8 - r);
    f.GShift = b - (8 - g);
    f.BShift = 8 - b;
    f.RLoss = 8 - r;
    f.GLoss = 8 - g;
    f.BLoss = 8 - b;
    return f;
}

TDIBPixelFormat MakeRGBBitFieldsFromMasks(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    auto width = [](std::uint32_t mask) {
        std::uint32_t n = 0;
        int bit = 0;
        while (bit < 32 && !(mask >> bit & 1)) ++bit;
        while (bit < 32 && (mask >> bit & 1)) {
            ++n;
            ++bit;
        }
        return n;
    };
    return MakeRGBBitFields(width(r), width(g), width(b));
}

std::uint32_t PackRGB(const TDIBPixelFormat& f, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (Shl(r, f.RShift) & f.RBitMask) | (Shl(g, f.GShift) & f.GBitMask) | (Shr(b, f.BShift) & f.BBitMask);
}

TRGB UnpackRGB(const TDIBPixelFormat& f, std::uint32_t value) {
    std::uint32_t r = Shr(value & f.RBitMask, f.RShift);
    std::uint32_t g = Shr(value & f.GBitMask, f.GShift);
    std::uint32_t b = Shl(value & f.BBitMask, f.BShift);
    // The high bits repeat in the low bits the format lacks: shifted down by the channel's width
    // (not by its loss, which would overlap the channel's own bits).
    r |= Shr(r, f.RBitCount);
    g |= Shr(g, f.GBitCount);
    b |= Shr(b, f.BBitCount);
    return {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

TColorTable MakeRGBPalette(int rBits, int gBits, int bBits) {
    TColorTable table;
    auto level = [](int i, int shift, int bits) {
        int top = (1 << bits) - 1;
        return static_cast<std::uint8_t>((i >> shift & top) * 255 / top);
    };
    for (int i = 0; i < 256; ++i)
        table[i] = {level(i, 0, bBits), level(i, bBits, gBits), level(i, gBits + bBits, rBits), 0};
    return table;
}

TDIBSharedImage::TDIBSharedImage() : ColorTable(GreyRamp()), PixelFormat(Format888) {}

void TDIBSharedImage::NewImage(int width, int height, int bitCount, const TDIBPixelFormat& format,
                               const TColorTable& colorTable, bool compressed) {
    CheckFormat(bitCount, format);
    CheckPictureSize(width, height);
    *this = TDIBSharedImage();
    BitCount = bitCount;
    Width = width;
    Height = height;
    WidthBytes = static_cast<int>((std::int64_t{width} * bitCount + 31) / 32 * 4);
    NextLine = -WidthBytes;
    PixelFormat = format;
    PaletteCount = bitCount <= 8 ? 1 << bitCount : 0;
    bool masks = bitCount == 16 || bitCount == 32;
    ColorTablePos = masks ? 52 : 40;
    BitmapInfo.assign(static_cast<std::size_t>(ColorTablePos + 4 * PaletteCount), 0);
    std::uint8_t* h = BitmapInfo.data();
    std::int64_t size = std::int64_t{WidthBytes} * height;
    Put32(h, InfoHeaderSize);
    Put32(h + 4, static_cast<std::uint32_t>(width));
    Put32(h + 8, static_cast<std::uint32_t>(height));
    Put16(h + 12, 1);
    Put16(h + 14, static_cast<std::uint32_t>(bitCount));
    Put32(h + 16, masks                         ? BI_BITFIELDS
                  : compressed && bitCount == 4 ? BI_RLE4
                  : compressed && bitCount == 8 ? BI_RLE8
                                                : BI_RGB);
    Put32(h + 20, static_cast<std::uint32_t>(size));
    if (masks) {
        Put32(h + 40, format.RBitMask);
        Put32(h + 44, format.GBitMask);
        Put32(h + 48, format.BBitMask);
    }
    ColorTable = colorTable;
    std::memcpy(h + ColorTablePos, colorTable.data(), static_cast<std::size_t>(4 * PaletteCount));
    Compressed = compressed;
    if (!compressed) Pixels.assign(static_cast<std::size_t>(size), 0);
}

std::shared_ptr<TDIBSharedImage> TDIBSharedImage::Decompressed() const {
    auto copy = std::make_shared<TDIBSharedImage>(*this);
    if (!Compressed) return copy;
    copy->NewImage(Width, Height, BitCount, PixelFormat, ColorTable, false);
    TRleExpander(*copy, Pixels, BitCount == 4).Run();
    return copy;
}

TDIB::TDIB() : ColorTable(GreyRamp()), PixelFormat(Format888), FImage(SharedEmptyImage()) {}

void TDIB::SwitchTo(std::shared_ptr<TDIBSharedImage> image) {
    FImage = std::move(image);
    ColorTable = FImage->ColorTable;
    PixelFormat = FImage->PixelFormat;
}

void TDIB::MakeUnique() {
    if (FImage.use_count() > 1 || FImage->Compressed) FImage = FImage->Decompressed();
}

void TDIB::Clear() { SwitchTo(SharedEmptyImage()); }

void TDIB::SetSize(int width, int height, int bitCount) {
    if (width == Width() && height == Height() && bitCount == BitCount() && SameMasks(PixelFormat, FImage->PixelFormat))
        return;
    if (width < 1 || height <= 0) {
        Clear();
        return;
    }
    auto image = std::make_shared<TDIBSharedImage>();
    image->NewImage(width, height, bitCount, PixelFormat, ColorTable, false);
    SwitchTo(std::move(image));
}

void TDIB::SetWidth(int value) {
    if (value < 1)
        Clear();
    else
        SetSize(value, Empty() ? std::max(Height(), 1) : Height(), Empty() ? 8 : BitCount());
}

void TDIB::SetHeight(int value) {
    if (value < 1)
        Clear();
    else
        SetSize(Empty() ? std::max(Width(), 1) : Width(), value, Empty() ? 8 : BitCount());
}

void TDIB::SetBitCount(int value) {
    if (value < 1)
        Clear();
    else if (Empty())
        SetSize(std::max(Width(), 1), std::max(Height(), 1), value);
    else
        ConvertBitCount(value);
}

// Keeps the old picture, makes the new one and carries every pixel over: indexes stay indexes
// when the bit count grows, colours go through the colour table into direct colours, and a
// smaller paletted form gets a fixed colour table with each pixel its nearest entry.
void TDIB::ConvertBitCount(int bitCount) {
    TDIB old(*this);
    SetSize(Width(), Height(), bitCount);
    if (FImage == old.FImage) return;
    // The old pixels are only read: a plain picture is read where it is, not copied.
    const std::shared_ptr<TDIBSharedImage> kept = old.Compressed() ? old.FImage->Decompressed() : old.FImage;
    const TDIBSharedImage& from = *kept;
    int oldBits = from.BitCount;
    bool toPalette = bitCount <= 8 && (oldBits > 8 || bitCount < oldBits);
    if (toPalette) {
        ColorTable = bitCount == 1 ? TColorTable{} : bitCount == 4 ? MakeRGBPalette(1, 2, 1) : MakeRGBPalette(3, 3, 2);
        if (bitCount == 1) ColorTable[1] = {255, 255, 255, 0};
        UpdatePalette();
    }
    TDIBSharedImage& to = *FImage;
    for (int y = 0; y < Height(); ++y) {
        const std::uint8_t* source = from.Pixels.data() + static_cast<std::size_t>(y) * from.WidthBytes;
        std::uint8_t* target = to.Pixels.data() + static_cast<std::size_t>(y) * to.WidthBytes;
        for (int x = 0; x < Width(); ++x) {
            std::uint32_t value;
            if (bitCount <= 8 && oldBits <= 8 && !toPalette)
                value = GetRaw(source, oldBits, x);
            else if (toPalette)
                value = NearestIndex(to.ColorTable, to.PaletteCount, GetRGB(from, source, x));
            else
                value = RawOfRGB(to, GetRGB(from, source, x));
            SetRaw(target, bitCount, x, value);
        }
    }
}

std::uint8_t* TDIB::Row(int y) const {
    if (y < 0 || y >= Height())
        throw EInvalidGraphicOperation("スキャンラインのインデックスが範囲を越えました (" + IntToStr(y) + ")");
    return FImage->Pixels.data() + static_cast<std::ptrdiff_t>(Height() - 1 - y) * WidthBytes();
}

std::uint8_t* TDIB::ScanLine(int y) {
    Row(y); // the range check comes before any copy
    MakeUnique();
    return Row(y);
}

std::uint8_t* TDIB::ScanLineReadOnly(int y) const { return Row(y); }

std::uint8_t* TDIB::PBits() {
    MakeUnique();
    return FImage->Pixels.data();
}

std::uint8_t* TDIB::TopPBits() {
    MakeUnique();
    return TopPBitsReadOnly();
}

std::uint8_t* TDIB::TopPBitsReadOnly() const {
    return Empty() ? nullptr : FImage->Pixels.data() + static_cast<std::ptrdiff_t>(Height() - 1) * WidthBytes();
}

void TDIB::UpdatePalette() {
    if (ColorTable == FImage->ColorTable) return;
    MakeUnique();
    FImage->ColorTable = ColorTable;
    if (FImage->PaletteCount > 0)
        std::memcpy(FImage->BitmapInfo.data() + FImage->ColorTablePos, ColorTable.data(),
                    static_cast<std::size_t>(4 * FImage->PaletteCount));
}

void TDIB::Assign(const TDIB& source) {
    if (&source != this) SwitchTo(source.FImage);
}

void TDIB::Decompress() {
    if (Compressed()) FImage = FImage->Decompressed();
}

void TDIB::LoadFromStream(TStream& stream) {
    std::uint8_t header[FileHeaderSize];
    std::size_t got = stream.Read(header, FileHeaderSize);
    if (got == 0) return;
    if (got != FileHeaderSize || header[0] != 'B' || header[1] != 'M') throw EInvalidGraphic(InvalidDIB);
    SwitchTo(ReadImage(stream));
}

void TDIB::SaveToStream(TStream& stream) const {
    if (Empty()) return;
    const TDIBSharedImage& image = *FImage;
    std::uint32_t imageSize = Get32(image.BitmapInfo.data() + 20);
    std::uint8_t header[FileHeaderSize] = {'B', 'M'};
    Put32(header + 2, static_cast<std::uint32_t>(image.BitmapInfoSize() + FileHeaderSize) + imageSize);
    Put32(header + 10, static_cast<std::uint32_t>(image.BitmapInfoSize() + FileHeaderSize));
    stream.WriteBuffer(header, FileHeaderSize);
    stream.WriteBuffer(image.BitmapInfo.data(), image.BitmapInfo.size());
    stream.WriteBuffer(image.Pixels.data(), imageSize);
}

void TDIB::LoadFromFile(const std::filesystem::path& name) {
    TFileStream stream(name, fmOpenRead);
    LoadFromStream(stream);
}

void TDIB::SaveToFile(const std::filesystem::path& name) const {
    TFileStream stream(name, fmCreate);
    SaveToStream(stream);
    stream.Close();
}

} // namespace quillon
