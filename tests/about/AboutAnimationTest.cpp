#include "AboutAnimation.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillon;

namespace {

std::vector<std::uint8_t> Pixels(const TEffectBitmap& bitmap) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        pixels.insert(pixels.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Width());
    return pixels;
}

} // namespace

TEST(LogoAnimation, EachTickAdvancesTurnWaveAndScale) {
    TLogoAnimation animation;
    EXPECT_EQ(animation.Amplitude(), 0);
    EXPECT_EQ(animation.Scale(), 0.5);
    EXPECT_EQ(animation.Angle(), 0);
    animation.Frame(1, false);
    EXPECT_EQ(animation.Angle(), 4);
    EXPECT_EQ(animation.Phase(), 130); // 2, then half a turn as the wave leaves 0
    EXPECT_EQ(animation.Amplitude(), 1);
    EXPECT_DOUBLE_EQ(animation.Scale(), 0.54);
    animation.Frame(3, false); // a late tick: three times as far, amplitude by one
    EXPECT_EQ(animation.Angle(), 16);
    EXPECT_EQ(animation.Phase(), 136);
    EXPECT_EQ(animation.Amplitude(), 2);
    EXPECT_DOUBLE_EQ(animation.Scale(), 0.66);
    animation.Frame(40, false); // limited to 10
    EXPECT_EQ(animation.Angle(), 56);
}

TEST(LogoAnimation, MouseInsideTurnsBackwards) {
    TLogoAnimation animation;
    animation.Frame(1, true);
    EXPECT_EQ(animation.Angle(), 251); // both 0 and 255 are 0 degrees
    EXPECT_EQ(animation.Phase(), 130); // the wave is not affected
    animation.Frame(1, true);
    EXPECT_EQ(animation.Angle(), 247);
}

TEST(LogoAnimation, AmplitudeSwingsOneUnitPerFrame) {
    TLogoAnimation animation;
    std::vector<int> amplitudes;
    for (int i = 0; i < 70; ++i) {
        animation.Frame(1 + i % 3, false);
        amplitudes.push_back(animation.Amplitude());
    }
    EXPECT_EQ(amplitudes[31], 32);
    EXPECT_EQ(amplitudes[32], 31);
    EXPECT_EQ(amplitudes[63], 0);
    EXPECT_EQ(amplitudes[64], 1);
}

TEST(LogoAnimation, ScaleStaysWithinItsBoundsOverRandomFrames) {
    TLogoAnimation animation;
    std::mt19937 random(2024);
    bool reversedLow = false, reversedHigh = false;
    for (int i = 0; i < 10000; ++i) {
        const bool growing = animation.Growing();
        animation.Frame(int(random() % 25) - 12, random() % 2);
        ASSERT_GE(animation.Scale(), TLogoAnimation::MinScale) << i;
        ASSERT_LE(animation.Scale(), TLogoAnimation::MaxScale) << i;
        if (growing != animation.Growing()) (animation.Scale() < 1 ? reversedLow : reversedHigh) = true;
    }
    EXPECT_TRUE(reversedLow);
    EXPECT_TRUE(reversedHigh);
}

TEST(LogoAnimation, FirstFrameIsTheFlatBannerWithTheLogoAtZoomTwo) {
    const TResourceModule& module = ProgramResources();
    TLogoAnimation animation(module);
    animation.Frame(1, false);

    TDIBPalette palette{};
    auto banner = Create8BitDIB(192, 96, palette), logo = Create8BitDIB(64, 64, palette);
    CopyBitsToDIB(*banner, LoadResourceData(module, 2002, 2000, 192 * 96).data(), false, 0, 0);
    CopyBitsToDIB(*logo, LoadResourceData(module, 2003, 2000, 64 * 64).data(), false, 0, 0);
    logo->SetTransparent(true);
    auto expected = Create8BitDIB(96, 96, palette);
    DrawDIB(-32, 0, *banner, *expected, 0, 253);
    DrawDIBRotateZoom(16, 16, *logo, *expected, 0, 2.0, 253);
    EXPECT_EQ(Pixels(animation.Buffer()), Pixels(*expected));
    for (std::uint8_t pixel : Pixels(animation.Buffer())) ASSERT_NE(pixel, 253); // key never shows
}

TEST(LogoAnimation, ReleasedPicturesAreNotDrawn) {
    TLogoAnimation animation;
    animation.Frame(1, false);
    const auto before = Pixels(animation.Buffer());
    animation.Release();
    animation.Frame(1, false);
    EXPECT_EQ(Pixels(animation.Buffer()), before);
    EXPECT_EQ(animation.Angle(), 8);
}

TEST(LogoAnimation, MissingOrWrongSizedResourcesRaise) {
    const TResourceModule& program = ProgramResources();
    for (int drop : {2001, 2002, 2003}) {
        TResourceModule module;
        for (const TResourceEntry& entry : program)
            if (entry.Id != drop) module.push_back(entry);
        EXPECT_THROW(TLogoAnimation{module}, EBitFieldError) << drop;
        module.push_back({2000, drop,
                          LoadResourceData(program, drop, 2000,
                                           drop == 2001   ? 1024
                                           : drop == 2002 ? 18432
                                                          : 4096)
                              .first(100)});
        EXPECT_THROW(TLogoAnimation{module}, EBitFieldError) << drop;
    }
}
