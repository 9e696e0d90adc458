#include "Pattern.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace quillon;

namespace {

using Words = std::vector<std::uint16_t>; // 300 words: one classic block

Words EmptyWords() {
    Words w(300, 65535);
    for (int r = 0; r < 15; ++r) w[20 * r] = w[20 * r + 1] = 0;
    return w;
}

std::vector<std::uint8_t> Bytes(const Words& words) {
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<std::uint8_t>(w));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return bytes;
}

TVantorPatternFrame DecodeBlock(const Words& words) {
    TMemoryStream stream(Bytes(words));
    TVantorPatternFrame frame;
    frame.LoadFromCharData(stream);
    return frame;
}

Words EncodeBlock(const TVantorPatternFrame& frame) {
    TMemoryStream stream;
    frame.SaveToCharData(stream);
    EXPECT_EQ(stream.Bytes().size(), 600u);
    Words words(300);
    for (int i = 0; i < 300; ++i)
        words[i] = static_cast<std::uint16_t>(stream.Bytes()[2 * i] | stream.Bytes()[2 * i + 1] << 8);
    return words;
}

struct PRun {
    std::uint32_t Cell;
    std::int32_t Count, X, Y;
    bool operator==(const PRun&) const = default;
};

std::vector<PRun> Runs(const TVantorPatternFrame& frame) {
    std::vector<PRun> runs;
    for (const TVantorPatternRect& r : frame.Rects) runs.push_back({r.Cell, r.Count, r.X, r.Y});
    return runs;
}

// Sets a row's used range and its cells from column first on.
void SetRow(Words& w, int row, std::uint16_t w0, std::uint16_t w1, int first, std::vector<std::uint16_t> cells) {
    w[20 * row] = w0;
    w[20 * row + 1] = w1;
    for (std::size_t i = 0; i < cells.size(); ++i) w[20 * row + first + i] = cells[i];
}

std::unique_ptr<TVantorPatternFrame> MakeFrame(std::uint32_t number, std::vector<PRun> runs) {
    auto frame = std::make_unique<TVantorPatternFrame>();
    frame->Number = number;
    frame->Width = 320;
    frame->Height = 240;
    for (const PRun& r : runs) frame->Rects.Add({r.Cell, r.Count, r.X, r.Y});
    return frame;
}

// A pattern of three frames made as the maker makes them.
TVantorPattern SamplePattern() {
    TVantorPattern p;
    p.AddFrame(MakeFrame(7, {{3, 4, 64, 200}, {0, -3, 32, 224}}));
    p.AddFrame(MakeFrame(1, {{40, 1, 160, 16}}));
    auto f = MakeFrame(300, {{100, 2, 288, 0}, {64, 1, 32, 32}});
    f->OffsetX = -5;
    f->OffsetY = 12;
    f->FlipAxis = 40;
    p.AddFrame(std::move(f));
    return p;
}

std::vector<std::uint8_t> VantorBytes(const TVantorPattern& p) {
    TMemoryStream stream;
    p.SaveToStream(stream);
    return stream.Bytes();
}

void Load(TVantorPattern& p, std::vector<std::uint8_t> bytes) {
    TMemoryStream stream(std::move(bytes));
    p.LoadFromStream(stream);
}

void PutU32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> VantorHeader(std::uint32_t version, std::uint32_t scale, std::uint32_t count) {
    std::vector<std::uint8_t> b = {'Z', 'P', 'A', 'T'};
    PutU32(b, version);
    if (version >= 0x01010000) PutU32(b, scale);
    PutU32(b, count);
    return b;
}

void PutRecord(std::vector<std::uint8_t>& b, std::uint32_t number, std::vector<PRun> runs) {
    PutU32(b, number);
    PutU32(b, static_cast<std::uint32_t>(runs.size()));
    if (runs.empty()) return;
    for (std::int32_t v : {320, 240, 0, 0, 0, 0x7FFFFFFF}) PutU32(b, static_cast<std::uint32_t>(v));
    for (const PRun& r : runs)
        for (std::uint32_t v : {r.Cell, std::uint32_t(r.Count), std::uint32_t(r.X), std::uint32_t(r.Y)}) PutU32(b, v);
}

} // namespace

