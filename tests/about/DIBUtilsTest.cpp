#include "DIBUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using namespace quillon;

namespace {

using Rows = std::vector<std::vector<int>>;

std::unique_ptr<TEffectBitmap> Make8Bit(const Rows& rows) {
    auto bitmap = Create8BitDIB(rows.empty() ? 0 : int(rows[0].size()), int(rows.size()), TDIBPalette{});
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x) bitmap->ScanLine(y)[x] = std::uint8_t(rows[y][x]);
    return bitmap;
}

std::unique_ptr<TEffectBitmap> Filled(int width, int height, int value) {
    return Make8Bit(Rows(height, std::vector<int>(width, value)));
}

std::unique_ptr<TEffectBitmap> Random8Bit(int width, int height, std::mt19937& random) {
    auto bitmap = Filled(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap->ScanLine(y)[x] = std::uint8_t(random() % 4);
    return bitmap;
}

Rows Pixels(const TEffectBitmap& bitmap) {
    Rows rows(bitmap.Height(), std::vector<int>(bitmap.Width()));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) rows[y][x] = bitmap.ScanLine(y)[x];
    return rows;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInvalidDIBOperation& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

const std::string kSourceNot8Bit = "コピー元のPixelFormatがpf8bitではありません";
const std::string kDestNot8Bit = "コピー先のPixelFormatがpf8bitではありません";
const std::string kBadZoom = "拡大率が不正です。";

} // namespace

TEST(DIBTables, TwoHundredFiftyFiveStepsToTheTurn) {
    EXPECT_NEAR(double(SinTable[64]), std::sin(64 * 360.0 / 255 * std::numbers::pi / 180), 1e-15);
    EXPECT_GT(64 * 360.0 / 255, 90.35); // entry 64 lies just past the right angle
    EXPECT_NEAR(double(SinTable[255]), 0, 1e-15);
    EXPECT_NEAR(double(CosTable[255]), 1, 1e-15);
    EXPECT_EQ(SinTable[0], 0);
    EXPECT_EQ(CosTable[0], 1);
}

TEST(DIBSetup, CreateMakesAPalettedDIB) {
    TDIBPalette palette{};
    palette[253] = {255, 0, 255, 7};
    auto bitmap = Create8BitDIB(6, 4, palette);
    EXPECT_EQ(bitmap->HandleType(), TEffectHandleType::bmDIB);
    EXPECT_EQ(bitmap->PixelFormat(), TEffectPixelFormat::pf8bit);
    EXPECT_EQ(bitmap->Width(), 6);
    EXPECT_EQ(bitmap->Height(), 4);
    EXPECT_EQ(bitmap->Palette()[253], (TRGBQuad{255, 0, 255, 0})); // palette entries carry no flags
}

TEST(DIBSetup, TargetChecks) {
    TEffectBitmap ddb;
    EXPECT_EQ(MessageOf([&] { SetDIBPalette(ddb, {}); }), "ターゲットのHandleTypeがbmDIBではありません");
    TEffectBitmap rgb;
    rgb.SetHandleType(TEffectHandleType::bmDIB);
    rgb.SetSize(2, 2);
    const std::uint8_t bytes[12] = {};
    EXPECT_EQ(MessageOf([&] { CopyBitsToDIB(rgb, bytes, false, 0, 0); }),
              "ターゲットのPixelFormatがpf8bitではありません");
}

TEST(DIBCopyBits, RowOrderMirrorAndKey) {
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
    struct Case {
        bool UseKey;
        int Flags;
        Rows Expected;
    } cases[] = {
        {false, 0, {{4, 5, 6}, {1, 2, 3}}}, // stored bottom row first
        {false, 1, {{6, 5, 4}, {3, 2, 1}}}, {false, 2, {{1, 2, 3}, {4, 5, 6}}},
        {false, 3, {{3, 2, 1}, {6, 5, 4}}}, {true, 2, {{1, 9, 3}, {4, 5, 6}}}, // the key byte 2 is not written
    };
    for (const Case& c : cases) {
        auto bitmap = Filled(3, 2, 9);
        CopyBitsToDIB(*bitmap, bytes, c.UseKey, c.Flags, 2);
        EXPECT_EQ(Pixels(*bitmap), c.Expected) << "flags " << c.Flags;
    }
}

