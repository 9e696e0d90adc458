#include "AboutAnimation.h"

#include <algorithm>
#include <cstring>

namespace quillon {
namespace {
constexpr int kBufferSide = 96, kBannerWidth = 192, kBannerHeight = 96, kLogoSide = 64;
} // namespace

TLogoAnimation::TLogoAnimation(const TResourceModule& module) {
    auto paletteBytes = LoadResourceData(module, PaletteId, ResourceType, sizeof(TDIBPalette));
    TDIBPalette palette;
    std::memcpy(palette.data(), paletteBytes.data(), sizeof palette);
    Setup8BitDIB(FBuffer, kBufferSide, kBufferSide, palette);

    auto banner = Create8BitDIB(kBannerWidth, kBannerHeight, palette);
    CopyBitsToDIB(*banner, LoadResourceData(module, BannerId, ResourceType, kBannerWidth * kBannerHeight).data(), false,
                  0, 0);
    auto logoBytes = LoadResourceData(module, LogoId, ResourceType, kLogoSide * kLogoSide);
    auto logo = Create8BitDIB(kLogoSide, kLogoSide, palette);
    logo->SetTransparent(true);
    CopyBitsToDIB(*logo, logoBytes.data(), false, 0, 0);
    FBanner = std::move(banner);
    FLogo = std::move(logo);
}

void TLogoAnimation::Frame(int Delay, bool MouseInside) {
    Draw();
    Advance(std::clamp(Delay, -10, 10), MouseInside);
}

void TLogoAnimation::Release() {
    FBanner.reset();
    FLogo.reset();
}

void TLogoAnimation::Draw() {
    if (!FBanner || !FLogo) return;
    // The banner is opaque, so the wave redraws every pixel; the logo's background is keyed.
    DrawDIBWave(-32, 0, *FBanner, FBuffer, FPhase, 16, FAmplitude, 0, Key);
    DrawDIBRotateZoom(16, 16, *FLogo, FBuffer, FAngle, 1 / FScale, Key);
}

void TLogoAnimation::Advance(int d, bool mouseInside) {
    const int step = mouseInside ? -4 * d : 4 * d;
    FScale += FGrowing ? 0.04 * d : -0.04 * d;
    // On the 255-step circle both 0 and 255 stand for 0 degrees: a backward step from 0 by 4 gives 251.
    const int angle = FAngle + step;
    FAngle = static_cast<std::uint8_t>((angle > 0 ? angle : angle - 1) & 255);
    FPhase = static_cast<std::uint8_t>((FPhase + 2 * d) & 255);
    if (FAmplitude == 32) {
        FAmplitudeStep = -1;
    } else if (FAmplitude == 0) {
        FAmplitudeStep = 1;
        FPhase = static_cast<std::uint8_t>((FPhase + 128) & 255); // half a turn each time the wave is flat
    }
    FAmplitude = static_cast<std::uint8_t>(FAmplitude + FAmplitudeStep);
    if (FScale < 0.2)
        FScale = MinScale;
    else if (FScale > 3.8)
        FScale = MaxScale;
    if (FScale <= 0.2 || FScale >= 3.8) FGrowing = !FGrowing;
}

} // namespace quillon