TEST(ClassicBlock, HandSetRowDecodesByTheFirstRuleThatFits) {
    // Cells 5,6,6,6 from column 9 of row 14: 6 follows 5 (ascending run of two), then 6 repeats.
    Words w = EmptyWords();
    SetRow(w, 14, 9, 12, 9, {5, 6, 6, 6});
    TVantorPatternFrame f = DecodeBlock(w);
    EXPECT_EQ(Runs(f), (std::vector<PRun>{{5, 2, 144, 224}, {6, -2, 176, 224}}));
    EXPECT_EQ(f.Width, 320);
    EXPECT_EQ(f.Height, 240);
    EXPECT_EQ(f.FlipAxis, NoFlipAxis);
    EXPECT_EQ(f.Bounds.Left, 144);
    EXPECT_EQ(f.Bounds.Top, 224);
    EXPECT_EQ(f.Bounds.Right, 208);
    EXPECT_EQ(f.Bounds.Bottom, 240);
}

TEST(ClassicBlock, RowCases) {
    struct Case {
        const char* name;
        std::uint16_t w0, w1;
        std::vector<std::uint16_t> cells; // from column 2
        std::vector<PRun> expected;       // sorted by cell
    } cases[] = {
        {"repeat then ascend", 2, 5, {7, 7, 8, 9}, {{7, -2, 32, 16}, {8, 2, 64, 16}}},
        {"ascending run stops at a strip row of 32", 2, 5, {30, 31, 32, 33}, {{30, 2, 32, 16}, {32, 2, 64, 16}}},
        {"gap closes the run", 2, 5, {1, 65535, 2, 3}, {{1, 1, 32, 16}, {2, 2, 64, 16}}},
        {"used range of 1 is no row", 1, 5, {1, 2, 3, 4}, {}},
        {"last below first reads as first", 3, 2, {9, 10, 11}, {{10, 1, 48, 16}}},
        {"descending cells are separate runs", 2, 4, {5, 4, 3}, {{3, 1, 64, 16}, {4, 1, 48, 16}, {5, 1, 32, 16}}},
        {"first above 19 reads as 19", 40, 50, {}, {}},
    };
    for (const Case& c : cases) {
        Words w = EmptyWords();
        SetRow(w, 1, c.w0, c.w1, 2, c.cells);
        EXPECT_EQ(Runs(DecodeBlock(w)), c.expected) << c.name;
    }
    Words w = EmptyWords();
    SetRow(w, 3, 40, 50, 19, {77});
    EXPECT_EQ(Runs(DecodeBlock(w)), (std::vector<PRun>{{77, 1, 304, 48}})) << "columns above 19 read as 19";
}

TEST(ClassicBlock, EncodeWritesUsedRangeAndCells) {
    auto f = MakeFrame(0, {{5, 2, 144, 224}, {6, -2, 176, 224}, {9, 3, 0, 0}, {65534, 1, 304, 16}, {1, 1, 32, 240}});
    Words w = EncodeBlock(*f);
    EXPECT_EQ(w[20 * 14], 9);
    EXPECT_EQ(w[20 * 14 + 1], 12);
    EXPECT_EQ((Words(w.begin() + 20 * 14 + 9, w.begin() + 20 * 14 + 13)), (Words{5, 6, 6, 6}));
    // Row 0: the run at x 0 keeps only its third cell (columns 0 and 1 hold the used range).
    EXPECT_EQ(w[0], 2);
    EXPECT_EQ(w[1], 2);
    EXPECT_EQ(w[2], 11);
    EXPECT_EQ(w[20 * 1 + 19], 65534);
    EXPECT_EQ(Runs(DecodeBlock(w)),
              (std::vector<PRun>{{5, 2, 144, 224}, {6, -2, 176, 224}, {11, 1, 32, 0}, {65534, 1, 304, 16}}));
}

TEST(ClassicBlock, EncodeDropsCellsOffTheBlock) {
    auto f = MakeFrame(0, {{65535, 1, 64, 0},
                           {65533, 3, 64, 16},
                           {4, 1, 320, 32},
                           {4, 1, 64, -16},
                           {4, 1, 70, 35},
                           {8, std::numeric_limits<std::int32_t>::min(), 64, 48}});
    Words w = EncodeBlock(*f);
    EXPECT_EQ(w[4], 65535);
    EXPECT_EQ((Words(w.begin() + 20 + 4, w.begin() + 20 + 7)), (Words{65533, 65534, 65535}));
    EXPECT_EQ(w[40 + 4], 4) << "x 70, y 35 truncate to column 4, row 2";
    EXPECT_EQ(w[60], 4);
    EXPECT_EQ(w[61], 19) << "a huge repeated run fills its row to column 19";
}

