#pragma once
// Row routines of the paletted renderer: each writes count pixels of a 32-bit target row (bytes
// blue, green, red, fourth) from one row of 8-bit source indexes looked up in a palette, in one
// blend mode, keyed or not, forward or mirrored, one to one or stepped.
//
// A routine receives the address of the leftmost target pixel it writes. Forward routines put the
// k-th source pixel on the k-th target pixel from the left, mirrored ones on the k-th from the
// right. One-to-one routines read count consecutive source bytes; stepped ones read the byte at
// p >> 14, p a 2.14 fixed-point position starting at 0 and growing by the step per target pixel
// (32-bit unsigned). Keyed routines leave the target unchanged under source index 0.
//
// There is one portable definition of each formula; the per-combination routines are
// instantiations of one loop, so the inner loop carries no test beyond the colour key.
#include "RGBQuad.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

// Blend modes; every other value draws nothing.
enum : int { bmCopy = 0, bmAlpha = 2, bmAdd = 3, bmMultiply = 5 };

// Channel arithmetic, c the palette colour and d the target. Alpha truncates toward zero
// ((-1 * 128) / 256 is 0), so that 255 gives c exactly and 0 leaves d.
inline std::uint8_t BlendAlpha(int c, int d, int alpha) {
    return static_cast<std::uint8_t>(d + (c - d) * (alpha + 1) / 256);
}
inline std::uint8_t BlendAdd(int c, int d) { return static_cast<std::uint8_t>(std::min(255, d + c)); }
inline std::uint8_t BlendMultiply(int c, int d) { return static_cast<std::uint8_t>(d * c / 255); }

using TRowRoutine = void (*)(std::uint8_t* target, const std::uint8_t* source, int count, const TRGBQuad* palette,
                             int alpha, std::uint32_t step);

// The routine for a combination (step is ignored by one-to-one routines); nullptr for a mode
// that draws nothing.
TRowRoutine RowRoutine(int mode, bool keyed, bool mirrored, bool stepped);

} // namespace quillon
