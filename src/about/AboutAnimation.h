#pragma once
// The about box's animated picture: a 192 x 96 banner drawn into a 96 x 96 picture with its rows
// waving sideways, and on top a 64 x 64 logo that turns and breathes in size. One Frame per timer
// tick; Delay (whole intervals since the previous tick) scales the turn, the wave's travel and the
// breathing, while the wave's amplitude moves one unit per frame whatever the delay.
#include "BitField.h"
#include "DIBUtils.h"

#include <memory>

namespace quillon {

class TLogoAnimation {
public:
    static constexpr int ResourceType = 2000, PaletteId = 2001, BannerId = 2002, LogoId = 2003;
    static constexpr std::uint8_t Key = 253; // the logo's background palette index
    static constexpr double MinScale = 0.199, MaxScale = 3.801;

    // Loads the palette, the banner and the logo; raises EBitFieldError when one is missing or has
    // the wrong size.
    explicit TLogoAnimation(const TResourceModule& module = ProgramResources());

    // Draws the current state into Buffer, then advances it.
    void Frame(int Delay, bool MouseInside);
    // Frees the banner and the logo; later frames only advance the state.
    void Release();

    const TEffectBitmap& Buffer() const { return FBuffer; }
    std::uint8_t Phase() const { return FPhase; }
    std::uint8_t Amplitude() const { return FAmplitude; }
    std::uint8_t Angle() const { return FAngle; }
    double Scale() const { return FScale; }
    bool Growing() const { return FGrowing; }

private:
    void Draw();
    void Advance(int d, bool mouseInside);

    TEffectBitmap FBuffer; // 96 x 96, 8-bit, the picture on screen
    std::unique_ptr<TEffectBitmap> FBanner, FLogo;
    std::uint8_t FPhase = 0;     // wave phase, 0..255
    std::uint8_t FAmplitude = 0; // 0..32
    int FAmplitudeStep = 1;      // +1 or -1
    std::uint8_t FAngle = 0;     // 255 steps to the full turn
    double FScale = 0.5;         // the logo is drawn at zoom 1 / scale
    bool FGrowing = true;
};

} // namespace quillon
