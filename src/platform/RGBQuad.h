#pragma once
// A colour-table entry in the byte order of BMP files: blue, green, red and a fourth byte.
#include <cstdint>

namespace quillon {

struct TRGBQuad {
    std::uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
    bool operator==(const TRGBQuad&) const = default;
};

} // namespace quillon
