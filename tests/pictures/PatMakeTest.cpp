#include "PatMake.h"

#include "BmpFixtures.h"
#include "PatMakeFixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>

namespace quillon {
namespace {

using namespace quillon::testing;

TBitmapListEntry Entry(std::int32_t number, const fs::path& path) {
    TBitmapListEntry e;
    e.Number = number;
    e.Path = path;
    return e;
}

// Four different cells in a 32 x 32 picture; its top-left pixel (0) is the key.
std::uint32_t FourCells(int x, int y) {
    return static_cast<std::uint32_t>(((x / 16 + 2 * (y / 16) + 1) << 16) | ((x % 16) << 8) | (y % 16)) * (x + y > 0);
}

// A run as {Cell, Count, X, Y}.
using TRun = std::array<std::int64_t, 4>;

std::vector<TRun> Runs(const TVantorPatternFrame& frame) {
    std::vector<TRun> runs;
    for (const TVantorPatternRect& r : frame.Rects) runs.push_back({r.Cell, r.Count, r.X, r.Y});
    return runs;
}

using TCollectFn = std::function<TCollectResult(const TBitmapListEntries&, const TCollectProgress&)>;

struct TKind {
    const char* Name;
    TCollectFn Collect;
    int PictureBits; // what the generated pictures use
    bool Classic;
    int SheetCells; // per sheet row
};

const TKind Kinds[] = {
    {"classic 24, mode 0", [](auto& e, auto& p) { return CollectPatternCells(e, p, 0); }, 24, true, 40},
    {"classic 24, mode 1", [](auto& e, auto& p) { return CollectPatternCells(e, p, 1); }, 24, true, 40},
    {"classic 256, mode 1", [](auto& e, auto& p) { return CollectPatternCells256(e, p, 1); }, 8, true, 40},
    {"Vantor 24", [](auto& e, auto& p) { return CollectVantorPatternCells(e, p); }, 24, false, 32},
    {"Vantor 256", [](auto& e, auto& p) { return CollectVantorPatternCells256(e, p); }, 8, false, 32},
};

class PatMake : public ::testing::Test {
protected:
    TTempDir Dir;
    TColorTable Table = DistinctTable();

