#include "ColorReduction.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace quillon {
namespace {

using TBytes = std::vector<std::uint8_t>;

// A 24-bit picture held top row first.
struct TPicture {
    int Width, Height;
    TBytes Pixels;
    TPicture(int w, int h, TPaletteEntry fill) : Width(w), Height(h), Pixels(static_cast<size_t>(w) * h * 3) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Set(x, y, fill);
    }
    void Set(int x, int y, TPaletteEntry c) {
        std::uint8_t* p = &Pixels[(static_cast<size_t>(y) * Width + x) * 3];
        p[0] = c.Blue, p[1] = c.Green, p[2] = c.Red;
    }
    TPaletteEntry Get(int x, int y) const {
        const std::uint8_t* p = &Pixels[(static_cast<size_t>(y) * Width + x) * 3];
        return {p[0], p[1], p[2], 0};
    }
    T24BitView View() const { return {Pixels.data(), Width * 3, Width, Height}; }
};

TPaletteEntry Rgb(int r, int g, int b) {
    return {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r), 0};
}

// A random colour, its parts drawn red first: one draw per statement, so that every build draws alike.
TPaletteEntry RandomRgb(std::mt19937& rng) {
    const int r = rng() & 255;
    const int g = rng() & 255;
    return Rgb(r, g, rng() & 255);
}

const TPaletteEntry Magenta = Rgb(255, 0, 255);

TEST(ColorReduction, GeneralPaletteEntries) {
    TPalette256 p = GeneralPalette(Magenta);
    EXPECT_EQ(p[0], Rgb(0, 0, 0));
    EXPECT_EQ(p[1], Rgb(64, 0, 0)); // red changes fastest
    EXPECT_EQ(p[5], Rgb(0, 64, 0));
    EXPECT_EQ(p[25], Rgb(0, 0, 64));
    EXPECT_EQ(p[124], Rgb(255, 255, 255));
    EXPECT_EQ(p[125], Rgb(32, 32, 32));
    EXPECT_EQ(p[126], Rgb(16, 16, 16));
    EXPECT_EQ(p[127], Rgb(96, 32, 32));
    EXPECT_EQ(p[252], Rgb(208, 208, 208));
    EXPECT_EQ(p[253], Rgb(240, 240, 240));
    EXPECT_EQ(p[254], Rgb(248, 248, 248));
    EXPECT_EQ(p[255], Magenta);
}

TEST(ColorReduction, Method0SpotValues) {
    TPicture pic(4, 2, Magenta);
    pic.Set(1, 0, Rgb(250, 250, 250));
    pic.Set(2, 0, Rgb(0, 0, 1));
    pic.Set(3, 0, Rgb(255, 0, 255)); // the key again
    pic.Set(0, 1, Rgb(60, 70, 200));
    pic.Set(1, 1, Rgb(60, 70, 200));
    TReducedPicture out;
    ASSERT_TRUE(ReduceColourPixels(pic.View(), 0, nullptr, out));
    EXPECT_EQ(out.Indexes, (TBytes{255, 254, 0, 255, out.Indexes[4], out.Indexes[4], 255, 255}));
    EXPECT_EQ(out.Indexes[4], NearestGeneralIndex(Rgb(60, 70, 200)));
    EXPECT_EQ(out.Palette, GeneralPalette(Magenta));
    // The key wins over an equal palette colour: a white key still maps to 255, not to 124.
    TPicture white(2, 1, Rgb(255, 255, 255));
    ASSERT_TRUE(ReduceColourPixels(white.View(), 0, nullptr, out));
    EXPECT_EQ(out.Indexes, (TBytes{255, 255}));
    // Any other method value is method 0.
    ASSERT_TRUE(ReduceColourPixels(pic.View(), 3, nullptr, out));
    EXPECT_EQ(out.Indexes[1], 254);
}

TEST(ColorReduction, NearestIsTheFirstOfTheSmallestDistance) {
    std::mt19937 rng(11);
    TPalette256 p = GeneralPalette(Magenta);
    for (int i = 0; i < 300; ++i) {
        TPaletteEntry c = RandomRgb(rng);
        auto dist = [&](int k) {
            int dr = c.Red - p[k].Red, dg = c.Green - p[k].Green, db = c.Blue - p[k].Blue;
            return dr * dr + dg * dg + db * db;
        };
        int best = 0;
        for (int k = 1; k < 255; ++k)
            if (dist(k) < dist(best)) best = k;
        ASSERT_EQ(NearestGeneralIndex(c), best);
    }
}

