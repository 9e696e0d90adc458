#include "DIB.h"
#include "BmpFixtures.h"
#include "HostileFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

using namespace quillon;
using namespace quillon::test;

namespace {

TDIB Read(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    TDIB dib;
    dib.LoadFromStream(stream);
    return dib;
}

std::vector<std::uint8_t> Write(const TDIB& dib) {
    TMemoryStream stream;
    dib.SaveToStream(stream);
    return stream.Bytes();
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// A picture of random pixels and colour table.
TDIB RandomDIB(int width, int height, int bits, TDIBPixelFormat format, std::mt19937& random) {
    TDIB dib;
    for (TRGBQuad& q : dib.ColorTable) q = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0};
    dib.PixelFormat = format;
    dib.SetSize(width, height, bits);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.ScanLine(y);
        for (int i = 0; i < dib.WidthBytes(); ++i) row[i] = static_cast<std::uint8_t>(random());
    }
    return dib;
}

std::vector<std::uint8_t> RowBytes(const TDIB& dib, int y) {
    const std::uint8_t* row = dib.ScanLineReadOnly(y);
    return {row, row + dib.WidthBytes()};
}

void ExpectSamePicture(const TDIB& a, const TDIB& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    ASSERT_EQ(a.BitCount(), b.BitCount());
    EXPECT_EQ(a.ImagePixelFormat(), b.ImagePixelFormat());
    for (int i = 0; i < a.Image().PaletteCount; ++i) EXPECT_EQ(a.ImageColorTable()[i], b.ImageColorTable()[i]) << i;
    for (int y = 0; y < a.Height(); ++y) EXPECT_EQ(RowBytes(a, y), RowBytes(b, y)) << y;
}

const TDIBPixelFormat F888 = MakeRGBBitFields(8, 8, 8);
const TDIBPixelFormat F555 = MakeRGBBitFields(5, 5, 5);
const TDIBPixelFormat F565 = MakeRGBBitFields(5, 6, 5);

// An RLE8 file of the given size and data, with a 256-entry colour table.
TBmpFixture Rle8Fixture(std::int32_t width, std::int32_t height, std::vector<std::uint8_t> data) {
    TBmpFixture s;
    s.Width = width;
    s.Height = height;
    s.Compression = 1;
    s.Table.resize(256);
    s.Pixels = std::move(data);
    return s;
}

} // namespace

TEST(PixelFormat, MasksShiftsAndPacking) {
    EXPECT_EQ(F565.RBitMask, 0xF800u);
    EXPECT_EQ(F565.GBitMask, 0x7E0u);
    EXPECT_EQ(F565.BBitMask, 0x1Fu);
    EXPECT_EQ(F555.RBitMask, 0x7C00u);
    EXPECT_EQ(F888.RBitMask, 0xFF0000u);
    EXPECT_EQ(MakeRGBBitFieldsFromMasks(0x1F, 0x7E0, 0xF800), F565) << "masks reduce to widths";
    EXPECT_EQ(PackRGB(F565, 255, 128, 8), 0xFC01u);
    EXPECT_EQ(UnpackRGB(F565, 0xFFFF), (TRGB{255, 255, 255}));
    EXPECT_EQ(UnpackRGB(F565, 0xF800), (TRGB{255, 0, 0}));
    EXPECT_EQ(UnpackRGB(F555, 0x0210), (TRGB{0, 132, 132})) << "10000 widens to 10000100";
    EXPECT_EQ(UnpackRGB(F565, 0xC09B), (TRGB{0xC6, 0x10, 0xDE}));
    EXPECT_EQ(UnpackRGB(F888, 0x123456), (TRGB{0x12, 0x34, 0x56}));
    TDIBPixelFormat odd = MakeRGBBitFieldsFromMasks(0, 0xFFFFFFFF, 0); // no undefined shift
    EXPECT_EQ(odd.GBitCount, 32u);
    TColorTable t = MakeRGBPalette(3, 3, 2);
    EXPECT_EQ(t[0xFF], (TRGBQuad{255, 255, 255, 0}));
    EXPECT_EQ(t[0x20], (TRGBQuad{0, 0, 36, 0}));
    EXPECT_EQ(t[0x03], (TRGBQuad{255, 0, 0, 0}));
}

