#include "FramePicture.h"
#include "PictureSet.h"
#include "PreviewFixtures.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;
using namespace quillon::test;

namespace {

std::uint32_t Checker(int x, int y, int zoom) {
    return ((x / (8 * zoom) + y / (8 * zoom)) % 2 == 0) ? kCheckerLight : kCheckerDark;
}

// The game pixels of a box outline edge by edge, as the edges are defined: the horizontal edges
// when the box reaches across the screen, the vertical ones when it reaches into its rows.
std::multiset<std::pair<int, int>> OutlineEdges(const TMotionBox& box) {
    std::multiset<std::pair<int, int>> pixels; // (screen column, game row)
    int l = std::min(box.X1, box.X2) + 160, r = std::max(box.X1, box.X2) + 160;
    int t = std::max(box.Y1, box.Y2), b = std::min(box.Y1, box.Y2);
    if (l < 320 && r >= 0)
        for (int x = std::max(l, 0); x <= std::min(r, 319); ++x) {
            if (t >= 0 && t < 240) pixels.insert({x, t});
            if (b >= 0 && b < 240) pixels.insert({x, b});
        }
    if (t >= 0 && b < 240)
        for (int y = std::max(b, 0); y <= std::min(t, 239); ++y) {
            if (l >= 0 && l < 320) pixels.insert({l, y});
            if (r >= 0 && r < 320) pixels.insert({r, y});
        }
    return pixels;
}

// Checks every pixel: the game pixels of the outline as expected(before), all others unchanged.
template <class Expected>
void ExpectOutline(const TFramePicture& picture, const TMotionBox& box, Expected expected, const std::string& what) {
    std::vector<bool> on(320 * 240);
    for (auto [x, gy] : OutlineEdges(box)) on[(239 - gy) * 320 + x] = true;
    int z = picture.Zoom();
    for (int y = 0; y < 240 * z; ++y)
        for (int x = 0; x < 320 * z; ++x) {
            std::uint32_t before = Checker(x, y, z);
            ASSERT_EQ(picture.Pixel(x, y), on[(y / z) * 320 + x / z] ? expected(before) : before)
                << what << " at " << x << "," << y;
        }
}

} // namespace