TEST(DIBDraw, FlagsAndClippingGiveExactPixels) {
    struct Case {
        int X, Y, Flags;
        bool Transparent;
        Rows Expected;
    } cases[] = {
        {1, 1, 0, false, {{9, 9, 9, 9}, {9, 1, 2, 3}, {9, 4, 5, 6}}},
        {1, 1, 1, false, {{9, 9, 9, 9}, {9, 3, 2, 1}, {9, 6, 5, 4}}},
        {1, 1, 2, false, {{9, 9, 9, 9}, {9, 4, 5, 6}, {9, 1, 2, 3}}},
        {1, 1, 3, false, {{9, 9, 9, 9}, {9, 6, 5, 4}, {9, 3, 2, 1}}},
        {-1, -1, 0, false, {{5, 6, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
        // A clipped mirrored copy shows the visible source columns reversed.
        {-1, 0, 3, false, {{6, 5, 9, 9}, {3, 2, 9, 9}, {9, 9, 9, 9}}},
        {2, 2, 0, false, {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 1, 2}}},
        {1, 1, 0, true, {{9, 9, 9, 9}, {9, 1, 9, 3}, {9, 4, 5, 6}}}, // key 2 skipped
        {4, 0, 0, false, {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
        {-3, 0, 0, false, {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
        {std::numeric_limits<int>::min(),
         std::numeric_limits<int>::max(),
         3,
         false,
         {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
    };
    for (const Case& c : cases) {
        auto source = Make8Bit({{1, 2, 3}, {4, 5, 6}});
        source->SetTransparent(c.Transparent);
        auto dest = Filled(4, 3, 9);
        DrawDIB(c.X, c.Y, *source, *dest, c.Flags, 2);
        EXPECT_EQ(Pixels(*dest), c.Expected) << "at " << c.X << "," << c.Y << " flags " << c.Flags;
    }
}

TEST(DIBDraw, ChecksNameTheBitmapAndChangeNothing) {
    auto good = Filled(2, 2, 1);
    auto dest = Filled(2, 2, 9);
    TEffectBitmap ddb;
    TEffectBitmap rgb;
    rgb.SetHandleType(TEffectHandleType::bmDIB);
    rgb.SetSize(2, 2);
    EXPECT_EQ(MessageOf([&] { DrawDIB(0, 0, ddb, *dest, 0, 0); }), "コピー元のHandleTypeがbmDIBではありません");
    EXPECT_EQ(MessageOf([&] { DrawDIB(0, 0, *good, ddb, 0, 0); }), "コピー先のHandleTypeがbmDIBではありません");
    EXPECT_EQ(MessageOf([&] { DrawDIB(0, 0, rgb, *dest, 0, 0); }), kSourceNot8Bit);
    EXPECT_EQ(MessageOf([&] { DrawDIB(0, 0, *good, rgb, 0, 0); }), kDestNot8Bit);
    EXPECT_EQ(MessageOf([&] { DrawDIBWave(0, 0, *good, rgb, 0, 16, 4, 0, 0); }), kDestNot8Bit);
    EXPECT_EQ(MessageOf([&] { DrawDIBWave(0, 0, ddb, *dest, 0, 16, 4, 0, 0); }),
              "コピー元のHandleTypeがbmDIBではありません");
    EXPECT_EQ(Pixels(*dest), (Rows{{9, 9}, {9, 9}}));
}

TEST(DIBWave, AmplitudeZeroIsAPlainClippedCopy) {
    std::mt19937 random(12);
    for (int trial = 0; trial < 200; ++trial) {
        auto source = Random8Bit(1 + random() % 12, 1 + random() % 12, random);
        source->SetTransparent(trial % 2);
        const int x = int(random() % 24) - 12, y = int(random() % 24) - 12, flags = int(random() % 2);
        const std::uint8_t phase = std::uint8_t(random()), frequency = std::uint8_t(random());
        auto waved = Filled(10, 8, 7), copied = Filled(10, 8, 7);
        DrawDIBWave(x, y, *source, *waved, phase, frequency, 0, flags, 3);
        DrawDIB(x, y, *source, *copied, flags, 3);
        ASSERT_EQ(Pixels(*waved), Pixels(*copied)) << "trial " << trial;
    }
}

TEST(DIBWave, RowsShiftBySineTimesAmplitude) {
    // Frequency 0 shifts every row alike: trunc(10 * sin(90.35 degrees)) = 9.
    std::mt19937 random(5);
    auto source = Random8Bit(8, 6, random);
    auto waved = Filled(24, 8, 7), copied = Filled(24, 8, 7);
    DrawDIBWave(2, 1, *source, *waved, 64, 0, 10, 0, 0);
    DrawDIB(11, 1, *source, *copied, 0, 0);
    EXPECT_EQ(Pixels(*waved), Pixels(*copied));
    // Phase 192 (a negative sine) truncates toward zero: trunc(10 * sin(270.9 degrees)) = -9.
    auto left = Filled(24, 8, 7), leftCopy = Filled(24, 8, 7);
    DrawDIBWave(12, 1, *source, *left, 192, 0, 10, 0, 0);
    DrawDIB(3, 1, *source, *leftCopy, 0, 0);
    EXPECT_EQ(Pixels(*left), Pixels(*leftCopy));
}

TEST(DIBWave, EdgesOfTheDestination) {
    auto source = Make8Bit({{1, 2, 3, 4}});
    auto dest = Filled(3, 1, 9);
    DrawDIBWave(0, 0, *source, *dest, 0, 0, 0, 0, 0); // left edge at column 0: min(sw, dw) columns
    EXPECT_EQ(Pixels(*dest), (Rows{{1, 2, 3}}));
    auto single = Filled(3, 1, 9);
    DrawDIBWave(-3, 0, *source, *single, 0, 0, 0, 0, 0); // one column of overlap
    EXPECT_EQ(Pixels(*single), (Rows{{4, 9, 9}}));
    auto right = Filled(3, 1, 9);
    DrawDIBWave(2, 0, *source, *right, 0, 0, 0, 1, 0); // mirrored span at the right edge
    EXPECT_EQ(Pixels(*right), (Rows{{9, 9, 1}}));
}

TEST(DIBWave, FlipStaysInsideTheDestination) {
    // The source covers rows 5..14 of a 10-row destination; flipped, rows 5..9 receive source rows
    // 9..5 and nothing is written past the last row.
    Rows rows;
    for (int r = 0; r < 10; ++r) rows.push_back({r + 1, r + 1});
    auto source = Make8Bit(rows);
    auto dest = Filled(2, 10, 0);
    DrawDIBWave(0, 5, *source, *dest, 0, 0, 0, 2, 255);
    EXPECT_EQ(Pixels(*dest), (Rows{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {10, 10}, {9, 9}, {8, 8}, {7, 7}, {6, 6}}));
    // At y 0 with equal heights the flip is a plain upside-down copy.
    auto whole = Filled(2, 10, 0), copied = Filled(2, 10, 0);
    DrawDIBWave(0, 0, *source, *whole, 0, 0, 0, 2, 255);
    DrawDIB(0, 0, *source, *copied, 2, 255);
    EXPECT_EQ(Pixels(*whole), Pixels(*copied));
}

TEST(DIBRotateZoom, SixtyFourSquareAtZoomOneCoversNinetyTwoSquare) {
    for (int angle : {16, 32, 64, 100, 200}) {
        auto source = Filled(64, 64, 1);
        auto dest = Filled(200, 200, 0);
        const int x = 50, y = 60;
        DrawDIBRotateZoom(x, y, *source, *dest, std::uint8_t(angle), 1.0, 0);
        int minX = 200, minY = 200, maxX = -1, maxY = -1;
        for (int py = 0; py < 200; ++py)
            for (int px = 0; px < 200; ++px)
                if (dest->ScanLine(py)[px] == 1) {
                    minX = std::min(minX, px), maxX = std::max(maxX, px);
                    minY = std::min(minY, py), maxY = std::max(maxY, py);
                }
        EXPECT_GE(minX, x - 14) << angle;
        EXPECT_GE(minY, y - 14) << angle;
        EXPECT_LT(maxX, x - 14 + 92) << angle;
        EXPECT_LT(maxY, y - 14 + 92) << angle;
        if (angle == 32) { // near 45 degrees the corners reach nearly to the square's edges
            EXPECT_LE(minX, x - 12);
            EXPECT_GE(maxX, x + 75);
        }
    }
}

TEST(DIBRotateZoom, HalfTurnAndZeroAngleAtZoomOneAreExactCopies) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 20; ++trial) {
        auto source = Random8Bit(2 * (1 + random() % 8), 2 * (1 + random() % 8), random);
        source->SetTransparent(trial % 2);
        const int x = int(random() % 20) - 10, y = int(random() % 20) - 10;
        for (auto [angle, flags] : {std::pair{0, 0}, std::pair{128, 3}}) {
            auto rotated = Filled(12, 12, 5), copied = Filled(12, 12, 5);
            DrawDIBRotateZoom(x, y, *source, *rotated, std::uint8_t(angle), 1.0, 2);
            DrawDIB(x, y, *source, *copied, flags, 2);
            ASSERT_EQ(Pixels(*rotated), Pixels(*copied)) << "angle " << angle;
        }
    }
}

// Only source pixels with 0 < x < width and 0 < y < height are sampled: the first row and column
// never show, however the picture is turned (positions just left of or above them once truncated
// to 0 and sampled them).
TEST(DIBRotateZoom, NeverSamplesRowZeroNorColumnZero) {
    Rows rows(8, std::vector<int>(8, 1));
    for (int i = 0; i < 8; ++i) rows[0][i] = 8, rows[i][0] = 7;
    auto source = Make8Bit(rows);
    for (auto [angle, zoom] : {std::pair{0, 2.0}, std::pair{64, 1.5}, std::pair{200, 0.75}, std::pair{10, 3.0}}) {
        auto dest = Filled(40, 40, 0);
        DrawDIBRotateZoom(16, 16, *source, *dest, std::uint8_t(angle), zoom, 0);
        int drawn = 0;
        for (const std::vector<int>& row : Pixels(*dest))
            for (int pixel : row) {
                ASSERT_TRUE(pixel == 0 || pixel == 1) << "angle " << angle << " drew " << pixel;
                drawn += pixel;
            }
        EXPECT_GT(drawn, 0) << angle;
    }
    auto dest = Filled(40, 40, 0);
    DrawDIBRotateZoom(16, 16, *source, *dest, 0, 2.0, 0); // twice the size, every source pixel 2 x 2
    EXPECT_EQ(dest->ScanLine(13)[20], 0);                 // over row 0: left as it was
    EXPECT_EQ(dest->ScanLine(14)[20], 1);                 // row 1
    EXPECT_EQ(dest->ScanLine(20)[13], 0);                 // column 0
    EXPECT_EQ(dest->ScanLine(20)[14], 1);
}

TEST(DIBRotateZoom, KeyedWhenTransparent) {
    auto source = Make8Bit({{2, 2}, {2, 1}});
    source->SetTransparent(true);
    auto dest = Filled(4, 4, 9);
    DrawDIBRotateZoom(1, 1, *source, *dest, 64, 1.0, 2);
    for (int py = 0; py < 4; ++py)
        for (int px = 0; px < 4; ++px) EXPECT_NE(dest->ScanLine(py)[px], 2);
}

TEST(DIBRotateZoom, Checks) {
    auto odd = Filled(65, 64, 1);
    auto good = Filled(64, 64, 1);
    auto dest = Filled(96, 96, 0);
    TEffectBitmap rgb;
    rgb.SetHandleType(TEffectHandleType::bmDIB);
    rgb.SetSize(96, 96);
    TEffectBitmap ddb;
    EXPECT_EQ(MessageOf([&] { DrawDIBRotateZoom(0, 0, *odd, *dest, 0, 1.0, 0); }),
              "幅と高さが偶数ではないので回転できません。");
    EXPECT_EQ(MessageOf([&] { DrawDIBRotateZoom(0, 0, *good, ddb, 0, 1.0, 0); }),
              "コピー先のHandleTypeがbmDIBではありません");
    EXPECT_EQ(MessageOf([&] { DrawDIBRotateZoom(0, 0, *good, rgb, 0, 1.0, 0); }), kDestNot8Bit);
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (double zoom : {0.0, -0.0, -1.0, nan, inf, -inf, 1e9, 1e-9})
        EXPECT_EQ(MessageOf([&] { DrawDIBRotateZoom(0, 0, *good, *dest, 10, zoom, 0); }), kBadZoom) << zoom;
    for (int py = 0; py < 96; ++py)
        for (int px = 0; px < 96; ++px) ASSERT_EQ(dest->ScanLine(py)[px], 0);
    EXPECT_NO_THROW(DrawDIBRotateZoom(0, 0, *good, *dest, 10, MaxDIBZoom, 0));
    EXPECT_NO_THROW(DrawDIBRotateZoom(0, 0, *good, *dest, 10, MinDIBZoom, 0));
}
