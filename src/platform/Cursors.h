#pragma once
// Mouse cursor numbers as options store them: the standard cursors are negative, 0 is the window's
// default, positive numbers are cursors that the program supplies itself.
namespace quillon {

using TCursor = int;

constexpr TCursor crDefault = 0, crArrow = -2, crIBeam = -4, crDrag = -12;
constexpr TCursor crSizeAll = -22; // the last standard cursor

} // namespace quillon