TEST(DIBFiles, ReadOfWriteIsIdentityForEveryDepth) {
    std::mt19937 random(11);
    struct Case {
        int bits;
        TDIBPixelFormat format;
        std::uint32_t pixelOffset;
        std::uint32_t compression;
    } cases[] = {{1, F888, 62, 0},  {4, F888, 118, 0}, {8, F888, 1078, 0}, {16, F555, 66, 3},
                 {16, F565, 66, 3}, {24, F888, 54, 0}, {32, F888, 66, 3}};
    for (const Case& c : cases)
        for (int width : {1, 3, 13}) {
            TDIB dib = RandomDIB(width, 5, c.bits, c.format, random);
            std::vector<std::uint8_t> bytes = Write(dib);
            EXPECT_EQ(Le32(bytes, 10), c.pixelOffset) << c.bits;
            EXPECT_EQ(Le32(bytes, 2), bytes.size());
            EXPECT_EQ(Le32(bytes, 14 + 16), c.compression);
            TDIB back = Read(bytes);
            ExpectSamePicture(back, dib);
            EXPECT_EQ(Write(back), bytes);
        }
}

TEST(DIBFiles, CoreHeaderReadsThreeBytesPerEntry) {
    TBmpFixture s;
    s.HeaderSize = 12;
    s.Width = 3;
    s.Height = 2;
    s.BitCount = 8;
    for (int i = 0; i < 256; ++i) s.Table.push_back({std::uint8_t(i), std::uint8_t(255 - i), 7});
    s.Pixels = {1, 2, 3, 0, /* top row: */ 4, 5, 6, 0};
    TDIB dib = Read(BuildBmp(s));
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.ImageColorTable()[200], (TRGBQuad{200, 55, 7, 0}));
    EXPECT_EQ(RowBytes(dib, 0), (std::vector<std::uint8_t>{4, 5, 6, 0}));
    EXPECT_EQ(RowBytes(dib, 1), (std::vector<std::uint8_t>{1, 2, 3, 0}));
}

TEST(DIBFiles, TopDownReadsLikeBottomUp) {
    TBmpFixture s;
    s.Width = 2;
    s.Height = 3;
    s.BitCount = 24;
    s.Pixels = {1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4, 4, 4, 0, 0, 5, 5, 5, 6, 6, 6, 0, 0};
    TDIB up = Read(BuildBmp(s));
    s.Height = -3;
    std::vector<std::uint8_t> rows = s.Pixels;
    std::copy(rows.begin() + 16, rows.end(), s.Pixels.begin());
    std::copy(rows.begin(), rows.begin() + 8, s.Pixels.begin() + 16);
    TDIB down = Read(BuildBmp(s));
    EXPECT_EQ(down.Height(), 3);
    ExpectSamePicture(down, up);
    EXPECT_EQ(RowBytes(down, 0)[0], 5) << "ScanLine 0 is the top row";
}

