#include "Images.h"
#include "RenderReference.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillon;
using namespace quillon::test;

namespace {

// A random picture in both forms, the soft render and the reference's.
struct TPicture {
    TSoftRender Render;
    TRefImage Ref;
};

void MakePicture(TPicture& p, int width, int height, bool transparent, std::mt19937& random) {
    p.Ref.Width = width;
    p.Ref.Height = height;
    p.Ref.Transparent = transparent;
    for (TRGBQuad& q : p.Ref.Palette)
        q = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())};
    p.Ref.Pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::uint8_t& v : p.Ref.Pixels) v = random() % 4 == 0 ? 0 : static_cast<std::uint8_t>(random());
    ASSERT_TRUE(p.Render.SetSize(width, height, transparent));
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(RowStride(width)) * height);
    for (int y = 0; y < height; ++y)
        std::copy_n(p.Ref.Pixels.begin() + y * width, width, rows.begin() + y * RowStride(width));
    p.Render.SetBits(p.Ref.Palette, rows.data(), width, height);
}

// Fills the target with a pattern that differs from round to round.
void Randomise(std::vector<std::uint8_t>& bytes, std::mt19937& random) {
    std::uint32_t seed = random();
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13 ^ seed);
}

int Between(std::mt19937& random, int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); }

TRect RandomSource(std::mt19937& random, int width, int height) {
    int l = Between(random, -4, width - 1), t = Between(random, -4, height - 1);
    return {l, t, l + Between(random, 1, width + 4), t + Between(random, 1, height + 4)};
}

// One pixel of the target, as a 4-byte value, for single-pixel checks.
std::array<std::uint8_t, 4> At(TRefTarget& t, int x, int y) {
    std::array<std::uint8_t, 4> v;
    std::memcpy(v.data(), t.Pixel(x, y), 4);
    return v;
}

} // namespace

TEST(Blend, ArithmeticTable) {
    EXPECT_EQ(BlendAlpha(200, 100, 127), 150);
    EXPECT_EQ(BlendAlpha(0, 1, 127), 1) << "truncates toward zero: -128 / 256 is 0";
    EXPECT_EQ(BlendAlpha(0, 255, 127), 128);
    EXPECT_EQ(BlendAlpha(17, 230, 255), 17) << "alpha 255 gives the colour";
    EXPECT_EQ(BlendAlpha(17, 230, 0), 230) << "alpha 0 leaves the target";
    EXPECT_EQ(BlendAdd(200, 100), 255);
    EXPECT_EQ(BlendAdd(20, 100), 120);
    EXPECT_EQ(BlendMultiply(128, 200), 100);
    EXPECT_EQ(BlendMultiply(255, 77), 77) << "white leaves the target";
    EXPECT_EQ(BlendMultiply(0, 77), 0);
    EXPECT_EQ(RowStride(1), 4);
    EXPECT_EQ(RowStride(5), 8);
    EXPECT_EQ(RGBTo555(0xFF, 0x08, 0x07), 0x7C00 | 1 << 5);
}

TEST(Blend, MirroredRowOfFivePixelsInEveryMode) {
    const std::uint8_t source[8] = {1, 2, 3, 4, 5};
    TColorTable palette{};
    for (int i = 1; i <= 5; ++i) palette[i] = {std::uint8_t(10 * i), std::uint8_t(10 * i), std::uint8_t(10 * i), 255};
    for (int mode : {0, 2, 3, 5})
        for (bool stepped : {false, true}) {
            std::uint8_t target[20] = {};
            std::fill(target, target + 20, 255);
            RowRoutine(mode, false, true, stepped)(target, source, 5, palette.data(), 255, 16384);
            for (int k = 0; k < 5; ++k) {
                std::uint8_t expected = mode == 3 ? 255 : mode == 5 ? BlendMultiply(10 * (k + 1), 255) : 10 * (k + 1);
                EXPECT_EQ(target[4 * (4 - k)], expected) << mode << " pixel " << k;
            }
        }
    for (int mode : {1, 4, 6, 255}) EXPECT_EQ(RowRoutine(mode, false, false, false), nullptr);
}