// Every value of one channel with the other two at values around the levels and midpoints of the
// palette, in each order, and random colours: the nearest entry is the first of the smallest
// squared distance.
TEST(ColorReduction, NearestAtEveryChannelValueIsTheFirstOfTheSmallestDistance) {
    const TPalette256 p = GeneralPalette(Magenta);
    auto check = [&](TPaletteEntry c) {
        auto dist = [&](int k) {
            int dr = c.Red - p[k].Red, dg = c.Green - p[k].Green, db = c.Blue - p[k].Blue;
            return dr * dr + dg * dg + db * db;
        };
        int best = 0;
        for (int k = 1; k < 255; ++k)
            if (dist(k) < dist(best)) best = k;
        ASSERT_EQ(NearestGeneralIndex(c), best) << int(c.Red) << " " << int(c.Green) << " " << int(c.Blue);
    };
    const int others[] = {0,   8,   24,  31,  32,  40,  48,  56,  63,  64,  72,  88,  104, 112, 120,
                          136, 152, 168, 176, 184, 200, 216, 224, 232, 236, 240, 244, 248, 252, 255};
    for (int v = 0; v < 256; ++v)
        for (int a : others)
            for (int b : others) {
                ASSERT_NO_FATAL_FAILURE(check(Rgb(v, a, b)));
                ASSERT_NO_FATAL_FAILURE(check(Rgb(a, v, b)));
                ASSERT_NO_FATAL_FAILURE(check(Rgb(a, b, v)));
            }
    std::mt19937 rng(12);
    for (int i = 0; i < 20000; ++i) ASSERT_NO_FATAL_FAILURE(check(RandomRgb(rng)));
}

// A sheet of a few hundred thousand colours reduces to the very indexes and palette it always had
// (the digest was taken from the plain nearest-entry search).
TEST(ColorReduction, Method0OfAManyColourSheetIsUnchanged) {
    TPicture pic(640, 720, Magenta);
    std::mt19937 rng(640);
    for (int y = 0; y < pic.Height; ++y)
        for (int x = 0; x < pic.Width; ++x)
            if (x % 16 || y % 16) {
                // Blue is drawn first, then green, as when the digest was taken.
                const int b = rng() & 255;
                const int g = (y * 3 + rng() % 48) & 255;
                pic.Set(x, y, Rgb((x * 5 + rng() % 48) & 255, g, b));
            }
    TReducedPicture out;
    ASSERT_TRUE(ReduceColourPixels(pic.View(), 0, nullptr, out));
    EXPECT_EQ(out.Palette, GeneralPalette(Magenta));
    std::uint64_t digest = 1469598103934665603u; // FNV-1a over the indexes
    for (std::uint8_t index : out.Indexes) digest = (digest ^ index) * 1099511628211u;
    EXPECT_EQ(digest, 8032262999917474106u);
}

TEST(ColorReduction, AllKeySheet) {
    TPicture pic(5, 3, Rgb(1, 2, 3));
    TReducedPicture out;
    ASSERT_TRUE(ReduceColourPixels(pic.View(), 0, nullptr, out));
    EXPECT_EQ(out.Indexes, TBytes(15, 255));
    for (int method : {1, 2}) {
        ASSERT_TRUE(ReduceColourPixels(pic.View(), method, nullptr, out));
        EXPECT_EQ(out.Indexes, TBytes(15, 0));
        EXPECT_EQ(out.Palette[0], method == 1 ? Rgb(1, 2, 3) : Quantise565(Rgb(1, 2, 3)));
    }
}

// n distinct colours, the key first, scattered over a 32-wide picture.
TPicture ManyColours(int n) {
    TPicture pic(32, (n + 31) / 32 * 2, Magenta);
    for (int i = 1; i < n; ++i) pic.Set(i % 32, (i / 32) * 2 + (i % 3 == 0), Rgb(i & 255, i >> 8, 7));
    return pic;
}

TEST(ColorReduction, Method1IsLosslessUpTo256Colours) {
    TPicture pic = ManyColours(256);
    TReducedPicture out;
    ASSERT_TRUE(ReduceColourPixels(pic.View(), 1, nullptr, out));
    EXPECT_EQ(out.Palette[0], Magenta);
    for (int y = 0; y < pic.Height; ++y)
        for (int x = 0; x < pic.Width; ++x)
            ASSERT_EQ(out.Palette[out.Indexes[y * pic.Width + x]], pic.Get(x, y)) << x << "," << y;
    // First appearance order, scanning from the top-left.
    EXPECT_EQ(out.Indexes[1], 1);
    EXPECT_EQ(out.Palette[1], pic.Get(1, 0));
    EXPECT_FALSE(ReduceColourPixels(ManyColours(257).View(), 1, nullptr, out));
}