TEST(DIBFiles, BitFields) {
    TBmpFixture s;
    s.Width = 2;
    s.Height = 1;
    s.BitCount = 16;
    s.Compression = 3;
    s.Masks = {0xF800, 0x7E0, 0x1F};
    s.Pixels = {0x00, 0xF8, 0xE0, 0x07};
    TDIB dib = Read(BuildBmp(s));
    EXPECT_EQ(dib.ImagePixelFormat(), F565);
    const std::uint8_t* row = dib.ScanLineReadOnly(0);
    EXPECT_EQ(UnpackRGB(dib.ImagePixelFormat(), row[0] | row[1] << 8), (TRGB{255, 0, 0}));
    EXPECT_EQ(UnpackRGB(dib.ImagePixelFormat(), row[2] | row[3] << 8), (TRGB{0, 255, 0}));

    s.Compression = 0;
    s.Masks.clear();
    EXPECT_EQ(Read(BuildBmp(s)).ImagePixelFormat(), F555) << "16-bit BI_RGB";

    s.Compression = 3;
    s.Masks = {0xF00, 0xF0, 0xF};
    try {
        Read(BuildBmp(s));
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "不正なピクセルフォーマットです");
    }
    for (auto masks :
         {std::vector<std::uint32_t>{0, 0, 0}, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, {1, 0x80000000u, 1}}) {
        s.Masks = masks;
        EXPECT_THROW(Read(BuildBmp(s)), EInvalidGraphicOperation);
    }

    s.BitCount = 32;
    s.Masks = {0xFF, 0xFF00, 0xFF0000};
    s.Pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    EXPECT_EQ(Read(BuildBmp(s)).ImagePixelFormat(), F888) << "mask order is not kept, only widths";
}

TEST(DIBFiles, ColourCounts) {
    TBmpFixture s;
    s.Width = 1;
    s.Height = 1;
    s.BitCount = 24;
    s.ClrUsed = 2;
    s.Table = {{9, 9, 9}, {8, 8, 8}};
    s.Pixels = {10, 20, 30, 0};
    EXPECT_EQ(RowBytes(Read(BuildBmp(s)), 0), (std::vector<std::uint8_t>{10, 20, 30, 0})) << "entries skipped";
    s.BitCount = 8;
    s.ClrUsed = 3;
    s.Table = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    s.Pixels = {2, 0, 0, 0};
    TDIB dib = Read(BuildBmp(s));
    EXPECT_EQ(dib.ImageColorTable()[2], (TRGBQuad{7, 8, 9, 0}));
    EXPECT_EQ(dib.ImageColorTable()[3], TRGBQuad{}) << "entries not read are 0";
    s.ClrUsed = 257;
    s.Table.resize(257);
    EXPECT_THROW(Read(BuildBmp(s)), EInvalidGraphic);
}

TEST(DIBFiles, Rle8) {
    TBmpFixture s;
    s.Width = 6;
    s.Height = 3;
    s.BitCount = 8;
    s.Compression = 1;
    s.Table.resize(256);
    s.Pixels = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, // row 0: 7 7 7 1 2 3 (absolute run padded)
                0, 2, 3, 1, 2, 9,             // delta: 3 right, 1 up; row 2 at x 3: 9 9
                0, 1};
    TDIB dib = Read(BuildBmp(s));
    EXPECT_TRUE(dib.Compressed());
    std::vector<std::uint8_t> bytes = BuildBmp(s);
    EXPECT_EQ(Write(dib), bytes) << "untouched RLE data is written back";
    dib.ScanLine(0);
    EXPECT_FALSE(dib.Compressed());
    EXPECT_EQ(RowBytes(dib, 2), (std::vector<std::uint8_t>{7, 7, 7, 1, 2, 3, 0, 0}));
    EXPECT_EQ(RowBytes(dib, 1), (std::vector<std::uint8_t>(8, 0)));
    EXPECT_EQ(RowBytes(dib, 0), (std::vector<std::uint8_t>{0, 0, 0, 9, 9, 0, 0, 0}));
}

TEST(DIBFiles, Rle4) {
    TBmpFixture s;
    s.Width = 7;
    s.Height = 2;
    s.BitCount = 4;
    s.Compression = 2;
    s.Table.resize(16);
    s.Pixels = {5, 0x12, 0, 3, 0xAB, 0xC0, 0, 0, 3, 0xEF, 0, 1};
    TDIB dib = Read(BuildBmp(s));
    dib.Decompress();
    // Row from the bottom: 1 2 1 2 1 A B C -> clipped at width 7; next row E F E.
    EXPECT_EQ(RowBytes(dib, 1), (std::vector<std::uint8_t>{0x12, 0x12, 0x1A, 0xB0}));
    EXPECT_EQ(RowBytes(dib, 0), (std::vector<std::uint8_t>{0xEF, 0xE0, 0, 0}));
}