TEST(ClassicBlock, OffsetsRoundTrip) {
    for (std::int32_t offset : {-32768, -1, 0, 1, 2, 100, 32767}) {
        auto f = MakeFrame(0, {{1, 1, 32, 16}});
        f->OffsetX = offset;
        f->OffsetY = -offset / 2;
        TVantorPatternFrame back = DecodeBlock(EncodeBlock(*f));
        EXPECT_EQ(back.OffsetX, offset);
        EXPECT_EQ(back.OffsetY, -offset / 2);
    }
    auto f = MakeFrame(0, {{1, 1, 32, 16}});
    EXPECT_EQ(EncodeBlock(*f)[18], 65535) << "an offset of 0 is an empty word";
    // Cells in columns 18 and 19 of row 0 leave no room for the offsets.
    f = MakeFrame(0, {{1, 2, 288, 0}});
    f->OffsetX = 7;
    f->OffsetY = 9;
    TVantorPatternFrame back = DecodeBlock(EncodeBlock(*f));
    EXPECT_EQ(back.OffsetX, 0);
    EXPECT_EQ(back.OffsetY, 0);
    // Column 19 used, 18 free: OffsetX is kept only when w[0] > 18.
    f = MakeFrame(0, {{1, 1, 304, 0}});
    f->OffsetX = 7;
    back = DecodeBlock(EncodeBlock(*f));
    EXPECT_EQ(back.OffsetX, 7);
}

TEST(ClassicBlock, ShortOrMisalignedDataIsInvalid) {
    for (std::size_t size : {0, 599, 601, 1199}) {
        TMemoryStream stream(std::vector<std::uint8_t>(size, 0));
        TVantorPatternFrame f;
        EXPECT_THROW(f.LoadFromCharData(stream), EInvalidCharPattern) << size;
    }
}

TEST(ClassicFile, HoldsOneBlockPerNumberUpToTheHighest) {
    struct Case {
        std::vector<std::uint32_t> numbers;
        std::size_t blocks;
    } cases[] = {{{}, 256}, {{0, 5}, 256}, {{255}, 256}, {{256}, 257}, {{3, 1000}, 1001}, {{65534}, 65535}};
    for (const Case& c : cases) {
        TVantorPattern p;
        for (std::uint32_t n : c.numbers) p.AddFrame(MakeFrame(n, {{n % 60000, 1, 32, 0}}));
        TMemoryStream stream;
        p.SaveToCharStream(stream);
        ASSERT_EQ(stream.Bytes().size(), 600 * c.blocks);
        TVantorPattern back;
        Load(back, stream.Bytes());
        ASSERT_EQ(back.Count(), static_cast<int>(c.numbers.size()));
        for (std::uint32_t n : c.numbers) ASSERT_NE(back.FindFrame(n), nullptr) << n;
        EXPECT_EQ(back.Scale, 1);
    }
}

TEST(ClassicFile, BlockCountOutsideTheWrittenRangeIsInvalid) {
    for (std::size_t blocks : {1, 255, 65536}) {
        TVantorPattern p;
        EXPECT_THROW(Load(p, std::vector<std::uint8_t>(600 * blocks, 0)), EInvalidCharPattern) << blocks;
    }
    TVantorPattern p;
    EXPECT_THROW(Load(p, std::vector<std::uint8_t>(600 * 256 + 1, 0)), EInvalidCharPattern);
    EXPECT_THROW(Load(p, std::vector<std::uint8_t>(3, 0)), EInvalidCharPattern);
}

TEST(ClassicFile, BlockWithoutCellsIsNoFrame) {
    TVantorPattern p;
    p.AddFrame(MakeFrame(2, {}));
    p.AddFrame(MakeFrame(4, {{1, 1, 32, 0}}));
    TMemoryStream stream;
    p.SaveToCharStream(stream);
    TVantorPattern back;
    Load(back, stream.Bytes());
    EXPECT_EQ(back.FindFrame(2), nullptr);
    EXPECT_NE(back.FindFrame(4), nullptr);
}

TEST(VantorFile, HeaderAndRecordBytes) {
    TVantorPattern p;
    p.AddFrame(MakeFrame(9, {{3, -2, 48, 16}}));
    p.AddFrame(MakeFrame(4, {})); // no runs: not written
    std::vector<std::uint8_t> expected = VantorHeader(0x01010000, 1, 1);
    EXPECT_EQ((std::vector<std::uint8_t>{'Z', 'P', 'A', 'T', 0, 0, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0}), expected);
    PutRecord(expected, 9, {{3, -2, 48, 16}});
    EXPECT_EQ(VantorBytes(p), expected);
}

