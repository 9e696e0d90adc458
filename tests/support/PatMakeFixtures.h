#pragma once
// Generated pictures on disk for the collector and maker tests.
#include "DIB.h"

#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace quillon::testing {

namespace fs = std::filesystem;

// A fresh folder removed with everything in it at the end of the test.
class TTempDir {
public:
    TTempDir() {
        static int serial = 0;
        FPath = fs::temp_directory_path() /
                ("quillon-patmake-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        fs::remove_all(FPath);
        fs::create_directories(FPath);
    }
    ~TTempDir() {
        std::error_code ec;
        fs::remove_all(FPath, ec);
    }
    const fs::path& Path() const { return FPath; }
    fs::path operator/(const std::string& name) const { return FPath / name; }

private:
    fs::path FPath;
};

// The pixel at (x, y) from the top: 0xRRGGBB for 24 bits, an index for 8 bits.
using TPixelFn = std::function<std::uint32_t(int x, int y)>;

inline TDIB MakePicture(int width, int height, int bits, const TPixelFn& pixel, const TColorTable* table = nullptr) {
    TDIB dib;
    if (table) dib.ColorTable = *table;
    dib.SetSize(width, height, bits);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t v = pixel(x, y);
            if (bits == 24) {
                row[3 * x] = static_cast<std::uint8_t>(v);
                row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
            } else if (bits == 8) {
                row[x] = static_cast<std::uint8_t>(v);
            } else if (bits == 4) {
                row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4));
            }
        }
    }
    return dib;
}

inline fs::path WritePicture(const fs::path& path, int width, int height, int bits, const TPixelFn& pixel,
                             const TColorTable* table = nullptr) {
    MakePicture(width, height, bits, pixel, table).SaveToFile(path);
    return path;
}

// A colour table whose entry i is a distinct colour (i, 255 - i, i * 7).
inline TColorTable DistinctTable() {
    TColorTable t{};
    for (int i = 0; i < 256; ++i)
        t[i] = {static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i), 0};
    return t;
}

} // namespace quillon::testing