TEST(DIBFiles, RleStopsAtThePicturesEdge) {
    TBmpFixture s;
    s.Width = 2;
    s.Height = 2;
    s.BitCount = 8;
    s.Compression = 1;
    s.Table.resize(256);
    s.Pixels = {255, 1, 0, 2, 255, 0, 0, 0, 0, 0, 0, 0, 9, 2, 0, 2, 0, 255, 0, 4, 1, 2};
    TDIB dib = Read(BuildBmp(s));
    dib.Decompress();
    EXPECT_EQ(RowBytes(dib, 1), (std::vector<std::uint8_t>{1, 1, 0, 0}));
    EXPECT_EQ(RowBytes(dib, 0), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

// End-of-line, delta and an early end-of-picture pass over pixels, so RLE data far shorter than its
// picture is valid: such pictures must read, every pixel the data passes over being colour 0 (they
// were once refused as claiming more pixels than their data could write).
TEST(DIBFiles, RlePicturesThatSkipPixelsRead) {
    std::vector<std::uint8_t> sheet; // a 10-pixel run on every 20th row, every row a bare end-of-line
    for (int y = 0; y < 480; ++y) {
        if (y % 20 == 0) sheet.insert(sheet.end(), {10, 5});
        sheet.insert(sheet.end(), {0, 0});
    }
    sheet.insert(sheet.end(), {0, 1});
    struct Case {
        const char* name;
        TBmpFixture file;
        std::function<std::uint8_t(int x, int storedRow)> pixel;
    } cases[] = {
        {"bare end-of-lines", Rle8Fixture(640, 480, sheet),
         [](int x, int y) -> std::uint8_t { return y % 20 == 0 && x < 10 ? 5 : 0; }},
        {"delta 200 right, 100 up, then a run", Rle8Fixture(300, 200, {0, 2, 200, 100, 30, 9, 0, 1}),
         [](int x, int y) -> std::uint8_t { return y == 100 && x >= 200 && x < 230 ? 9 : 0; }},
        {"only an end-of-picture", Rle8Fixture(100, 100, {0, 1}), [](int, int) -> std::uint8_t { return 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDIB dib = Read(BuildBmp(c.file));
        ASSERT_EQ(dib.Width(), c.file.Width);
        ASSERT_EQ(dib.Height(), c.file.Height);
        dib.Decompress();
        for (int y = 0; y < dib.Height(); ++y) {
            std::vector<std::uint8_t> expected(static_cast<std::size_t>(dib.WidthBytes()), 0);
            for (int x = 0; x < dib.Width(); ++x) expected[static_cast<std::size_t>(x)] = c.pixel(x, y);
            ASSERT_EQ(RowBytes(dib, dib.Height() - 1 - y), expected) << "stored row " << y;
        }
    }
}

// 278 bytes claiming 16,121,864 x 3 pixels, within the size rule: the picture reads, and asking for
// its pixels again and again expands it once.
TEST(DIBFiles, ALargeRlePictureIsExpandedOnce) {
    TDIB dib = Read(HostileRle(4, 16121864, 3, 278));
    ASSERT_EQ(dib.Width(), 16121864);
    ASSERT_EQ(dib.Height(), 3);
    const std::int64_t before = RleExpansions();
    dib.Decompress();
    dib.ScanLine(2);
    dib.Decompress();
    dib.PBits();
    EXPECT_EQ(RleExpansions() - before, 1);
    const std::uint8_t* row = dib.ScanLineReadOnly(0);
    EXPECT_TRUE(std::all_of(row, row + dib.WidthBytes(), [](std::uint8_t b) { return b == 0; }));
}

TEST(DIBFiles, RefusedFiles) {
    TBmpFixture good;
    good.Width = 2;
    good.Height = 2;
    good.BitCount = 8;
    good.Table.resize(256);
    good.Pixels.assign(8, 1);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"ten bytes", std::vector<std::uint8_t>(10, 'B')});
    auto bytes = BuildBmp(good);
    bytes[1] = 'A';
    cases.push_back({"not BM", bytes});
    for (int size : {16, 52, 56, 64, 108, 124}) {
        TBmpFixture s = good;
        s.HeaderSize = size;
        cases.push_back({"header size", BuildBmp(s)});
    }
    for (std::uint32_t compression : {4u, 5u, 1u /* RLE8 of 4 bits */}) {
        TBmpFixture s = good;
        s.BitCount = 4;
        s.Table.resize(16);
        s.Compression = compression;
        cases.push_back({"compression", BuildBmp(s)});
    }
    {
        TBmpFixture s = good;
        s.Width = -2;
        cases.push_back({"negative width", BuildBmp(s)});
    }
    // A compressed picture's size is its data's length: without a byte of data it would read as empty.
    cases.push_back({"RLE data without a byte", BuildBmp(Rle8Fixture(1, 1, {}))});
    for (const Case& c : cases) {
        try {
            Read(c.bytes);
            ADD_FAILURE() << c.name;
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), "不正な DIB です") << c.name;
        }
    }
    TBmpFixture s = good;
    s.BitCount = 2;
    s.Table.resize(4);
    try {
        Read(BuildBmp(s));
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "不正なビット数です (2)");
    }
    s = good;
    s.Width = 8192;
    s.Height = 8192;
    EXPECT_THROW(Read(BuildBmp(s)), EReadError) << "pixels promised but not present";
}

