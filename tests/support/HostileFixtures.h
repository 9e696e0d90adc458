#pragma once
// Small hostile picture files: each a few hundred bytes whose header asks for a picture far past
// the size rule, or whose cells would need a strip far past it, or a picture within the rule that
// costs its full size to expand. Used by the hostile-input tests and written as seeds for the fuzz
// targets.
#include "BmpFixtures.h"

#include <string>
#include <vector>

namespace quillon::test {

struct THostilePicture {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
};

// An RLE picture of the given size whose data is one end-of-picture item after padding, so that
// the file has exactly fileSize bytes.
inline std::vector<std::uint8_t> HostileRle(int bits, std::int32_t width, std::int32_t height, std::size_t fileSize) {
    TBmpFixture s;
    s.Width = width;
    s.Height = height;
    s.BitCount = static_cast<std::uint16_t>(bits);
    s.Compression = bits == 8 ? 1 : 2;
    s.Table.resize(std::size_t{1} << bits);
    std::size_t header = BuildBmp(s).size();
    s.Pixels.assign(fileSize - header, 0);
    // Runs of 255 pixels, then the end of the picture.
    for (std::size_t i = 0; i + 4 <= s.Pixels.size(); i += 2) s.Pixels[i] = 255;
    s.Pixels[s.Pixels.size() - 2] = 0;
    s.Pixels[s.Pixels.size() - 1] = 1;
    return BuildBmp(s);
}

// An 8-bit uncompressed picture whose rows are promised but not present.
inline std::vector<std::uint8_t> HostilePaletted(std::int32_t width, std::int32_t height, std::size_t fileSize) {
    TBmpFixture s;
    s.Width = width;
    s.Height = height;
    s.BitCount = 8;
    s.Table.resize(256);
    std::vector<std::uint8_t> bytes = BuildBmp(s);
    bytes.resize(fileSize, 0x11);
    return bytes;
}

inline std::vector<THostilePicture> HostilePictures() {
    return {
        // Its 24-bit conversion needed rows of more than 4 GiB, cut to an int.
        {"rle8-wide.bmp", HostileRle(8, 1431655766, 1, 1082)},
        // Asked for 2,013,266,380 bytes.
        {"rle4-tall.bmp", HostileRle(4, 16, 251658297, 514)},
        // A gigapixel expanded from a kilobyte.
        {"rle8-square.bmp", HostileRle(8, 32768, 32768, 1082)},
        // Within the rule: 48 megapixels from 278 bytes, nearly all passed over by the end of the
        // picture; it cost its full size again each time a bitmap list named it.
        {"rle4-claim.bmp", HostileRle(4, 16121864, 3, 278)},
        // 134 million rows read by the paletted loader.
        {"paletted-tall.bmp", HostilePaletted(32, 134217728, 1142)},
        // Within the rule as a picture, but its 262,145 cells of one pixel column need a strip past it.
        {"paletted-narrow.bmp", HostilePaletted(1, 262145 * 16, 1142)},
    };
}

} // namespace quillon::test