TEST(Renderer, DrawMatchesReference) {
    std::mt19937 random(21);
    TPicture pic;
    for (int round = 0; round < 200; ++round) {
        if (round % 20 == 0) MakePicture(pic, Between(random, 8, 90), Between(random, 8, 70), random() % 2, random);
        TRect src = RandomSource(random, pic.Ref.Width, pic.Ref.Height);
        int x = Between(random, -100, 330), y = Between(random, -80, 250);
        int flags = Between(random, 0, 3), mode = Between(random, 0, 6), alpha = Between(random, 0, 255);
        TRefTarget a(1), b(1);
        Randomise(a.Bytes, random);
        b.Bytes = a.Bytes;
        pic.Render.Draw(a.Target(), 1, x, y, src, nullptr, flags, mode, alpha);
        RefStretchDraw(b, pic.Ref, {x, y, x + src.Width(), y + src.Height()}, src, flags, mode, alpha);
        ASSERT_TRUE(a.Bytes == b.Bytes) << "round " << round << " flags " << flags << " mode " << mode;
    }
}

TEST(Renderer, StretchDrawMatchesReference) {
    std::mt19937 random(22);
    TPicture pic;
    for (int round = 0; round < 120; ++round) {
        if (round % 12 == 0) MakePicture(pic, Between(random, 8, 90), Between(random, 8, 70), random() % 2, random);
        TRect src = RandomSource(random, pic.Ref.Width, pic.Ref.Height);
        int x = Between(random, -100, 330), y = Between(random, -80, 250);
        TRect dst{x, y, x + Between(random, 1, 200), y + Between(random, 1, 160)};
        int zoom = Between(random, 1, 4);
        int flags = Between(random, 0, 3), mode = Between(random, 0, 6), alpha = Between(random, 0, 255);
        TRefTarget a(zoom), b(zoom);
        Randomise(a.Bytes, random);
        b.Bytes = a.Bytes;
        pic.Render.StretchDraw(a.Target(), zoom, dst, src, nullptr, flags, mode, alpha);
        RefStretchDraw(b, pic.Ref, dst, src, flags, mode, alpha);
        ASSERT_TRUE(a.Bytes == b.Bytes) << "round " << round << " zoom " << zoom << " flags " << flags;
    }
}

TEST(Renderer, BottomUpTargetAndGivenPalette) {
    std::mt19937 random(23);
    TPicture pic;
    MakePicture(pic, 20, 10, false, random);
    TColorTable other = pic.Ref.Palette;
    std::reverse(other.begin(), other.end());
    TRefTarget a(1), b(1);
    // The same picture stored bottom row first: the target's address is its last row, step negative.
    TRenderTarget bottomUp{a.Bytes.data() + 239 * 1280, -1280};
    pic.Render.Draw(bottomUp, 1, 5, 7, {0, 0, 20, 10}, &other, 0, 0, 0);
    pic.Ref.Palette = other;
    RefStretchDraw(b, pic.Ref, {5, 7, 25, 17}, {0, 0, 20, 10}, 0, 0, 0);
    for (int y = 0; y < 240; ++y) ASSERT_EQ(At(a, 10, 239 - y), At(b, 10, y)) << y;
}