TEST(DIBFiles, FailedReadKeepsThePictureAndEmptyStreamChangesNothing) {
    std::mt19937 random(3);
    TDIB dib = RandomDIB(4, 4, 8, F888, random);
    std::vector<std::uint8_t> before = Write(dib);
    for (std::size_t n = 0; n < before.size(); ++n) {
        TMemoryStream stream(std::vector<std::uint8_t>(before.begin(), before.begin() + n));
        try {
            dib.LoadFromStream(stream);
            ASSERT_TRUE(n == 0 || n == 14) << n;
            if (n == 14) {
                EXPECT_TRUE(dib.Empty()) << "a file header alone reads as an empty picture";
                dib = Read(before);
            }
        } catch (const EInvalidGraphic&) {
        } catch (const EReadError&) {
        }
        ASSERT_EQ(Write(dib), before) << n;
    }
}

TEST(DIB, SharingAndCopyOnWrite) {
    std::mt19937 random(4);
    TDIB a = RandomDIB(3, 3, 24, F888, random);
    TDIB b;
    b.Assign(a);
    EXPECT_EQ(&a.Image(), &b.Image());
    b.ScanLine(1)[0] ^= 0xFF;
    EXPECT_NE(&a.Image(), &b.Image());
    EXPECT_NE(RowBytes(a, 1), RowBytes(b, 1));
    b.Assign(a);
    b.ScanLineReadOnly(1)[0] ^= 0xFF;
    EXPECT_EQ(RowBytes(a, 1), RowBytes(b, 1)) << "a read-only row is shared";
    try {
        a.ScanLine(3);
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "スキャンラインのインデックスが範囲を越えました (3)");
    }
    EXPECT_THROW(a.ScanLineReadOnly(-1), EInvalidGraphicOperation);
}

TEST(DIB, SizesAndBitCounts) {
    TDIB dib;
    EXPECT_TRUE(dib.Empty());
    dib.SetWidth(5);
    EXPECT_EQ(dib.Height(), 1);
    EXPECT_EQ(dib.BitCount(), 8);
    const TDIBSharedImage* image = &dib.Image();
    dib.SetSize(5, 1, 8);
    EXPECT_EQ(&dib.Image(), image) << "same values keep the image";
    dib.SetSize(5, 1, 32);
    image = &dib.Image();
    dib.PixelFormat = F565;
    EXPECT_THROW(dib.SetSize(5, 1, 32), EInvalidGraphicOperation);
    dib.PixelFormat = F888;
    dib.SetHeight(0);
    EXPECT_TRUE(dib.Empty());
    EXPECT_THROW(dib.SetSize(2, 2, 7), EInvalidGraphicOperation);
}

