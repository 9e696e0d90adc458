#include "Images.h"

#include <cstring>
#include <new>

namespace quillon {

namespace {

const TRect Screen{0, 0, ScreenWidth, ScreenHeight};

std::uint32_t Get32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// trunc(a * b / c) for c > 0, exactly.
int MulDivTrunc(std::int64_t a, std::int64_t b, std::int64_t c) { return static_cast<int>(a * b / c); }

// The 2.14 fixed-point step of sourceSize source pixels over destinationSize target pixels.
std::uint32_t Step(std::int64_t sourceSize, std::int64_t destinationSize) {
    return static_cast<std::uint32_t>(std::min<std::int64_t>(sourceSize * 16384 / destinationSize, UINT32_MAX));
}

} // namespace

void FillDWord(void* destination, int count, std::uint32_t value) {
    auto* d = static_cast<std::uint8_t*>(destination);
    for (int i = 0; i < count; ++i) std::memcpy(d + 4 * i, &value, 4);
}

void KeyTopLeftColour(TColorTable& palette, std::uint8_t* bits, int width, int height, int pitch) {
    std::uint8_t k = bits[0];
    std::swap(palette[0], palette[k]);
    auto colour555 = [&](int i) { return RGBTo555(palette[i].Red, palette[i].Green, palette[i].Blue); };
    bool marked[256] = {true};
    for (int i = 1; i < 256; ++i) marked[i] = colour555(i) == colour555(0);
    std::uint8_t map[256];
    for (int p = 0; p < 256; ++p) map[p] = marked[p] ? 0 : static_cast<std::uint8_t>(p);
    map[k] = 0;
    map[0] = marked[k] ? 0 : k;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * pitch;
        for (int x = 0; x < width; ++x) row[x] = map[row[x]];
    }
}

bool TPaletted8Bitmap::LoadFromFile(const std::filesystem::path& name) {
    *this = TPaletted8Bitmap();
    try {
        TFileStream stream(name, fmOpenRead);
        std::uint8_t h[40];
        if (stream.Read(h, 14) != 14 || h[0] != 'B' || h[1] != 'M') return false;
        if (stream.Read(h, 4) != 4) return false;
        std::int64_t headerSize = Get32(h);
        if (headerSize < 40 || headerSize > stream.Remaining() + 4) return false;
        stream.ReadBuffer(h + 4, 36);
        stream.Seek(headerSize - 40, soCurrent);
        std::int32_t width = static_cast<std::int32_t>(Get32(h + 4));
        std::int32_t height = static_cast<std::int32_t>(Get32(h + 8));
        std::uint32_t planes = h[12] | h[13] << 8, bitCount = h[14] | h[15] << 8;
        std::uint32_t compression = Get32(h + 16), sizeImage = Get32(h + 20), colours = Get32(h + 32);
        if ((compression != 0 && compression != 3) || planes != 1 || bitCount != 8) return false;
        if (colours == 0) colours = 256;
        if (colours > 256 || width < 1 || height == 0 || height == INT32_MIN) return false;
        std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
        if (!PictureSizeAllowed(width, rows)) return false;
        std::int64_t pitch = (std::int64_t{width} * 8 + 31) / 32 * 4;
        std::int64_t total = pitch * rows;
        Colors.resize(colours);
        stream.ReadBuffer(Colors.data(), 4 * colours);
        std::int64_t available = std::min({stream.Remaining(), sizeImage ? std::int64_t{sizeImage} : total, total});
        Rows.assign(static_cast<std::size_t>(total), 0);
        stream.ReadBuffer(Rows.data(), static_cast<std::size_t>(available));
        Width = width;
        Height = static_cast<int>(rows);
        Pitch = static_cast<int>(pitch);
        TopDown = height < 0;
        return true;
    } catch (const EStreamError&) {
    } catch (const std::bad_alloc&) {
    }
    *this = TPaletted8Bitmap();
    return false;
}

const std::uint8_t* TPaletted8Bitmap::PictureRow(int y) const {
    return Rows.data() + static_cast<std::ptrdiff_t>(TopDown ? y : Height - 1 - y) * Pitch;
}

void TPaletted8Bitmap::CopyColors(TColorTable& palette) const {
    for (std::size_t i = 0; i < Colors.size(); ++i) {
        palette[i] = Colors[i];
        if (palette[i].Reserved == 0) palette[i].Reserved = 255;
    }
}

bool TBaseImage::SourcePart(TRect& part, const TRect& source, int flags) const {
    auto inside = [&] { return part.Left >= 0 && part.Top >= 0 && part.Right <= FWidth && part.Bottom <= FHeight; };
    if (!inside()) return false;
    if (flags & dfMirror) {
        int left = source.Left + (source.Right - part.Right);
        part = {left, part.Top, left + part.Width(), part.Bottom};
    }
    if (flags & dfFlip) {
        int top = source.Top + (source.Bottom - part.Bottom);
        part = {part.Left, top, part.Right, top + part.Height()};
    }
    // The reflected part lies within the source rectangle, which may itself reach outside.
    return inside();
}

void TBaseImage::Draw(const TRenderTarget& target, int /*zoom*/, int x, int y, const TRect& source,
                      const TColorTable* palette, int flags, int mode, int alpha) {
    TRect visible = Intersect({x, y, x + source.Width(), y + source.Height()}, Screen);
    if (visible.IsEmpty()) return;
    int dx = source.Left - x, dy = source.Top - y;
    TRect part{visible.Left + dx, visible.Top + dy, visible.Right + dx, visible.Bottom + dy};
    if (SourcePart(part, source, flags)) DrawRect(target, visible, part, palette, flags, mode, alpha);
}

