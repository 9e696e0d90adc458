#include "QtDIB.h"
#include "BmpFixtures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <random>

using namespace quillon;
using namespace quillon::test;

namespace {

QImage ByQt(const std::vector<std::uint8_t>& bytes) {
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP");
}

QImage ByUs(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    TDIB dib;
    dib.LoadFromStream(stream);
    return DIBToQImage(dib);
}

std::vector<std::uint8_t> RandomBytes(std::size_t n, std::mt19937& random) {
    std::vector<std::uint8_t> b(n);
    for (std::uint8_t& v : b) v = static_cast<std::uint8_t>(random());
    return b;
}

} // namespace

// Standard files decode to the same colours as Qt's own reader.
TEST(QtDIB, AgreesWithQImage) {
    std::mt19937 random(41);
    // 16-bit channels are widened differently (we repeat the high bits in the low ones): only the
    // bits the file holds are compared.
    struct Case {
        const char* name;
        TBmpFixture bmp; // the header fields and pixels of the file the case builds
        QRgb significant = 0xFFFFFF;
    };
    std::vector<Case> cases;
    for (std::uint16_t bits : {1, 4, 8, 24}) {
        TBmpFixture s;
        s.Width = 13;
        s.Height = 7;
        s.BitCount = bits;
        if (bits <= 8)
            for (int i = 0; i < (1 << bits); ++i)
                s.Table.push_back({std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())});
        s.Pixels = RandomBytes(static_cast<std::size_t>((13 * bits + 31) / 32 * 4 * 7), random);
        cases.push_back({"plain", s});
        s.Height = -7;
        cases.push_back({"top-down", s});
        if (bits == 8 || bits == 24) {
            TBmpFixture core = s;
            core.Height = 7;
            core.HeaderSize = 12;
            cases.push_back({"core header", core});
        }
    }
    {
        TBmpFixture s;
        s.Width = 9;
        s.Height = 5;
        s.BitCount = 16;
        s.Compression = 3;
        s.Masks = {0xF800, 0x7E0, 0x1F};
        s.Pixels = RandomBytes(20 * 5, random);
        cases.push_back({"16-bit 5-6-5", s, 0xF8FCF8});
        s.Compression = 0;
        s.Masks.clear();
        cases.push_back({"16-bit 5-5-5", s, 0xF8F8F8});
        s.BitCount = 32;
        s.Compression = 3;
        s.Masks = {0xFF0000, 0xFF00, 0xFF};
        s.Pixels = RandomBytes(36 * 5, random);
        for (std::size_t i = 3; i < s.Pixels.size(); i += 4) s.Pixels[i] = 0;
        cases.push_back({"32-bit bit fields", s});
    }
    {
        TBmpFixture s;
        s.Width = 6;
        s.Height = 3;
        s.BitCount = 8;
        s.Compression = 1;
        for (int i = 0; i < 256; ++i) s.Table.push_back({std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 3)});
        s.Pixels = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 2, 9, 4, 10, 0, 0, 6, 11, 0, 1};
        cases.push_back({"RLE8", s});
        s.BitCount = 4;
        s.Compression = 2;
        s.Table.resize(16);
        // Every pixel is written: Qt leaves skipped pixels black, we leave them index 0.
        s.Pixels = {6, 0x12, 0, 0, 0, 6, 0xAB, 0xCD, 0xEF, 0, 0, 0, 6, 0x34, 0, 1};
        cases.push_back({"RLE4", s});
    }
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = BuildBmp(c.bmp);
        QImage qt = ByQt(bytes), ours = ByUs(bytes);
        ASSERT_FALSE(qt.isNull()) << c.name;
        ASSERT_EQ(ours.size(), qt.size()) << c.name;
        for (int y = 0; y < qt.height(); ++y)
            for (int x = 0; x < qt.width(); ++x)
                ASSERT_EQ(ours.pixel(x, y) & c.significant, qt.pixel(x, y) & c.significant)
                    << c.name << " at " << x << "," << y;
    }
}

// What the writer makes, Qt reads the same.
TEST(QtDIB, WrittenFilesReadByQImage) {
    std::mt19937 random(42);
    for (int bits : {1, 4, 8, 24, 32}) {
        TDIB dib;
        for (TRGBQuad& q : dib.ColorTable)
            q = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0};
        dib.SetSize(11, 6, bits);
        for (int y = 0; y < 6; ++y)
            for (int i = 0; i < dib.WidthBytes(); ++i) dib.ScanLine(y)[i] = static_cast<std::uint8_t>(random());
        TMemoryStream stream;
        dib.SaveToStream(stream);
        QImage qt = ByQt(stream.Bytes()), ours = DIBToQImage(dib);
        ASSERT_FALSE(qt.isNull()) << bits;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 11; ++x) ASSERT_EQ(ours.pixel(x, y) & 0xFFFFFF, qt.pixel(x, y) & 0xFFFFFF) << bits;
    }
}