    fs::path Picture(const std::string& name, int w, int h, int bits, const TPixelFn& pixel) {
        return WritePicture(Dir / name, w, h, bits, pixel, &Table);
    }
};

TEST_F(PatMake, ThirtyTwoSquarePictureMakesTwoRuns) {
    for (const TKind& kind : Kinds) {
        SCOPED_TRACE(kind.Name);
        fs::path path = Picture("a.bmp", 32, 32, kind.PictureBits, [&](int x, int y) {
            return kind.PictureBits == 24
                       ? FourCells(x, y)
                       : static_cast<std::uint32_t>((x / 16 + 2 * (y / 16)) * 40 + (x % 16) + (y % 16) * (x + y > 0));
        });
        TCollectResult r = kind.Collect({Entry(7, path)}, nullptr);
        ASSERT_EQ(r.Error, "");
        ASSERT_EQ(r.Pattern->Count(), 1);
        const TVantorPatternFrame& f = r.Pattern->Frames(0);
        EXPECT_EQ(f.Number, 7u);
        EXPECT_EQ(Runs(f), (std::vector<TRun>{{0, 2, 144, 208}, {2, 2, 144, 224}}));
        EXPECT_EQ(f.Width, 32);
        EXPECT_EQ(f.Height, 32);
        EXPECT_EQ(f.Bounds.Left, 144);
        EXPECT_EQ(f.Bounds.Top, 208);
        EXPECT_EQ(f.Bounds.Right, 176);
        EXPECT_EQ(f.Bounds.Bottom, 240);
        EXPECT_EQ(f.FlipAxis, NoYAxis);
        EXPECT_EQ(r.Sheet->Width(), kind.SheetCells * 16);
        EXPECT_EQ(r.Sheet->BitCount(), kind.PictureBits);
    }
}

TEST_F(PatMake, OffsetsAxisAndRepeatedPictures) {
    fs::path a = Picture("a.bmp", 32, 32, 24, FourCells);
    TBitmapListEntry first = Entry(3, a);
    first.X = -5;
    first.Y = 12;
    first.YAxis = 100;
    TCollectResult r = CollectVantorPatternCells({first, Entry(9, a)}, nullptr);
    ASSERT_EQ(r.Error, "");
    ASSERT_EQ(r.Pattern->Count(), 2);
    const TVantorPatternFrame& f = r.Pattern->Frames(0);
    EXPECT_EQ(f.OffsetX, -5);
    EXPECT_EQ(f.OffsetY, 12);
    EXPECT_EQ(f.FlipAxis, 100);
    EXPECT_EQ(f.Reserved, 0);
    // The second listing brings no new cell: both frames name cells 0..3.
    EXPECT_EQ(Runs(r.Pattern->Frames(1)), Runs(f));
    EXPECT_EQ(r.Sheet->Height(), 16);
}

TEST_F(PatMake, RepeatedCellsAndGroupsOf32) {
    // Four equal non-blank cells in a row; the key (top-left) is in a cell of its own above them.
    fs::path equal = Picture("eq.bmp", 64, 32, 24, [](int x, int y) {
        return y < 16 ? (x < 16 ? 0u : 0x10u * (x + 1)) : 0x808080u + (x % 16);
    });
    TCollectResult r = CollectVantorPatternCells({Entry(1, equal)}, nullptr);
    ASSERT_EQ(r.Error, "");
    auto runs = Runs(r.Pattern->Frames(0));
    EXPECT_EQ(runs, (std::vector<TRun>{{0, 3, 144, 208}, {3, -4, 128, 224}}));

    // 34 different cells in one row: 31 and 32 lie in different groups of 32.
    fs::path wide = Picture("wide.bmp", 34 * 16, 16, 24, [](int x, int y) {
        return static_cast<std::uint32_t>(((x / 16 + 1) << 16) | (x % 16 + y));
    });
    r = CollectVantorPatternCells({Entry(1, wide)}, nullptr);
    ASSERT_EQ(r.Error, "");
    EXPECT_EQ(Runs(r.Pattern->Frames(0)), (std::vector<TRun>{{0, 32, -112, 224}, {32, 2, 400, 224}}));
    EXPECT_EQ(r.Sheet->Width(), 512);
    EXPECT_EQ(r.Sheet->Height(), 32);
}

TEST_F(PatMake, BlankPictureAddsNoFrameAndSheetKeepsARow) {
    fs::path plain = Picture("plain.bmp", 40, 20, 24, [](int, int) { return 0x123456u; });
    for (const TKind& kind : Kinds) {
        if (kind.PictureBits != 24) continue;
        SCOPED_TRACE(kind.Name);
        TCollectResult r = kind.Collect({Entry(1, plain), Entry(2, plain)}, nullptr);
        ASSERT_EQ(r.Error, "");
        EXPECT_EQ(r.Pattern->Count(), 0);
        ASSERT_TRUE(r.Sheet);
        EXPECT_GE(r.Sheet->Height(), 16);
        EXPECT_EQ(r.Sheet->Height(), std::string(kind.Name) == "classic 24, mode 0" ? 720 : 16);
        const std::uint8_t* p = r.Sheet->ScanLineReadOnly(r.Sheet->Height() - 1);
        EXPECT_EQ(p[0], 0x56);
        EXPECT_EQ(p[2], 0x12);
    }
}

TEST_F(PatMake, SheetSizes) {
    // Ten different cells: 160 x 16.
    fs::path ten = Picture("ten.bmp", 160, 16, 24, [](int x, int y) {
        return static_cast<std::uint32_t>(((x / 16 + 1) << 16) | (x % 16 + y));
    });
    EXPECT_EQ(CollectPatternCells({Entry(1, ten)}, nullptr, 0).Sheet->Height(), 720);
    EXPECT_EQ(CollectPatternCells({Entry(1, ten)}, nullptr, 1).Sheet->Height(), 16);
    EXPECT_EQ(CollectVantorPatternCells({Entry(1, ten)}, nullptr).Sheet->Height(), 16);
}

TEST_F(PatMake, SizeOverNamesThePictureThatBringsCell1801) {
    // Each picture fills the classic screen's 18 x 15 usable cells with cells never seen before
    // (columns 0 and 1 are not cut).
    TBitmapListEntries entries;
    for (int p = 0; p < 7; ++p) {
        fs::path path = Picture("p" + std::to_string(p) + ".bmp", 320, 240, 24, [p](int x, int y) {
            int cell = p * 300 + (y / 16) * 20 + x / 16;
            return static_cast<std::uint32_t>((cell + 1) << 8) | static_cast<std::uint32_t>(x % 16 == 0);
        });
        entries.push_back(Entry(p, path));
    }
    TCollectResult r = CollectPatternCells(entries, nullptr, 0); // 1890 cells, 1800 fit
    EXPECT_EQ(r.Error, "No 6 のファイル\r\n\"" + (Dir / "p6.bmp").string() + "\" を処理中にサイズオーバーになりました");
    EXPECT_FALSE(r.Pattern);
    EXPECT_FALSE(r.Sheet);
    entries.pop_back();
    r = CollectPatternCells(entries, nullptr, 0); // 1620 cells
    ASSERT_EQ(r.Error, "");
    EXPECT_EQ(r.Sheet->Height(), 720);
    EXPECT_EQ(CollectPatternCells(entries, nullptr, 1).Error, "");
}

TEST_F(PatMake, Failures) {
    fs::path good = Picture("good.bmp", 32, 32, 24, FourCells);
    fs::path gray = Picture("gray.bmp", 32, 32, 8, [](int x, int) { return static_cast<std::uint32_t>(x); });
    fs::path nibble = Picture("four.bmp", 32, 32, 4, [](int x, int) { return static_cast<std::uint32_t>(x); });
    fs::path missing = Dir / "missing.bmp";
    fs::path junk = Dir / "junk.bmp";
    { std::ofstream(junk) << "this is no bitmap"; }
    fs::path cut = Dir / "cut.bmp";
    {
        TMemoryStream s;
        MakePicture(32, 32, 24, FourCells).SaveToStream(s);
        std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(s.Bytes().data()), 200);
    }
    auto quoted = [](const fs::path& p) { return "\"" + p.string() + "\""; };
    struct {
        TCollectFn Collect;
        TBitmapListEntries Entries;
        std::string Error;
    } cases[] = {
        {Kinds[0].Collect, {}, "有効なデータがありません"},
        {Kinds[0].Collect, {Entry(256, good)}, "画像番号 256 は有効な範囲を超えています"},
        {Kinds[1].Collect, {Entry(256, good)}, ""},
        {Kinds[1].Collect,
         {Entry(1, good), Entry(2, missing)},
         "\"No 2 のファイル\r\n" + quoted(missing) + "を開けません"},
        {Kinds[3].Collect,
         {Entry(4, junk)},
         "\"No 4 のファイル\r\n" + quoted(junk) + "の形式が正しくないかサポートされていない形式です"},
        {Kinds[3].Collect,
         {Entry(4, cut)},
         "\"No 4 のファイル\r\n" + quoted(cut) + "の読み込み中にエラーが発生しました"},
        {Kinds[3].Collect,
         {Entry(5, nibble)},
         "No 5 のファイル\r\n" + quoted(nibble) + " は8Bitまたは24Bitカラーの画像ではありません"},
        {Kinds[4].Collect,
         {Entry(1, gray), Entry(5, good)},
         "No 5 のファイル\r\n" + quoted(good) + " は8Bitカラーの画像ではありません"},
        {Kinds[2].Collect,
         {Entry(5, nibble)},
         "No 5 のファイル\r\n" + quoted(nibble) + " は8Bitカラーの画像ではありません"},
        {Kinds[3].Collect, {Entry(1, gray), Entry(5, good)}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Error);
        TCollectResult r = c.Collect(c.Entries, nullptr);
        EXPECT_EQ(r.Error, c.Error);
        EXPECT_EQ(bool(r.Pattern), c.Error.empty());
        EXPECT_EQ(bool(r.Sheet), c.Error.empty());
    }
}

TEST_F(PatMake, ProgressBeforeEachPictureAndCancel) {
    fs::path a = Picture("a.bmp", 32, 32, 24, FourCells);
    std::vector<std::pair<int, std::int32_t>> seen;
    TCollectResult r =
        CollectVantorPatternCells({Entry(4, a), Entry(8, a), Entry(9, Dir / "none.bmp")},
                                  [&](int position, std::int32_t number, const fs::path& path, bool& cancel) {
                                      seen.emplace_back(position, number);
                                      EXPECT_FALSE(cancel);
                                      if (number == 9) cancel = true;
                                      EXPECT_EQ(path.parent_path(), Dir.Path());
                                  });
    EXPECT_EQ(r.Error, "中止"); // before the missing picture is even opened
    EXPECT_FALSE(r.Pattern);
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::int32_t>>{{0, 4}, {1, 8}, {2, 9}}));
}