TEST(Renderer, ClippingAndBounds) {
    std::mt19937 random(24);
    TPicture pic;
    MakePicture(pic, 16, 16, false, random);
    TRefTarget t(1);
    std::vector<std::uint8_t> before = t.Bytes;
    pic.Render.Draw(t.Target(), 1, 320, 0, {0, 0, 16, 16}, nullptr, 0, 0, 0);
    pic.Render.Draw(t.Target(), 1, -16, -16, {0, 0, 16, 16}, nullptr, 0, 0, 0);
    pic.Render.Draw(t.Target(), 1, 0, 0, {8, 0, 24, 16}, nullptr, 0, 0, 0); // reaches past the image
    pic.Render.StretchDraw(t.Target(), 1, {0, 0, 32, 32}, {-1, 0, 16, 16}, nullptr, 0, 0, 0);
    EXPECT_TRUE(t.Bytes == before);
    // Visible part inside the image, its mirror image outside: nothing is read from outside.
    pic.Render.Draw(t.Target(), 1, -8, 0, {0, 0, 24, 16}, nullptr, dfMirror, 0, 0);
    EXPECT_TRUE(t.Bytes == before);
    // Clipped on the left, mirrored: the visible columns show the source's left part reversed.
    pic.Render.Draw(t.Target(), 1, -4, 0, {0, 0, 16, 16}, nullptr, dfMirror, 0, 0);
    for (int x = 0; x < 12; ++x) {
        const TRGBQuad& c = pic.Ref.Palette[pic.Ref.Pixels[11 - x]];
        EXPECT_EQ(At(t, x, 0), (std::array<std::uint8_t, 4>{c.Blue, c.Green, c.Red, c.Reserved})) << x;
    }
    TSoftRender empty;
    empty.Draw(t.Target(), 1, 0, 0, {0, 0, 1, 1}, nullptr, 0, 0, 0);
    empty.StretchDraw(t.Target(), 2, {0, 0, 5, 5}, {0, 0, 1, 1}, nullptr, 0, 0, 0);
}

TEST(Renderer, KeyedImageLeavesIndexZero) {
    TSoftRender r;
    ASSERT_TRUE(r.SetSize(4, 1, true));
    const std::uint8_t pixels[4] = {0, 1, 0, 1};
    TColorTable palette{};
    palette[1] = {9, 9, 9, 9};
    r.SetBits(palette, pixels, 4, 1);
    for (int mode : {0, 2, 3, 5}) {
        TRefTarget t(2);
        std::fill(t.Bytes.begin(), t.Bytes.end(), 7);
        r.StretchDraw(t.Target(), 2, {0, 0, 4, 1}, {0, 0, 4, 1}, nullptr, 0, mode, 255);
        EXPECT_EQ(At(t, 0, 0), (std::array<std::uint8_t, 4>{7, 7, 7, 7})) << mode;
        EXPECT_EQ(At(t, 1, 1), (std::array<std::uint8_t, 4>{7, 7, 7, 7})) << mode;
        EXPECT_NE(At(t, 2, 0), (std::array<std::uint8_t, 4>{7, 7, 7, 7})) << mode;
    }
}

TEST(Renderer, KeyTopLeftColour) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> pixels;
        std::vector<std::uint8_t> expected;
    };
    TColorTable palette;
    for (int i = 0; i < 256; ++i) palette[i] = {std::uint8_t(i), 128, std::uint8_t(255 - i), 0};
    palette[0] = {1, 1, 1, 0};
    palette[3] = {200, 100, 50, 0};
    palette[4] = {205, 103, 55, 0}; // differs only in the low 3 bits of each channel
    palette[5] = {0, 0, 0, 0};      // equals entry 0 at 5 bits
    Case cases[] = {
        {"key index 3 exchanged with 0", {3, 0, 4, 5, 1}, {0, 3, 0, 5, 1}},
        {"key index 0", {0, 3, 5, 2}, {0, 3, 0, 2}},
    };
    for (const Case& c : cases) {
        TColorTable p = palette;
        std::vector<std::uint8_t> bits = c.pixels;
        KeyTopLeftColour(p, bits.data(), static_cast<int>(bits.size()), 1, 0);
        EXPECT_EQ(bits, c.expected) << c.name;
    }
    TColorTable p = palette;
    std::vector<std::uint8_t> bits = {3};
    KeyTopLeftColour(p, bits.data(), 1, 1, 4);
    EXPECT_EQ(p[0], palette[3]);
    EXPECT_EQ(p[3], palette[0]);
    // When the former colour 0 is the key colour itself, its pixels become transparent too.
    p = palette;
    p[3] = {1, 1, 1, 0};
    bits = {3, 0, 2};
    KeyTopLeftColour(p, bits.data(), 3, 1, 4);
    EXPECT_EQ(bits, (std::vector<std::uint8_t>{0, 0, 2}));
}