void TBaseImage::StretchDraw(const TRenderTarget& target, int zoom, const TRect& destination, const TRect& source,
                             const TColorTable* palette, int flags, int mode, int alpha) {
    TRect visible = Intersect(destination, Screen);
    if (visible.IsEmpty() || source.IsEmpty() || zoom < 1) return;
    std::int64_t sw = source.Width(), sh = source.Height(), dw = destination.Width(), dh = destination.Height();
    TRect part{source.Left - MulDivTrunc(destination.Left - visible.Left, sw, dw),
               source.Top - MulDivTrunc(destination.Top - visible.Top, sh, dh),
               source.Right - MulDivTrunc(destination.Right - visible.Right, sw, dw),
               source.Bottom - MulDivTrunc(destination.Bottom - visible.Bottom, sh, dh)};
    if (SourcePart(part, source, flags))
        StretchDrawRect(target, zoom, visible, part, Step(sw, dw), Step(sh, dh), palette, flags, mode, alpha);
}

bool TSoftRender::SetSize(int width, int height, bool transparent) {
    Clear();
    if (!PictureSizeAllowed(width, height)) return false;
    std::int64_t size = std::int64_t{RowStride(width)} * height + 7;
    try {
        FBuffer.assign(static_cast<std::size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FBits = FBuffer.data() + (-reinterpret_cast<std::uintptr_t>(FBuffer.data()) & 7);
    FWidth = width;
    FHeight = height;
    FPitch = RowStride(width);
    FTransparent = transparent;
    return true;
}

void TSoftRender::Clear() {
    if (FBuffer.empty()) return;
    std::vector<std::uint8_t>().swap(FBuffer);
    FBits = nullptr;
    FWidth = FHeight = 1;
    FPitch = 0;
    FTransparent = false;
}

void TSoftRender::SetBits(const TColorTable& palette, const std::uint8_t* pixels, int width, int height) {
    FPalette = palette;
    if (!FBits) return;
    int rows = std::min(height, FHeight), columns = std::min(width, FWidth);
    for (int i = 0; i < rows; ++i)
        std::memcpy(FBits + static_cast<std::ptrdiff_t>(i) * FPitch,
                    pixels + static_cast<std::ptrdiff_t>(i) * RowStride(width), static_cast<std::size_t>(columns));
}

bool TSoftRender::LoadFromFile(const std::filesystem::path& name, const TColorTable* palette, bool transparent) {
    Clear();
    TPaletted8Bitmap bitmap;
    if (!bitmap.LoadFromFile(name) || !SetSize(bitmap.Width, bitmap.Height, transparent)) return false;
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(FBits + static_cast<std::ptrdiff_t>(y) * FPitch, bitmap.PictureRow(y),
                    static_cast<std::size_t>(FPitch));
    if (palette)
        FPalette = *palette;
    else
        bitmap.CopyColors(FPalette);
    if (transparent) KeyTopLeftColour(FPalette, FBits, FWidth, FHeight, FPitch);
    return true;
}

void TSoftRender::DrawRect(const TRenderTarget& target, const TRect& visible, const TRect& source,
                           const TColorTable* palette, int flags, int mode, int alpha) {
    TRowRoutine routine = RowRoutine(mode, FTransparent, flags & dfMirror, false);
    if (!FBits || !routine) return;
    const TRGBQuad* colours = (palette ? *palette : FPalette).data();
    for (int i = 0; i < source.Height(); ++i) {
        int row = flags & dfFlip ? visible.Bottom - 1 - i : visible.Top + i;
        routine(target.Bits + static_cast<std::ptrdiff_t>(row) * target.Pitch + 4 * visible.Left,
                FBits + static_cast<std::ptrdiff_t>(source.Top + i) * FPitch + source.Left, source.Width(), colours,
                alpha, 0);
    }
}

void TSoftRender::StretchDrawRect(const TRenderTarget& target, int zoom, const TRect& visible, const TRect& source,
                                  std::uint32_t xStep, std::uint32_t yStep, const TColorTable* palette, int flags,
                                  int mode, int alpha) {
    TRowRoutine routine = RowRoutine(mode, FTransparent, flags & dfMirror, true);
    if (!FBits || !routine || zoom < 1) return;
    const TRGBQuad* colours = (palette ? *palette : FPalette).data();
    TRect zoomed{visible.Left * zoom, visible.Top * zoom, visible.Right * zoom, visible.Bottom * zoom};
    xStep /= static_cast<std::uint32_t>(zoom);
    yStep /= static_cast<std::uint32_t>(zoom);
    for (int n = 0; n < zoomed.Height(); ++n) {
        std::uint32_t q = static_cast<std::uint32_t>(n) * yStep;
        int row = flags & dfFlip ? zoomed.Bottom - 1 - n : zoomed.Top + n;
        routine(target.Bits + static_cast<std::ptrdiff_t>(row) * target.Pitch + 4 * zoomed.Left,
                FBits + static_cast<std::ptrdiff_t>(source.Top + (q >> 14)) * FPitch + source.Left, zoomed.Width(),
                colours, alpha, xStep);
    }
}

} // namespace quillon
