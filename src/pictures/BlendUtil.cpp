#include "BlendUtil.h"

#include <cstring>

namespace quillon {

namespace {

template <int Mode> inline void BlendPixel(std::uint8_t* d, const TRGBQuad& c, int alpha) {
    if constexpr (Mode == bmCopy) {
        std::memcpy(d, &c, 4);
    } else if constexpr (Mode == bmAlpha) {
        d[0] = BlendAlpha(c.Blue, d[0], alpha);
        d[1] = BlendAlpha(c.Green, d[1], alpha);
        d[2] = BlendAlpha(c.Red, d[2], alpha);
    } else if constexpr (Mode == bmAdd) {
        d[0] = BlendAdd(c.Blue, d[0]);
        d[1] = BlendAdd(c.Green, d[1]);
        d[2] = BlendAdd(c.Red, d[2]);
    } else {
        d[0] = BlendMultiply(c.Blue, d[0]);
        d[1] = BlendMultiply(c.Green, d[1]);
        d[2] = BlendMultiply(c.Red, d[2]);
    }
}

template <int Mode, bool Keyed, bool Mirrored, bool Stepped>
void Row(std::uint8_t* target, const std::uint8_t* source, int count, const TRGBQuad* palette, int alpha,
         std::uint32_t step) {
    std::uint32_t p = 0;
    for (int k = 0; k < count; ++k) {
        std::uint8_t s;
        if constexpr (Stepped) {
            s = source[p >> 14];
            p += step;
        } else {
            s = source[k];
        }
        if (Keyed && s == 0) continue;
        BlendPixel<Mode>(target + 4 * (Mirrored ? count - 1 - k : k), palette[s], alpha);
    }
}

template <int Mode> TRowRoutine ForMode(bool keyed, bool mirrored, bool stepped) {
    static constexpr TRowRoutine table[8] = {
        Row<Mode, false, false, false>, Row<Mode, false, false, true>, Row<Mode, false, true, false>,
        Row<Mode, false, true, true>,   Row<Mode, true, false, false>, Row<Mode, true, false, true>,
        Row<Mode, true, true, false>,   Row<Mode, true, true, true>,
    };
    return table[(keyed ? 4 : 0) + (mirrored ? 2 : 0) + (stepped ? 1 : 0)];
}

} // namespace

TRowRoutine RowRoutine(int mode, bool keyed, bool mirrored, bool stepped) {
    switch (mode) {
    case bmCopy: return ForMode<bmCopy>(keyed, mirrored, stepped);
    case bmAlpha: return ForMode<bmAlpha>(keyed, mirrored, stepped);
    case bmAdd: return ForMode<bmAdd>(keyed, mirrored, stepped);
    case bmMultiply: return ForMode<bmMultiply>(keyed, mirrored, stepped);
    default: return nullptr;
    }
}

} // namespace quillon
