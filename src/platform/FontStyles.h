#pragma once
// Font styles as a small set: bit 1 << style for each style present.
#include <cstdint>

namespace quillon {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = std::uint8_t;

constexpr TFontStyles StyleBit(TFontStyle style) { return static_cast<TFontStyles>(1u << style); }
constexpr bool HasStyle(TFontStyles styles, TFontStyle style) { return (styles & StyleBit(style)) != 0; }

} // namespace quillon
