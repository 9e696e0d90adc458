// The strongest check of the maker: every frame it makes, drawn back through the character
// picture at zoom 1, shows exactly the source picture placed on the game screen (its middle column
// on x 160, its bottom row on the bottom edge), with the key colour transparent. Classic modes cut
// nothing left of x 32.
#include "CharImages.h"
#include "CharMaker.h"
#include "MessageBox.h"
#include "PatMakeFixtures.h"

#include <gtest/gtest.h>

#include <random>

namespace quillon {
namespace {

using namespace quillon::testing;

constexpr int Colours = 64;

// Entry 0 is the key; every entry differs from every other at 5 bits a channel, as the character
// picture compares colours for transparency.
TColorTable SourceTable() {
    TColorTable t{};
    for (int i = 0; i < 256; ++i) {
        int v = i % Colours;
        t[i] = {static_cast<std::uint8_t>(8 * (v % 4) + 0x80), static_cast<std::uint8_t>(8 * ((v / 4) % 4) + 0x40),
                static_cast<std::uint8_t>(8 * (v / 16) + 0x10), 0};
    }
    return t;
}

// A picture as colour indexes, top row first.
struct TSource {
    int Width, Height;
    std::vector<std::uint8_t> Index;
    int At(int x, int y) const { return Index[static_cast<std::size_t>(y) * Width + x]; }
};

// Square blocks of a few colours (so cells repeat within and across pictures), with the
// key at the top-left pixel of every grid cell: the sheet's top-left pixel, which the reduction
// and the character picture take as the key, is then the key too.
TSource Generate(std::mt19937& rng, int group) {
    TSource s{1 + static_cast<int>(rng() % 360), 1 + static_cast<int>(rng() % 280), {}};
    s.Index.resize(static_cast<std::size_t>(s.Width) * s.Height);
    const int half = s.Width / 2;
    const int noise = static_cast<int>(rng() % 4);
    const int shift = 3 + static_cast<int>(rng() % 4); // blocks of 8 to 64 pixels: wide ones repeat cells
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x) {
            int gx = x - half, gy = y - s.Height; // grid-aligned coordinates
            std::uint32_t h = static_cast<std::uint32_t>(((gx >> shift) * 73856093) ^ ((gy >> shift) * 19349663) ^
                                                         (group * 83492791));
            int c = (h >> 7) % 10 < 3 ? 0 : static_cast<int>(h % (Colours - 1)) + 1;
            if (noise == 0 && rng() % 50 == 0) c = 1 + static_cast<int>(rng() % (Colours - 1));
            if ((gx & 15) == 0 && (gy & 15) == 0) c = 0;
            s.Index[static_cast<std::size_t>(y) * s.Width + x] = static_cast<std::uint8_t>(c);
        }
    s.Index[0] = 0;
    return s;
}

struct TConfig {
    int CreateMode;
    int Method; // 1 reduce exactly; 3 keep the 8-bit pictures' palette
};

class RoundTrip : public ::testing::TestWithParam<TConfig> {};

TEST_P(RoundTrip, EveryFrameDrawsBackAsItsPicture) {
    const TConfig config = GetParam();
    const bool eightBit = config.Method == 3;
    const bool classic = config.CreateMode != 2;
    TTempDir dir;
    TScriptedMessages boxes;
    TMessageServiceScope scope(boxes);
    const TColorTable table = SourceTable();
    std::mt19937 rng(1234 + config.CreateMode * 10 + config.Method);

    TCharMaker maker;
    maker.OutputFolder = dir.Path();
    maker.CreateMode = config.CreateMode;
    maker.UseDecColorDepth = true;
    maker.DecColorDepthMethod = config.Method;
    std::vector<TSource> sources;
    for (int i = 0; i < 24; ++i) {
        TSource s = Generate(rng, i % 3);
        TBitmapListEntry e;
        e.Number = classic ? i * 10 : i * 1000 + 7;
        e.Path = dir / ("s" + std::to_string(i) + ".bmp");
        WritePicture(
            e.Path, s.Width, s.Height, eightBit ? 8 : 24,
            [&](int x, int y) {
                const TRGBQuad& c = table[s.At(x, y)];
                return eightBit ? static_cast<std::uint32_t>(s.At(x, y))
                                : static_cast<std::uint32_t>(c.Red << 16 | c.Green << 8 | c.Blue);
            },
            &table);
        maker.Entries.push_back(e);
        sources.push_back(std::move(s));
    }
    ASSERT_EQ(maker.Run(), mrMade);
    ASSERT_TRUE(boxes.Shown.empty());

    TCharSoftRender picture;
    ASSERT_TRUE(picture.LoadFromFiles(dir / CharBitmapName(config.CreateMode, ""),
                                      dir / PatternFileName(config.CreateMode, ""), nullptr));
    int frames = 0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const TSource& s = sources[i];
        const int number = maker.Entries[i].Number;
        frames += picture.Pattern().FindFrame(static_cast<std::uint32_t>(number)) != nullptr;
        // Unwritten target pixels keep a colour that no source pixel has.
        std::vector<std::uint32_t> screen(ScreenWidth * ScreenHeight, 0x00010203u);
        picture.DrawFrame({reinterpret_cast<std::uint8_t*>(screen.data()), ScreenWidth * 4}, 1, 160, 0, number, nullptr,
                          0, 0, 0);
        const int half = s.Width / 2;
        for (int y = 0; y < ScreenHeight; ++y)
            for (int x = 0; x < ScreenWidth; ++x) {
                int px = x + half - 160, py = y + s.Height - 240;
                std::uint32_t expected = 0x00010203u;
                bool cut = !classic || x >= 32;
                if (cut && px >= 0 && py >= 0 && px < s.Width && py < s.Height && s.At(px, py) != 0) {
                    const TRGBQuad& c = table[s.At(px, py)];
                    expected = static_cast<std::uint32_t>(c.Red << 16 | c.Green << 8 | c.Blue);
                }
                ASSERT_EQ(screen[y * ScreenWidth + x] & 0xFFFFFF, expected)
                    << "picture " << i << " (" << s.Width << " x " << s.Height << ") at screen " << x << "," << y;
            }
    }
    EXPECT_GT(frames, 20);
}

INSTANTIATE_TEST_SUITE_P(AllModes, RoundTrip,
                         ::testing::Values(TConfig{0, 1}, TConfig{1, 1}, TConfig{2, 1}, TConfig{0, 3}, TConfig{1, 3},
                                           TConfig{2, 3}),
                         [](const auto& info) {
                             return "mode" + std::to_string(info.param.CreateMode) + "_method" +
                                    std::to_string(info.param.Method);
                         });

} // namespace
} // namespace quillon
