#pragma once
// BMP files assembled byte by byte for the reader's tests.
#include <array>
#include <cstdint>
#include <vector>

namespace quillon::test {

struct TBmpFixture {
    int HeaderSize = 40; // 12: core header
    std::int32_t Width = 0, Height = 0;
    std::uint16_t BitCount = 8;
    std::uint32_t Compression = 0;
    std::uint32_t ClrUsed = 0;
    std::vector<std::uint32_t> Masks;               // written after the header when given
    std::vector<std::array<std::uint8_t, 3>> Table; // blue, green, red
    std::vector<std::uint8_t> Pixels;               // as stored
};

inline void Put(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::vector<std::uint8_t> BuildBmp(const TBmpFixture& s) {
    std::vector<std::uint8_t> info;
    Put(info, static_cast<std::uint32_t>(s.HeaderSize), 4);
    if (s.HeaderSize == 12) {
        Put(info, static_cast<std::uint32_t>(s.Width), 2);
        Put(info, static_cast<std::uint32_t>(s.Height), 2);
        Put(info, 1, 2);
        Put(info, s.BitCount, 2);
    } else {
        Put(info, static_cast<std::uint32_t>(s.Width), 4);
        Put(info, static_cast<std::uint32_t>(s.Height), 4);
        Put(info, 1, 2);
        Put(info, s.BitCount, 2);
        Put(info, s.Compression, 4);
        Put(info, static_cast<std::uint32_t>(s.Pixels.size()), 4);
        Put(info, 0, 4);
        Put(info, 0, 4);
        Put(info, s.ClrUsed, 4);
        Put(info, 0, 4);
        info.resize(static_cast<std::size_t>(s.HeaderSize), 0);
    }
    for (std::uint32_t m : s.Masks) Put(info, m, 4);
    for (const auto& e : s.Table) {
        info.insert(info.end(), e.begin(), e.end());
        if (s.HeaderSize != 12) info.push_back(0);
    }
    std::vector<std::uint8_t> file = {'B', 'M'};
    Put(file, static_cast<std::uint32_t>(14 + info.size() + s.Pixels.size()), 4);
    Put(file, 0, 4);
    Put(file, static_cast<std::uint32_t>(14 + info.size()), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.Pixels.begin(), s.Pixels.end());
    return file;
}

} // namespace quillon::test