TEST(DIB, ConvertBitCount) {
    TDIB dib;
    dib.ColorTable[1] = {10, 20, 30, 0};
    dib.ColorTable[2] = {250, 250, 250, 0};
    dib.SetSize(2, 1, 8);
    dib.ScanLine(0)[0] = 1;
    dib.ScanLine(0)[1] = 2;
    TDIB same(dib);
    dib.SetBitCount(8);
    EXPECT_EQ(&dib.Image(), &same.Image());
    dib.SetBitCount(24);
    EXPECT_EQ(RowBytes(dib, 0), (std::vector<std::uint8_t>{10, 20, 30, 250, 250, 250, 0, 0}));
    dib.PixelFormat = F565;
    dib.SetBitCount(16);
    EXPECT_EQ(UnpackRGB(F565, dib.ScanLineReadOnly(0)[2] | dib.ScanLineReadOnly(0)[3] << 8),
              UnpackRGB(F565, PackRGB(F565, 250, 250, 250)));
    dib.PixelFormat = F888;
    dib.SetBitCount(32);
    dib.SetBitCount(1);
    EXPECT_EQ(dib.ScanLineReadOnly(0)[0], 0x40) << "dark pixel black, light pixel white";
    dib.SetBitCount(8);
    EXPECT_EQ(RowBytes(dib, 0), (std::vector<std::uint8_t>{0, 1, 0, 0})) << "indexes kept when growing";
    TDIB grey;
    grey.SetSize(1, 1, 8);
    grey.ScanLine(0)[0] = 200;
    grey.SetBitCount(4);
    TRGBQuad q = grey.ImageColorTable()[grey.ScanLineReadOnly(0)[0] >> 4];
    EXPECT_EQ(q, (TRGBQuad{255, 170, 255, 0})) << "nearest entry of the 1-2-1 table";
}

TEST(DIBFiles, HostileMutations) {
    std::mt19937 random(9);
    std::vector<std::vector<std::uint8_t>> sources;
    for (int bits : {1, 4, 8, 16, 24, 32})
        sources.push_back(Write(RandomDIB(5, 4, bits, bits == 16 ? F565 : F888, random)));
    TBmpFixture rle;
    rle.Width = 6;
    rle.Height = 3;
    rle.Compression = 1;
    rle.Table.resize(256);
    rle.Pixels = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 3, 1, 2, 9, 0, 1};
    sources.push_back(BuildBmp(rle));
    rle.BitCount = 4;
    rle.Compression = 2;
    rle.Table.resize(16);
    sources.push_back(BuildBmp(rle));
    for (const auto& source : sources)
        for (int round = 0; round < 300; ++round) {
            std::vector<std::uint8_t> bytes = source;
            for (int e = 1 + static_cast<int>(random() % 4); e > 0 && !bytes.empty(); --e) {
                const bool nearStart = random() % 2;
                const std::size_t at = random() % std::min<std::size_t>(bytes.size(), nearStart ? 64 : bytes.size());
                switch (random() % 4) {
                case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
                case 1: bytes[at] = random() % 2 ? 0xFF : 0x80; break;
                case 2: bytes.resize(at); break;
                default: bytes.insert(bytes.begin() + at, static_cast<std::uint8_t>(random())); break;
                }
            }
            TMemoryStream stream(bytes);
            TDIB dib;
            try {
                dib.LoadFromStream(stream);
            } catch (const EInvalidGraphic&) {
                continue;
            } catch (const EInvalidGraphicOperation&) {
                continue;
            } catch (const EReadError&) {
                continue;
            }
            if (dib.Empty() || std::int64_t{dib.WidthBytes()} * dib.Height() > (1 << 24)) continue;
            for (int y = 0; y < dib.Height(); ++y) dib.ScanLine(y);
            Write(dib);
        }
}