// The 8-bit picture converted to 24 bits gives the colour of its table entries; an 8-bit collector
// keeps indexes and the first picture's table.
TEST_F(PatMake, EightBitPictures) {
    fs::path gray = Picture("gray.bmp", 32, 16, 8, [](int x, int y) { return static_cast<std::uint32_t>(x + y); });
    TCollectResult r24 = CollectPatternCells({Entry(1, gray)}, nullptr, 1);
    ASSERT_EQ(r24.Error, "");
    const std::uint8_t* row = r24.Sheet->ScanLineReadOnly(1); // cell 0, row 1, pixel 0: index 1
    EXPECT_EQ(row[0], Table[1].Blue);
    EXPECT_EQ(row[1], Table[1].Green);
    EXPECT_EQ(row[2], Table[1].Red);
    TCollectResult r8 = CollectPatternCells256({Entry(1, gray)}, nullptr, 1);
    ASSERT_EQ(r8.Error, "");
    EXPECT_EQ(r8.Sheet->ScanLineReadOnly(1)[0], 1);
    EXPECT_EQ(r8.Sheet->ImageColorTable(), Table);
    EXPECT_EQ(r8.Sheet->ScanLineReadOnly(0)[17 * 16], 0); // beyond the cells: the key index
}

// A run-length compressed 8-bit picture is expanded before cutting.
TEST_F(PatMake, Rle8PicturesAreExpanded) {
    std::vector<std::uint8_t> rle;
    for (int y = 15; y >= 0; --y) { // rows bottom-up; row y (from the top) holds index y
        rle.insert(rle.end(), {16, static_cast<std::uint8_t>(y), 0, 0});
    }
    rle.insert(rle.end(), {0, 1});
    std::vector<std::uint8_t> file(14 + 40 + 1024);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size() + rle.size()));
    put32(10, static_cast<std::uint32_t>(file.size()));
    put32(14, 40);
    put32(18, 16);
    put32(22, 16);
    file[26] = 1;
    file[28] = 8;
    put32(30, 1); // BI_RLE8
    put32(34, static_cast<std::uint32_t>(rle.size()));
    for (int i = 0; i < 256; ++i) file[54 + 4 * i] = static_cast<std::uint8_t>(i);
    file.insert(file.end(), rle.begin(), rle.end());
    fs::path path = Dir / "rle.bmp";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

    TCollectResult r = CollectVantorPatternCells256({Entry(1, path)}, nullptr);
    ASSERT_EQ(r.Error, "");
    ASSERT_EQ(r.Pattern->Count(), 1);
    // The picture straddles the grid: its left half is the right half of cell 0.
    for (int y = 0; y < 16; ++y) EXPECT_EQ(r.Sheet->ScanLineReadOnly(y)[8 + 5], y);
}

