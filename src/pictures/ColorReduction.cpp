#include "ColorReduction.h"

#include "DIB.h"

#include <algorithm>
#include <cstring>

namespace quillon {
namespace {

constexpr std::uint32_t Key(TPaletteEntry c) {
    return c.Blue | (c.Green << 8) | (static_cast<std::uint32_t>(c.Red) << 16);
}

TPaletteEntry Entry(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return {blue, green, red, 0}; }

TPaletteEntry PixelAt(const std::uint8_t* p) { return {p[0], p[1], p[2], 0}; }

struct TTables {
    std::array<std::uint8_t, 256> Q5, Q6;
    TTables() {
        for (int v = 0; v < 256; ++v) {
            Q5[v] = static_cast<std::uint8_t>((v & 0xF8) | (v >> 5));
            Q6[v] = static_cast<std::uint8_t>((v & 0xFC) | (v >> 6));
        }
    }
};
const TTables Tables;

// A small open-addressing map from a 24-bit colour to a palette index, for at most 256 colours
// (the table stays at most a quarter full).
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
        std::uint32_t s = Hash(colour);
        while (FKeys[s] != 0) s = (s + 1) & (Slots - 1);
        FKeys[s] = colour + 1;
        FValues[s] = static_cast<std::uint8_t>(index);
    }

private:
    static std::uint32_t Hash(std::uint32_t c) { return (c * 0x9E3779B1u) >> 22; }
    std::array<std::uint32_t, Slots> FKeys{}; // colour + 1; 0 marks an empty slot
    std::array<std::uint8_t, Slots> FValues{};
};

// The general palette is three grids and two greys: entries 0..124 are the grid of the levels
// 0, 64, 128, 192, 255 (red fastest), entries 125..252 interleave the grids of 32, 96, 160, 224
// and of 16, 80, 144, 208, and 253 and 254 are the greys 240 and 248. The squared distance to a
// point of a grid is a sum over the channels, so a grid's nearest point is the nearest level of
// each channel; taking the lowest level among equally near ones in each channel gives the lowest
// index among the grid's equally near points. The nearest entry is then the best of five
// candidates, the lower index winning a tie, exactly as a search through all 255 entries finds it.
//
// Each candidate is weighed as distance x 256 + entry index, so the smallest weight is the nearest
// entry and, among equally near ones, the first; a channel's table holds its share of each weight.
class TNearestGeneral {
public:
    TNearestGeneral() {
        static constexpr std::uint8_t Levels[3][5] = {{0, 64, 128, 192, 255}, {32, 96, 160, 224}, {16, 80, 144, 208}};
        static constexpr int LevelCount[3] = {5, 4, 4};
        static constexpr int Greys[2] = {240, 248};
        static constexpr int Place[3][3] = {{25, 5, 1}, {32, 8, 2}, {32, 8, 2}}; // by grid, then blue, green, red
        for (int channel = 0; channel < 3; ++channel)
            for (int v = 0; v < 256; ++v) {
                std::uint32_t* w = FWeights[channel][v];
                for (int grid = 0; grid < 3; ++grid) {
                    int best = 0;
                    for (int k = 1; k < LevelCount[grid]; ++k)
                        if (Square(v - Levels[grid][k]) < Square(v - Levels[grid][best])) best = k;
                    w[grid] = Square(v - Levels[grid][best]) * 256 + best * Place[grid][channel];
                }
                for (int grey = 0; grey < 2; ++grey) w[3 + grey] = Square(v - Greys[grey]) * 256;
            }
    }

    int operator()(TPaletteEntry c) const {
        const std::uint32_t *b = FWeights[0][c.Blue], *g = FWeights[1][c.Green], *r = FWeights[2][c.Red];
        constexpr std::uint32_t First[5] = {0, 125, 126, 253, 254}; // each candidate's first entry
        std::uint32_t best = b[0] + g[0] + r[0];
        for (int k = 1; k < 5; ++k) best = std::min(best, First[k] + b[k] + g[k] + r[k]);
        return static_cast<int>(best & 255);
    }

private:
    static std::uint32_t Square(int v) { return static_cast<std::uint32_t>(v * v); }
    std::uint32_t FWeights[3][256][5]; // by channel (blue, green, red), value, candidate
};
const TNearestGeneral NearestGeneral;

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

TPaletteEntry FromKey(std::uint32_t c) {
    return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16), 0};
}

bool ReduceGeneral(const T24BitView& picture, const TReductionProgress& progress, TReducedPicture& out) {
    const std::uint32_t key = Key(PixelAt(picture.Top));
    out.Palette = GeneralPalette(PixelAt(picture.Top));
    auto indexOf = [&](std::uint32_t colour) { return colour == key ? 255 : NearestGeneralIndex(FromKey(colour)); };
    return MapPixels(
        picture, 255, progress, out.Indexes, [](TPaletteEntry c) { return c; }, indexOf);
}

template <class Transform>
bool ReduceExact(const T24BitView& picture, const TReductionProgress& progress, TReducedPicture& out,
                 Transform transform) {
    const TPaletteEntry keyColour = transform(PixelAt(picture.Top));
    const std::uint32_t key = Key(keyColour);
    out.Palette.fill({});
    out.Palette[0] = keyColour;
    int used = 0; // entries 1..used hold the colours met so far, all different from the key
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

int NearestGeneralIndex(TPaletteEntry c) { return NearestGeneral(c); }

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
