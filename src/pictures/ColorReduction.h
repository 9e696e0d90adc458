#pragma once
// Colour reduction: a 24-bit cell sheet becomes 8-bit. The key colour (the sheet's top-left pixel,
// transparent in the engine) gets a known index; the methods are
//   0  the general palette of 255 fixed colours, nearest by squared distance, key at 255;
//   1  the sheet's own colours in order of first appearance, key at 0; fails beyond 256 colours;
//   2  as 1 after quantising every pixel to 5-6-5 bits (the low bits repeat the high ones).
// Every other method value is 0. Rows are walked from the top and, within a row, from the left; a
// pixel equal to the one before it takes its index without a palette search.
#include "RGBQuad.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

using TPaletteEntry = TRGBQuad;
using TPalette256 = std::array<TPaletteEntry, 256>;

// Called after every row with the percentage done; setting cancel stops the reduction.
using TReductionProgress = std::function<void(int percent, bool& cancel)>;

// The fixed palette of method 0 with key as entry 255.
TPalette256 GeneralPalette(TPaletteEntry key);
// The nearest of entries 0..254 of the general palette (the first of equal distance).
int NearestGeneralIndex(TPaletteEntry colour);
// Blue and red to 5 bits, green to 6, each with its high bits repeated below.
TPaletteEntry Quantise565(TPaletteEntry colour);

// A 24-bit picture read in place: width x height pixels, row y at Top + y * RowStep.
struct T24BitView {
    const std::uint8_t* Top = nullptr;
    std::ptrdiff_t RowStep = 0;
    int Width = 0, Height = 0;
};

struct TReducedPicture {
    std::vector<std::uint8_t> Indexes; // Width * Height, row after row from the top
    TPalette256 Palette{};
};

// Reduces picture by method. False when cancelled or (methods 1 and 2) when there are too many
// colours; out is then unspecified.
bool ReduceColourPixels(const T24BitView& picture, int method, const TReductionProgress& progress,
                        TReducedPicture& out);

class TDIB;
// Turns the 24-bit sheet into an 8-bit one (a new picture with the reduced colour table, which the
// sheet then shares). False when cancelled or when there are too many colours: the sheet is then
// unchanged.
bool ReduceColours(TDIB& sheet, int method, const TReductionProgress& progress);

} // namespace quillon