TEST(ColorReduction, Method2FoldsNearColours) {
    TPicture pic(64, 8, Magenta);
    std::mt19937 rng(3);
    // 300 colours that differ only in the bits that 5-6-5 drops.
    for (int i = 1; i < 300; ++i)
        pic.Set(i % 64, i / 64, Rgb(0x80 | (i & 7), 0x40 | ((i >> 3) & 3), 0x20 | ((i >> 5) & 7)));
    TReducedPicture out;
    EXPECT_FALSE(ReduceColourPixels(pic.View(), 1, nullptr, out));
    ASSERT_TRUE(ReduceColourPixels(pic.View(), 2, nullptr, out));
    EXPECT_EQ(out.Palette[0], Quantise565(Magenta));
    EXPECT_EQ(out.Palette[1], Quantise565(pic.Get(1, 0)));
    for (int y = 0; y < pic.Height; ++y)
        for (int x = 0; x < pic.Width; ++x)
            ASSERT_EQ(out.Palette[out.Indexes[y * pic.Width + x]], Quantise565(pic.Get(x, y)));
    EXPECT_EQ(Quantise565(Rgb(0xFF, 0x83, 0x07)), Rgb(0xFF, 0x82, 0x00));
}

TEST(ColorReduction, ProgressPerRowAndCancel) {
    TPicture pic(4, 4, Magenta);
    for (int method : {0, 1, 2}) {
        SCOPED_TRACE(method);
        std::vector<int> seen;
        TReducedPicture out;
        ASSERT_TRUE(ReduceColourPixels(
            pic.View(), method, [&](int percent, bool&) { seen.push_back(percent); }, out));
        std::vector<int> expected{25, 50, 75, 100};
        if (method != 0) expected.insert(expected.begin(), 0);
        EXPECT_EQ(seen, expected);
        // Cancel is looked at after the first row, also in the initial report of methods 1 and 2.
        seen.clear();
        EXPECT_FALSE(ReduceColourPixels(
            pic.View(), method,
            [&](int percent, bool& cancel) {
                seen.push_back(percent);
                cancel = true;
            },
            out));
        EXPECT_EQ(seen.back(), 25);
    }
}

} // namespace
} // namespace quillon

#include "DIB.h"
#include "PatMakeFixtures.h"

namespace quillon {
namespace {

// A 24-bit sheet of n distinct colours (the top-left one is the key), shared with a second DIB
// that must never see a change.
struct TSheet {
    TDIB Dib, Witness;
    explicit TSheet(int n) {
        Dib = testing::MakePicture(
            40, 20, 24, [n](int x, int y) { return static_cast<std::uint32_t>((y * 40 + x) % n) * 0x010203u; });
        Witness.Assign(Dib);
    }
    std::uint32_t Pixel24(int x, int y) const {
        const std::uint8_t* p = Witness.ScanLineReadOnly(y) + 3 * x;
        return p[0] | p[1] << 8 | p[2] << 16;
    }
    bool Unchanged() const {
        return Dib.BitCount() == 24 && Dib.Width() == 40 &&
               std::memcmp(Dib.TopPBitsReadOnly() + Dib.NextLine() * 19,
                           Witness.TopPBitsReadOnly() + Witness.NextLine() * 19,
                           static_cast<std::size_t>(Dib.Size())) == 0;
    }
};

TEST(ReduceColours, Method1OnASheetIsLossless) {
    TSheet sheet(256);
    ASSERT_TRUE(ReduceColours(sheet.Dib, 1, nullptr));
    ASSERT_EQ(sheet.Dib.BitCount(), 8);
    EXPECT_EQ(sheet.Witness.BitCount(), 24);
    const TColorTable& table = sheet.Dib.ImageColorTable();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            // An entry is blue, green, red, 0 in memory, as a 24-bit pixel is blue, green, red.
            std::uint32_t entry = 0;
            std::memcpy(&entry, &table[sheet.Dib.ScanLineReadOnly(y)[x]], 3);
            ASSERT_EQ(entry, sheet.Pixel24(x, y)) << x << "," << y;
        }
}

TEST(ReduceColours, RefusalAndCancelLeaveTheSheetUnchanged) {
    TSheet many(257);
    EXPECT_FALSE(ReduceColours(many.Dib, 1, nullptr));
    EXPECT_TRUE(many.Unchanged());
    for (int method : {0, 1, 2}) {
        TSheet sheet(10);
        EXPECT_FALSE(ReduceColours(sheet.Dib, method, [](int percent, bool& cancel) { cancel = percent > 0; }));
        EXPECT_TRUE(sheet.Unchanged());
    }
}

} // namespace
} // namespace quillon