// A 32 x 32 RLE8 picture of four cells of the indexes base + 1 .. base + 4; its top-left pixel is
// passed over by a delta and is the key index 0.
fs::path WriteRlePicture(const fs::path& path, std::uint8_t base) {
    test::TBmpFixture s;
    s.Width = 32;
    s.Height = 32;
    s.Compression = 1;
    for (int i = 0; i < 256; ++i)
        s.Table.push_back(
            {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7)});
    for (int y = 0; y < 32; ++y) { // stored rows, from the bottom
        const std::uint8_t left = static_cast<std::uint8_t>(base + 1 + 2 * (y / 16));
        if (y == 31)
            s.Pixels.insert(s.Pixels.end(), {0, 2, 1, 0, 15, left});
        else
            s.Pixels.insert(s.Pixels.end(), {16, left});
        s.Pixels.insert(s.Pixels.end(), {16, static_cast<std::uint8_t>(left + 1), 0, 0});
    }
    s.Pixels.insert(s.Pixels.end(), {0, 1});
    const std::vector<std::uint8_t> bytes = test::BuildBmp(s);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A picture named by many entries is read and expanded once in a run, and every naming cuts the
// same cells; expanding it again for each naming multiplied the cost of a large picture.
TEST_F(PatMake, APictureNamedManyTimesIsDecodedOncePerRun) {
    const fs::path a = WriteRlePicture(Dir / "a.bmp", 0), b = WriteRlePicture(Dir / "b.bmp", 10);
    const TBitmapListEntries entries = {Entry(1, a), Entry(2, b), Entry(3, a), Entry(4, Dir / "." / "a.bmp"),
                                        Entry(5, b), Entry(6, a)};
    for (const TKind& kind : Kinds) {
        SCOPED_TRACE(kind.Name);
        const std::int64_t before = RleExpansions();
        TCollectResult r = kind.Collect(entries, nullptr);
        ASSERT_EQ(r.Error, "");
        EXPECT_EQ(RleExpansions() - before, 2);
        ASSERT_EQ(r.Pattern->Count(), 6);
        for (int i : {2, 3, 5}) EXPECT_EQ(Runs(r.Pattern->Frames(i)), Runs(r.Pattern->Frames(0))) << i;
        EXPECT_EQ(Runs(r.Pattern->Frames(4)), Runs(r.Pattern->Frames(1)));
        EXPECT_EQ(Runs(r.Pattern->Frames(0)), (std::vector<TRun>{{0, 2, 144, 208}, {2, 2, 144, 224}}));
        EXPECT_EQ(Runs(r.Pattern->Frames(1)), (std::vector<TRun>{{4, 2, 144, 208}, {6, 2, 144, 224}}));
    }
}

} // namespace
} // namespace quillon