TEST(VantorFile, RoundTripKeepsEveryField) {
    TVantorPattern p = SamplePattern();
    TVantorPattern back;
    Load(back, VantorBytes(p));
    ASSERT_EQ(back.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TVantorPatternFrame& a = back.Frames(i);
        TVantorPatternFrame b = p.Frames(i);
        b.Rects.Sort();
        EXPECT_EQ(a.Number, b.Number);
        EXPECT_EQ(Runs(a), Runs(b));
        EXPECT_EQ(a.OffsetX, b.OffsetX);
        EXPECT_EQ(a.OffsetY, b.OffsetY);
        EXPECT_EQ(a.FlipAxis, b.FlipAxis);
        EXPECT_EQ(a.Width, 320);
    }
    const TVantorPatternFrame* f = back.FindFrame(300);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Runs(*f), (std::vector<PRun>{{64, 1, 32, 32}, {100, 2, 288, 0}})) << "runs sorted by cell";
    EXPECT_EQ(f->Bounds.Left, 32);
    EXPECT_EQ(f->Bounds.Top, 0);
    EXPECT_EQ(f->Bounds.Right, 320);
    EXPECT_EQ(f->Bounds.Bottom, 48);
    EXPECT_EQ(VantorBytes(back), VantorBytes(back)) << "deterministic";
}

TEST(VantorFile, VersionAndScale) {
    struct Case {
        std::uint32_t version, scale, count;
        int expectedScale; // -1: invalid
    } cases[] = {{0x01010000, 0, 1, 1}, {0x01010000, 2, 1, 2}, {0x01010000, 3, 1, 3},  {0x01010000, 4, 1, -1},
                 {0x01010000, 3, 0, 1}, {0x01000000, 9, 1, 1}, {0x01020000, 1, 1, -1}, {0, 1, 1, -1}};
    for (const Case& c : cases) {
        std::vector<std::uint8_t> b = VantorHeader(c.version, c.scale, c.count);
        if (c.count) PutRecord(b, 1, {{2, 1, 32, 0}});
        TVantorPattern p;
        if (c.expectedScale < 0) {
            EXPECT_THROW(Load(p, b), EInvalidCharPattern) << c.version << " " << c.scale;
        } else {
            Load(p, b);
            EXPECT_EQ(p.Scale, c.expectedScale) << c.version << " " << c.scale;
            EXPECT_EQ(p.Version, 0x01010000u);
        }
    }
}

TEST(VantorFile, EmptyRecordIsEightBytesAndAddsNoFrame) {
    std::vector<std::uint8_t> b = VantorHeader(0x01010000, 1, 2);
    PutRecord(b, 5, {});
    PutRecord(b, 6, {{1, 1, 32, 0}});
    TVantorPattern p;
    Load(p, b);
    EXPECT_EQ(p.Count(), 1);
    EXPECT_EQ(p.Frames(0).Number, 6u);
}

TEST(VantorFile, EveryTruncatedPrefixIsInvalid) {
    std::vector<std::uint8_t> bytes = VantorBytes(SamplePattern());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        TVantorPattern p;
        EXPECT_THROW(Load(p, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + n)), EInvalidCharPattern) << n;
    }
}

TEST(VantorFile, ImpossibleCountsAndDuplicatesAreInvalid) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    {
        std::vector<std::uint8_t> b = VantorHeader(0x01010000, 1, 2);
        PutRecord(b, 3, {{1, 1, 32, 0}});
        PutRecord(b, 3, {{2, 1, 32, 0}});
        cases.push_back({"duplicate frame number", b});
    }
    for (std::int32_t count : {std::numeric_limits<std::int32_t>::min(), -65536, 65536}) {
        std::vector<std::uint8_t> b = VantorHeader(0x01010000, 1, 1);
        PutRecord(b, 3, {{1, count, 32, 0}});
        cases.push_back({"run count out of range", b});
    }
    {
        std::vector<std::uint8_t> b = VantorHeader(0x01010000, 1, 1);
        PutRecord(b, 3, {{1, 2, 0x7FFFFFF0, 0}});
        cases.push_back({"run reaching past 32 bits", b});
    }
    cases.push_back({"frame count far beyond the data", VantorHeader(0x01010000, 1, 0xFFFFFFFF)});
    {
        std::vector<std::uint8_t> b = VantorHeader(0x01010000, 1, 1);
        PutU32(b, 1);
        PutU32(b, 0x80000000u);
        for (int i = 0; i < 6; ++i) PutU32(b, 0);
        cases.push_back({"run count far beyond the data", b});
    }
    for (const Case& c : cases) {
        TVantorPattern p;
        EXPECT_THROW(Load(p, c.bytes), EInvalidCharPattern) << c.name;
    }
}

