#include "ColorReduction.h"

#include "DIB.h"

#include <cstring>

namespace quillon {
namespace {

constexpr std::uint32_t Key(TPaletteEntry c) { return c.Blue | (c.Green << 8) | (static_cast<std::uint32_t>(c.Red) << 16); }

TPaletteEntry Entry(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return {blue, green, red, 0}; }

TPaletteEntry PixelAt(const std::uint8_t* p) { return {p[0], p[1], p[2], 0}; }

struct TTables {
    std::array<std::uint16_t, 256> Square;
    std::array<std::uint8_t, 256> Q5, Q6;
    TTables() {
        for (int v = 0; v < 256; ++v) {
            Square[v] = static_cast<std::uint16_t>(v * v);
            Q5[v] = static_cast<std::uint8_t>((v & 0xF8) | (v >> 5));
            Q6[v] = static_cast<std::uint8_t>((v & 0xFC) | (v >> 6));
        }
    }
};
const TTables Tables;
const TPalette256 General = GeneralPalette({});

// A small open-addressing map from a 24-bit colour to a palette index, for at most 256 colours
// (method 1) or as a cache of nearest entries (method 0, where it is simply emptied when full).
class TColourIndex {
public:
    static constexpr int Slots = 1024;
    // The index held for colour, or -1.
    int Find(std::uint32_t colour) const {
        for (std::uint32_t s = Hash(colour);; s = (s + 1) & (Slots - 1)) {
            if (FKeys[s] == 0) return -1;
            if (FKeys[s] == colour + 1) return FValues[s];
        }
    }
    void Insert(std::uint32_t colour, int index) {
        if (++FUsed > Slots / 2) {
            FKeys.fill(0);
            FUsed = 1;
        }
        std::uint32_t s = Hash(colour);
        while (FKeys[s] != 0) s = (s + 1) & (Slots - 1);
        FKeys[s] = colour + 1;
        FValues[s] = static_cast<std::uint8_t>(index);
    }

private:
    static std::uint32_t Hash(std::uint32_t c) { return (c * 0x9E3779B1u) >> 22; }
    std::array<std::uint32_t, Slots> FKeys{};  // colour + 1; 0 marks an empty slot
    std::array<std::uint8_t, Slots> FValues{};
    int FUsed = 0;
};

// Walks the pixels row by row, giving each pixel the index that indexOf chooses unless it equals
// the pixel before it; reports the percentage after every row.
template <class Transform, class IndexOf>
bool MapPixels(const T24BitView& picture, std::uint8_t firstIndex, const TReductionProgress& progress,
               std::vector<std::uint8_t>& indexes, Transform transform, IndexOf indexOf) {
    indexes.assign(static_cast<std::size_t>(picture.Width) * picture.Height, 0);
    std::uint32_t previous = Key(transform(PixelAt(picture.Top)));
    int previousIndex = firstIndex;
    std::uint8_t* out = indexes.data();
    for (int y = 0; y < picture.Height; ++y) {
        const std::uint8_t* p = picture.Top + y * picture.RowStep;
        for (int x = 0; x < picture.Width; ++x, p += 3, ++out) {
            if (x > 0 || y > 0) {
                std::uint32_t colour = Key(transform(PixelAt(p)));
                if (colour != previous) {
                    previousIndex = indexOf(colour);
                    if (previousIndex < 0) return false;
                    previous = colour;
                }
            }
            *out = static_cast<std::uint8_t>(previousIndex);
        }
        bool cancel = false;
        if (progress) progress((y + 1) * 100 / picture.Height, cancel);
        if (cancel) return false;
    }
    return true;
}

TPaletteEntry FromKey(std::uint32_t c) { return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16), 0}; }

bool ReduceGeneral(const T24BitView& picture, const TReductionProgress& progress, TReducedPicture& out) {
    const std::uint32_t key = Key(PixelAt(picture.Top));
    out.Palette = GeneralPalette(PixelAt(picture.Top));
    TColourIndex nearest;
    auto indexOf = [&](std::uint32_t colour) {
        if (colour == key) return 255;
        int index = nearest.Find(colour);
        if (index < 0) {
            index = NearestGeneralIndex(FromKey(colour));
            nearest.Insert(colour, index);
        }
        return index;
    };
    return MapPixels(picture, 255, progress, out.Indexes, [](TPaletteEntry c) { return c; }, indexOf);
}

