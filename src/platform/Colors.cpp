#include "Colors.h"

#include "AsciiText.h"
#include <array>
#include <charconv>
#include <utility>

namespace quillon {
namespace {

constexpr std::array<std::pair<TColor, std::string_view>, 47> kNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
}};

// The classic desktop scheme, indexed by system colour number.
constexpr std::array<TColor, 25> kSystemRGB{
    RGBColor(192, 192, 192), RGBColor(0, 128, 128),   RGBColor(0, 0, 128),     RGBColor(128, 128, 128),
    RGBColor(192, 192, 192), RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
    RGBColor(0, 0, 0),       RGBColor(255, 255, 255), RGBColor(192, 192, 192), RGBColor(192, 192, 192),
    RGBColor(128, 128, 128), RGBColor(0, 0, 128),     RGBColor(255, 255, 255), RGBColor(192, 192, 192),
    RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0),       RGBColor(192, 192, 192),
    RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(223, 223, 223), RGBColor(0, 0, 0),
    RGBColor(255, 255, 225),
};

} // namespace

std::string ColorToString(TColor color) {
    for (const auto& [value, name] : kNames)
        if (value == color) return std::string(name);
    return "$" + IntToHex(static_cast<std::uint32_t>(color), 8);
}

std::optional<TColor> StringToColor(std::string_view text) {
    for (const auto& [value, name] : kNames)
        if (name == text) return value;
    if (text.empty()) return std::nullopt;
    bool hex = text.front() == '$';
    std::string_view digits = hex ? text.substr(1) : text;
    bool negative = !hex && !digits.empty() && digits.front() == '-';
    if (negative) digits.remove_prefix(1);
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
    return static_cast<TColor>(negative ? 0u - value : value);
}

TColor ColorToRGB(TColor color) {
    auto bits = static_cast<std::uint32_t>(color);
    if (bits & 0x80000000u) {
        std::uint32_t index = bits & 0xFF;
        return index < kSystemRGB.size() ? kSystemRGB[index] : clBlack;
    }
    if (color == clNone || color == clDefault) return clBlack;
    return color & 0xFFFFFF;
}

} // namespace quillon