TEST(SoftRender, LoadsEightBitFiles) {
    auto dir = std::filesystem::temp_directory_path() / ("quillon_render_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    TDIB dib;
    dib.ColorTable[7] = {100, 2, 3, 0};
    dib.ColorTable[9] = {4, 5, 200, 0};
    dib.SetSize(3, 2, 8);
    dib.ScanLine(0)[0] = 7; // top-left
    dib.ScanLine(0)[1] = 9;
    dib.ScanLine(0)[2] = 9;
    dib.ScanLine(1)[2] = 7;
    dib.SaveToFile(dir / "a.bmp");
    TSoftRender r;
    ASSERT_TRUE(r.LoadFromFile(dir / "a.bmp", nullptr, false));
    EXPECT_EQ(r.Width(), 3);
    EXPECT_EQ(r.Height(), 2);
    EXPECT_EQ(r.Pitch(), 4);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(r.GetBits()) % 8, 0u);
    EXPECT_EQ(r.GetBits()[0], 7) << "row 0 is the top";
    EXPECT_EQ(r.GetBits()[4 + 2], 7);
    EXPECT_EQ(r.Palette()[7], (TRGBQuad{100, 2, 3, 255})) << "fourth byte 0 becomes 255";
    ASSERT_TRUE(r.LoadFromFile(dir / "a.bmp", nullptr, true));
    EXPECT_TRUE(r.Transparent());
    EXPECT_EQ(r.GetBits()[0], 0);
    EXPECT_EQ(r.GetBits()[1], 9);
    EXPECT_EQ(r.GetBits()[4 + 0], 7) << "former index 0 takes the key's old index";
    EXPECT_EQ(r.GetBits()[4 + 2], 0);
    TColorTable given{};
    given[9] = {9, 9, 9, 9};
    ASSERT_TRUE(r.LoadFromFile(dir / "a.bmp", &given, false));
    EXPECT_EQ(r.Palette()[9], given[9]);

    // Short file: the rows its bytes reach are filled, the rest stay 0.
    std::vector<std::uint8_t> bytes;
    {
        TFileStream in(dir / "a.bmp", fmOpenRead);
        bytes.resize(static_cast<std::size_t>(in.Size()));
        in.ReadBuffer(bytes.data(), bytes.size());
    }
    bytes.resize(bytes.size() - 3);
    {
        TFileStream out(dir / "short.bmp", fmCreate);
        out.WriteBuffer(bytes.data(), bytes.size());
    }
    ASSERT_TRUE(r.LoadFromFile(dir / "short.bmp", nullptr, false));
    EXPECT_EQ(r.GetBits()[4 + 2], 7) << "the bottom row is stored first";
    EXPECT_EQ(r.GetBits()[0], 7);
    EXPECT_EQ(r.GetBits()[1], 0) << "the top row is cut after one byte";

    for (int bits : {4, 24}) {
        TDIB other;
        other.SetSize(2, 2, bits);
        other.SaveToFile(dir / "other.bmp");
        EXPECT_FALSE(r.LoadFromFile(dir / "other.bmp", nullptr, false)) << bits;
        EXPECT_EQ(r.GetBits(), nullptr);
        EXPECT_EQ(r.Width(), 1);
    }
    EXPECT_FALSE(r.LoadFromFile(dir / "missing.bmp", nullptr, false));
    std::filesystem::remove_all(dir);
}