template <class Transform>
bool ReduceExact(const T24BitView& picture, const TReductionProgress& progress, TReducedPicture& out,
                 Transform transform) {
    const TPaletteEntry keyColour = transform(PixelAt(picture.Top));
    const std::uint32_t key = Key(keyColour);
    out.Palette.fill({});
    out.Palette[0] = keyColour;
    int used = 0;  // entries 1..used hold the colours met so far, all different from the key
    TColourIndex known;
    auto indexOf = [&](std::uint32_t colour) {
        if (colour == key) return 0;
        int index = known.Find(colour);
        if (index >= 0) return index;
        if (used == 255) return -1;
        ++used;
        out.Palette[used] = FromKey(colour);
        known.Insert(colour, used);
        return used;
    };
    if (progress) {
        bool ignored = false;
        progress(0, ignored);
    }
    return MapPixels(picture, 0, progress, out.Indexes, transform, indexOf);
}

} // namespace

TPalette256 GeneralPalette(TPaletteEntry key) {
    static constexpr std::uint8_t L[] = {0, 64, 128, 192, 255};
    static constexpr std::uint8_t A[] = {32, 96, 160, 224};
    static constexpr std::uint8_t B[] = {16, 80, 144, 208};
    TPalette256 p{};
    for (int b = 0; b < 5; ++b)
        for (int g = 0; g < 5; ++g)
            for (int r = 0; r < 5; ++r) p[25 * b + 5 * g + r] = Entry(L[r], L[g], L[b]);
    for (int b = 0; b < 4; ++b)
        for (int g = 0; g < 4; ++g)
            for (int r = 0; r < 4; ++r) {
                int i = 125 + 2 * (16 * b + 4 * g + r);
                p[i] = Entry(A[r], A[g], A[b]);
                p[i + 1] = Entry(B[r], B[g], B[b]);
            }
    p[253] = Entry(240, 240, 240);
    p[254] = Entry(248, 248, 248);
    p[255] = key;
    p[255].Reserved = 0;
    return p;
}

int NearestGeneralIndex(TPaletteEntry c) {
    auto diff = [](int a, int b) { return Tables.Square[a > b ? a - b : b - a]; };
    int best = 0;
    int bestDistance = 3 * 65025 + 1;
    for (int i = 0; i < 255; ++i) {
        const TPaletteEntry& e = General[i];
        int d = diff(c.Red, e.Red) + diff(c.Green, e.Green) + diff(c.Blue, e.Blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

TPaletteEntry Quantise565(TPaletteEntry c) { return {Tables.Q5[c.Blue], Tables.Q6[c.Green], Tables.Q5[c.Red], 0}; }

bool ReduceColourPixels(const T24BitView& picture, int method, const TReductionProgress& progress,
                        TReducedPicture& out) {
    if (picture.Width <= 0 || picture.Height <= 0) return false;
    switch (method) {
    case 1: return ReduceExact(picture, progress, out, [](TPaletteEntry c) { return c; });
    case 2: return ReduceExact(picture, progress, out, Quantise565);
    default: return ReduceGeneral(picture, progress, out);
    }
}

bool ReduceColours(TDIB& sheet, int method, const TReductionProgress& progress) {
    const T24BitView view{sheet.TopPBitsReadOnly(), sheet.NextLine(), sheet.Width(), sheet.Height()};
    TReducedPicture reduced;
    if (!ReduceColourPixels(view, method, progress, reduced)) return false;
    TDIB result;
    result.ColorTable = reduced.Palette;
    result.SetSize(view.Width, view.Height, 8);
    result.UpdatePalette();
    for (int y = 0; y < view.Height; ++y)
        std::memcpy(result.ScanLine(y), reduced.Indexes.data() + static_cast<std::size_t>(y) * view.Width,
                    static_cast<std::size_t>(view.Width));
    sheet.Assign(result);
    return true;
}

} // namespace quillon