TEST(Pattern, FindAndAddFrames) {
    TVantorPattern p;
    EXPECT_EQ(p.FindFrame(0), nullptr);
    EXPECT_EQ(p.AddFrame(MakeFrame(0x80000000u, {})), 0);
    EXPECT_EQ(p.AddFrame(MakeFrame(5, {})), 0) << "numbers compare unsigned";
    EXPECT_EQ(p.AddFrame(MakeFrame(0xFFFFFFFFu, {})), 2);
    EXPECT_EQ(p.AddFrame(MakeFrame(7, {})), 1);
    try {
        p.AddFrame(MakeFrame(7, {}));
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "パターンに重複データを追加しようとしました");
    }
    EXPECT_EQ(p.Count(), 4);
    EXPECT_EQ(p.FindFrame(7)->Number, 7u);
    EXPECT_EQ(p.FindFrame(6), nullptr);
    EXPECT_EQ(p.FindFrame(0xFFFFFFFFu)->Number, 0xFFFFFFFFu);
    TVantorPattern copy;
    copy.Assign(p);
    EXPECT_EQ(copy.Count(), 4);
    p.Clear();
    EXPECT_EQ(copy.FindFrame(5)->Number, 5u);
}

TEST(Pattern, EqualCellsKeepTheirOrder) {
    TVantorPatternRectList list;
    for (int i = 0; i < 20; ++i) list.Add({static_cast<std::uint32_t>(i % 3), 1, 16 * i, 0});
    list.Sort();
    for (int i = 1; i < list.Count(); ++i) {
        const auto &a = list.Items(i - 1), &b = list.Items(i);
        EXPECT_TRUE(a.Cell < b.Cell || (a.Cell == b.Cell && a.X < b.X));
    }
}

TEST(Pattern, FilesRoundTrip) {
    auto dir = std::filesystem::temp_directory_path() / ("quillon_pattern_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    TVantorPattern p = SamplePattern();
    p.SaveToFile(dir / "ZPATTERN1.ZPT");
    p.SaveToCharFile(dir / "PATTERN1.PAT");
    TVantorPattern a, b;
    a.LoadFromFile(dir / "ZPATTERN1.ZPT");
    b.LoadFromFile(dir / "PATTERN1.PAT");
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(b.Count(), 3);
    EXPECT_EQ(std::filesystem::file_size(dir / "PATTERN1.PAT"), 600u * 301);
    EXPECT_THROW(a.LoadFromFile(dir / "missing"), EFOpenError);
    std::filesystem::remove_all(dir);
}

// Random mutations of valid files: the reader either succeeds or raises the pattern error.
TEST(Pattern, HostileMutations) {
    TVantorPattern sample = SamplePattern();
    TMemoryStream classic;
    sample.SaveToCharStream(classic);
    std::vector<std::uint8_t> sources[] = {VantorBytes(sample), classic.Bytes()};
    std::mt19937 random(5);
    for (const auto& source : sources)
        for (int round = 0; round < 400; ++round) {
            std::vector<std::uint8_t> bytes = source;
            int edits = 1 + static_cast<int>(random() % 6);
            for (int e = 0; e < edits; ++e) {
                // Edits land mostly near the start, where the headers and the first records are.
                std::size_t limit = random() % 2 ? std::min<std::size_t>(bytes.size(), 2000) : bytes.size();
                std::size_t at = random() % limit;
                switch (random() % 4) {
                case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
                case 1: bytes[at] = random() % 2 ? 0xFF : 0x80; break;
                case 2: bytes.resize(at); break;
                default: bytes.insert(bytes.begin() + at, static_cast<std::uint8_t>(random())); break;
                }
                if (bytes.empty()) break;
            }
            TVantorPattern p;
            try {
                Load(p, bytes);
            } catch (const EInvalidCharPattern&) {
            }
        }
}