TEST(FramePicture, BackgroundAndCentreLineAtEveryZoom) {
    TFramePicture picture;
    for (int zoom : {1, 2, 3, 4}) {
        picture.SetZoom(zoom);
        ASSERT_EQ(picture.Bitmap().Width(), 320 * zoom);
        ASSERT_EQ(picture.Bitmap().Height(), 240 * zoom);
        ASSERT_EQ(picture.Bitmap().BitCount(), 32);
        picture.DrawBackground();
        EXPECT_EQ(picture.Pixel(0, 0), kCheckerLight);
        EXPECT_EQ(picture.Pixel(8 * zoom, 0), kCheckerDark);
        EXPECT_EQ(picture.Pixel(0, 8 * zoom - 1), kCheckerLight);
        EXPECT_EQ(picture.Pixel(0, 8 * zoom), kCheckerDark);
        picture.DrawCenterLine();
        for (int y = 0; y < 240 * zoom; ++y)
            for (int x = 0; x < 320 * zoom; ++x) {
                bool centre = x / zoom == 160;
                ASSERT_EQ(picture.Pixel(x, y), Checker(x, y, zoom) ^ (centre ? 0xFFFFFFu : 0u))
                    << "zoom " << zoom << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(picture.Bitmap().ImagePixelFormat(), MakeRGBBitFields(8, 8, 8));
}

TEST(FramePicture, BoxOutlinesAreClippedToTheScreen) {
    const struct {
        const char* name;
        TMotionBox box;
    } cases[] = {
        {"inside", {-18, 80, 18, 0}},
        {"corners given the other way round", {30, 10, -40, 100}},
        {"one pixel high", {-5, 7, 5, 7}},
        {"one pixel wide", {3, 50, 3, 20}},
        {"a point", {0, 0, 0, 0}},
        {"left of the screen edge", {-170, 60, -100, 30}},
        {"right of the screen edge", {100, 60, 170, 30}},
        {"above the top", {-10, 300, 10, 200}},
        {"below the bottom", {-10, 20, 10, -20}},
        {"all around", {-200, 300, 200, -10}},
        {"wholly right", {200, 50, 250, 10}},
        {"wholly left", {-250, 50, -161, 10}},
        {"wholly above", {-10, 400, 10, 240}},
    };
    TFramePicture picture;
    for (int zoom : {1, 3}) {
        picture.SetZoom(zoom);
        for (const auto& c : cases) {
            picture.DrawBackground();
            picture.DrawRect(c.box, 0x123456);
            ExpectOutline(
                picture, c.box, [](std::uint32_t) { return 0x123456u; }, c.name);
            picture.DrawBackground();
            picture.XorRect(c.box);
            ExpectOutline(
                picture, c.box, [](std::uint32_t before) { return before ^ 0xFFFFFFu; }, c.name);
            picture.XorRect(c.box);
            ExpectOutline(
                picture, c.box, [](std::uint32_t before) { return before; }, c.name);
        }
    }
}

TEST(FramePicture, EdgeCasesOfTheOutline) {
    TFramePicture picture;
    picture.DrawBackground();
    picture.DrawRect({200, 50, 250, 10}, kRed); // screen columns 360 and 410
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) ASSERT_EQ(picture.Pixel(x, y), Checker(x, y, 1));
    picture.DrawRect({-170, 50, -150, 10}, kRed);
    EXPECT_EQ(picture.Pixel(0, 239 - 50), kRed) << "top edge from column 0";
    EXPECT_EQ(picture.Pixel(0, 239 - 10), kRed) << "bottom edge from column 0";
    EXPECT_EQ(picture.Pixel(0, 239 - 30), Checker(0, 239 - 30, 1)) << "no left edge";
    EXPECT_EQ(picture.Pixel(10, 239 - 30), kRed) << "right edge";
}

TEST(FramePicture, BoxColoursFollowCi) {
    for (int ci : {44, 46, 53}) {
        TBoxColours c = BoxColours(ci);
        EXPECT_EQ(c.Def1, 0x00FF00u);
        EXPECT_EQ(c.Def2, 0x7FFF00u);
        EXPECT_EQ(c.Att1, 0xFF00FFu);
    }
    for (int ci : {0, 45, -44, 54}) {
        TBoxColours c = BoxColours(ci);
        EXPECT_EQ(c.Def1, 0x0000FFu);
        EXPECT_EQ(c.Def2, 0x7F00FFu);
        EXPECT_EQ(c.Att1, 0xFF0000u);
    }
}

TEST(FramePicture, PicturesOfTheLine) {
    TTempFolder dir;
    WriteSheet(dir.Path / "ZCHARA.BMP");
    FivePattern().SaveToFile(dir.Path / "ZPATTERN.ZPT");
    auto chara = LoadPictureSet(dir.Path / "ZMOTION.LST");
    ASSERT_TRUE(chara);
    const std::string box = "000000000000";
    struct Case {
        const char* pic;
        std::uint32_t top, bottom; // the cell's first and last rows
    } cases[] = {
        {"5", kRed, kBlue},    {"-5", kBlue, kRed}, // upside down
        {"5,1", kRed, kBlue},                       // the mirror mark is not drawn
        {"5+", kRed, kBlue},                        // other blends draw opaque
        {"9", 0, 0},                                // a frame the pattern does not hold
        {"-", 0, 0},                                // no picture
        {"-2147483648", 0, 0},                      // a number without a magnitude
    };
    TFramePicture picture;
    for (int zoom : {1, 4}) {
        picture.SetZoom(zoom);
        for (const Case& c : cases) {
            TMotionLineObj line;
            ASSERT_TRUE(ParseMotionLine(MotionText(c.pic, "0", box, box, box), line)) << c.pic;
            picture.DrawBackground();
            picture.DrawPictureCells(line, *chara);
            for (int k : {0, zoom - 1}) {
                int x = kPicX * zoom + k, top = kPicY * zoom + k, bottom = (kPicY + 15) * zoom + k;
                EXPECT_EQ(picture.Pixel(x, top), c.top ? c.top : Checker(x, top, zoom)) << c.pic << " zoom " << zoom;
                EXPECT_EQ(picture.Pixel(x + 15 * zoom, bottom),
                          c.bottom ? c.bottom : Checker(x + 15 * zoom, bottom, zoom))
                    << c.pic << " zoom " << zoom;
                EXPECT_EQ(picture.Pixel(x - zoom, top), Checker(x - zoom, top, zoom)) << "left of the cell";
                EXPECT_EQ(picture.Pixel(x + 16 * zoom, top), Checker(x + 16 * zoom, top, zoom)) << "right of the cell";
            }
        }
    }
    TMotionLineObj blended;
    ASSERT_TRUE(ParseMotionLine(MotionText("5.5", "0", box, box, box), blended));
    picture.SetZoom(1);
    picture.DrawBackground();
    picture.DrawPictureCells(blended, *chara);
    std::uint32_t p = picture.Pixel(kPicX, kPicY), under = Checker(kPicX, kPicY, 1);
    EXPECT_GT(p >> 16, under >> 16) << "half red over the checkerboard";
    EXPECT_LT(p & 0xFF, under & 0xFF);
}
