#include "CharImages.h"
#include "RenderReference.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr std::uint8_t KeyIndex = 7;
constexpr std::uint8_t Spare = 255; // never used by the generated sheets

class CharPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() / ("quillon_chara_" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    // A sheet of width x height pixels, random indexes below Spare, KeyIndex at the top left; two
    // entries equal the key colour at 5 bits per channel.
    void MakeSheet(int width, int height, std::mt19937& random) {
        SheetWidth = width;
        SheetHeight = height;
        for (TRGBQuad& q : Palette) q = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0};
        Palette[KeyIndex] = {40, 80, 120, 0};
        Palette[20] = {41, 83, 126, 0};
        Palette[21] = {47, 80, 120, 9};
        Sheet.assign(static_cast<std::size_t>(width) * height, 0);
        for (std::uint8_t& p : Sheet)
            p = static_cast<std::uint8_t>(random() % 6 == 0 ? random() % 22 : random() % Spare);
        Sheet[0] = KeyIndex;
        TDIB dib;
        dib.ColorTable = Palette;
        dib.SetSize(width, height, 8);
        for (int y = 0; y < height; ++y)
            std::copy_n(&Sheet[static_cast<std::size_t>(y) * width], width, dib.ScanLine(y));
        dib.SaveToFile(Dir / "CHARA.BMP");
    }

    int CellCount() const { return (SheetWidth / 16) * (SheetHeight / 16); }

    // A sheet index as the keyed strip holds it: the key colour's indexes 0, index 0 the key's old place.
    std::uint8_t Keyed(std::uint8_t p) const {
        if (p == KeyIndex || p == 20 || p == 21) return 0;
        return p == 0 ? KeyIndex : p;
    }

    // A pattern of frames 0..count-1 of random runs that stay within a strip row.
    TVantorPattern MakePattern(int count, int scale, std::mt19937& random) {
        TVantorPattern p;
        p.Scale = scale;
        for (int f = 0; f < count; ++f) {
            auto frame = std::make_unique<TVantorPatternFrame>();
            frame->Number = static_cast<std::uint32_t>(f * 3);
            frame->Width = 320;
            frame->Height = 240;
            frame->OffsetX = static_cast<int>(random() % 41) - 20;
            frame->OffsetY = static_cast<int>(random() % 41) - 20;
            frame->FlipAxis = random() % 2 ? NoFlipAxis : static_cast<int>(random() % 200);
            int runs = 1 + static_cast<int>(random() % 12);
            for (int r = 0; r < runs; ++r) {
                std::uint32_t cell = static_cast<std::uint32_t>(random() % CellCount());
                int room = std::min<int>(32 - static_cast<int>(cell & 31), CellCount() - static_cast<int>(cell));
                std::int32_t n = random() % 3 == 0 ? -static_cast<std::int32_t>(2 + random() % 4)
                                                   : static_cast<std::int32_t>(1 + random() % std::min(room, 6));
                frame->Rects.Add(
                    {cell, n, static_cast<int>(random() % 400) - 40, static_cast<int>(random() % 280) - 20});
            }
            p.AddFrame(std::move(frame));
        }
        // Through a file, as the preview gets it: runs sorted, bounds set.
        TMemoryStream stream;
        p.SaveToStream(stream);
        stream.SetPosition(0);
        TVantorPattern loaded;
        loaded.LoadFromStream(stream);
        p.SaveToFile(Dir / "ZPATTERN.ZPT");
        return loaded;
    }

    // The run's cells side by side as the reference's picture: transparent pixels (the key colour
    // at 5 bits) as index 0, a visible index 0 moved to Spare.
    TRefImage RunImage(const TVantorPatternRect& run) const {
        TRefImage img;
        int cells = run.Count > 0 ? run.Count : 1;
        img.Width = 16 * cells;
        img.Height = 16;
        img.Transparent = true;
        for (int i = 0; i < 256; ++i) {
            img.Palette[i] = Palette[i];
            if (img.Palette[i].Reserved == 0) img.Palette[i].Reserved = 255;
        }
        img.Palette[Spare] = img.Palette[0];
        const TRGBQuad& key = Palette[KeyIndex];
        std::uint16_t key555 = RGBTo555(key.Red, key.Green, key.Blue);
        int cellsX = SheetWidth / 16;
        for (int v = 0; v < 16; ++v)
            for (int u = 0; u < img.Width; ++u) {
                std::uint32_t c = run.Cell + static_cast<std::uint32_t>(u / 16);
                int sx = static_cast<int>(c % cellsX) * 16 + u % 16, sy = static_cast<int>(c / cellsX) * 16 + v;
                std::uint8_t p = Sheet[static_cast<std::size_t>(sy) * SheetWidth + sx];
                const TRGBQuad& q = Palette[p];
                img.Pixels.push_back(RGBTo555(q.Red, q.Green, q.Blue) == key555 ? 0 : p == 0 ? Spare : p);
            }
        return img;
    }

    // The frame drawn run by run by the reference renderer, each run placed by the pattern's
    // layout rules: shifted by the offsets, scaled toward (160, 240), reflected about x 160 + the
    // offset when mirrored and about the flip axis (or the middle of the bounds) when flipped.
    void RefDrawFrame(TRefTarget& t, const TVantorPattern& p, std::uint32_t number, int flags, int mode, int alpha) {
        const TVantorPatternFrame& f = *p.FindFrame(number);
        int s = p.Scale;
        bool scaled = s > 1 || t.Zoom > 1;
        auto sy = [&](int v) { return scaled ? 240 - (240 - v) / s : v; };
        auto sx = [&](int v) { return scaled ? (v - 160) / s + 160 : v; };
        int cs = scaled ? 16 / s : 16;
        for (const TVantorPatternRect& run : f.Rects) {
            TRefImage img = RunImage(run);
            int n = std::abs(run.Count);
            int width = run.Count > 0 ? n * cs : cs;
            int left = flags & 1 ? 160 - f.OffsetX + 160 - sx(run.X) - n * cs : f.OffsetX + sx(run.X);
            int axisTwice =
                f.FlipAxis == NoFlipAxis ? sy(f.Bounds.Top) + sy(f.Bounds.Bottom) : 480 - 2 * sy(f.FlipAxis);
            int top = flags & 2 ? f.OffsetY + axisTwice - 16 - sy(run.Y) : f.OffsetY + sy(run.Y);
            for (int i = 0; i < (run.Count > 0 ? 1 : n); ++i)
                RefStretchDraw(t, img, {left + i * width, top, left + i * width + width, top + cs},
                               {0, 0, img.Width, 16}, flags, mode, alpha);
        }
    }

    std::filesystem::path Dir;
    int SheetWidth = 0, SheetHeight = 0;
    TColorTable Palette{};
    std::vector<std::uint8_t> Sheet; // top row first
};

} // namespace

TEST_F(CharPictureTest, EveryFrameMatchesTheReference) {
    std::mt19937 random(31);
    MakeSheet(640, 64, random);
    for (int scale : {1, 2, 3}) {
        TVantorPattern pattern = MakePattern(6, scale, random);
        TCharSoftRender chara;
        ASSERT_TRUE(chara.LoadFromFiles(Dir / "CHARA.BMP", Dir / "ZPATTERN.ZPT", nullptr));
        ASSERT_EQ(chara.Pattern().Scale, scale);
        for (int f = 0; f < pattern.Count(); ++f)
            for (int zoom = 1; zoom <= 4; ++zoom)
                for (int flags = 0; flags < 4; ++flags) {
                    if (scale > 1 && zoom > 2) continue;
                    int mode = (f + flags) % 2 ? 2 : 0, alpha = static_cast<int>(random() % 256);
                    std::uint32_t number = pattern.Frames(f).Number;
                    TRefTarget a(zoom), b(zoom);
                    for (std::size_t i = 0; i < a.Bytes.size(); ++i) a.Bytes[i] = static_cast<std::uint8_t>(i * 7 >> 3);
                    b.Bytes = a.Bytes;
                    chara.DrawFrame(a.Target(), zoom, 160, 0, static_cast<int>(number), nullptr, flags, mode, alpha);
                    RefDrawFrame(b, pattern, number, flags, mode, alpha);
                    ASSERT_TRUE(a.Bytes == b.Bytes)
                        << "scale " << scale << " frame " << number << " zoom " << zoom << " flags " << flags;
                }
    }
}

TEST_F(CharPictureTest, StripLayout) {
    std::mt19937 random(32);
    MakeSheet(640, 32, random); // 40 x 2 cells
    TCharSoftRender chara;
    ASSERT_TRUE(chara.LoadImage(Dir / "CHARA.BMP", nullptr));
    ASSERT_EQ(chara.Strip().Width(), 512);
    ASSERT_EQ(chara.Strip().Height(), 512);
    EXPECT_TRUE(chara.Strip().Transparent());
    // Cell 40, the sheet's first cell of its second row, lands at strip pixels (128, 16).
    const std::uint8_t* strip = chara.Strip().GetBits();
    int pitch = chara.Strip().Pitch();
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u)
            ASSERT_EQ(strip[(16 + v) * pitch + 128 + u], Keyed(Sheet[static_cast<std::size_t>(16 + v) * 640 + u]))
                << u << "," << v;
    MakeSheet(16 * 1025, 16, random);
    ASSERT_TRUE(chara.LoadImage(Dir / "CHARA.BMP", nullptr));
    EXPECT_EQ(chara.Strip().Height(), 1024) << "1025 cells make two pages";
}

TEST_F(CharPictureTest, SheetsOfOtherSizesCopyWhatIsThere) {
    std::mt19937 random(33);
    MakeSheet(20, 20, random); // two by two cells, the right and bottom ones partial
    TCharSoftRender chara;
    ASSERT_TRUE(chara.LoadImage(Dir / "CHARA.BMP", nullptr));
    const std::uint8_t* strip = chara.Strip().GetBits();
    int pitch = chara.Strip().Pitch();
    // Cell 1 (x 16..19 of the sheet's top 16 rows) at strip x 16, cell 3 (x and y 16..19) at x 48.
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u) {
            std::uint8_t cell1 = u < 4 ? Sheet[static_cast<std::size_t>(v) * 20 + 16 + u] : 0;
            std::uint8_t cell3 = u < 4 && v < 4 ? Sheet[static_cast<std::size_t>(16 + v) * 20 + 16 + u] : 0;
            ASSERT_EQ(strip[v * pitch + 16 + u], Keyed(cell1)) << u << "," << v;
            ASSERT_EQ(strip[v * pitch + 48 + u], Keyed(cell3)) << u << "," << v;
        }
    EXPECT_EQ(strip[100 * pitch + 300], Keyed(0)) << "places after the last cell hold the keyed index 0";

    // A truncated sheet loads; the rows it lacks are as if index 0.
    std::vector<std::uint8_t> bytes;
    {
        TFileStream in(Dir / "CHARA.BMP", fmOpenRead);
        bytes.resize(static_cast<std::size_t>(in.Size()));
        in.ReadBuffer(bytes.data(), bytes.size());
    }
    bytes.resize(bytes.size() - 200);
    {
        TFileStream out(Dir / "CHARA.BMP", fmCreate);
        out.WriteBuffer(bytes.data(), bytes.size());
    }
    EXPECT_TRUE(chara.LoadImage(Dir / "CHARA.BMP", nullptr));
}

TEST_F(CharPictureTest, PlacementRules) {
    std::mt19937 random(34);
    MakeSheet(640, 32, random);
    // Cell 1 is drawn with a pixel colour that can be found: an opaque one at its top-left.
    TVantorPattern p;
    auto frame = std::make_unique<TVantorPatternFrame>();
    frame->Number = 5;
    frame->OffsetX = 10;
    frame->Rects.Add({1, 1, 100, 100});
    frame->Rects.Add({30, 4, 0, 0});        // crosses a strip row of 32 cells: not drawn
    frame->Rects.Add({2, INT32_MIN, 0, 0}); // far more cells than a run can hold: not drawn
    frame->Rects.Add({3, INT32_MAX, 0, 0});
    frame->Bounds = {0, 0, 116, 116};
    TCharSoftRender chara;
    ASSERT_TRUE(chara.LoadImage(Dir / "CHARA.BMP", nullptr));
    chara.Pattern().AddFrame(std::move(frame));
    auto drawn = [&](int flags) {
        TRefTarget t(1);
        chara.DrawFrame(t.Target(), 1, 160, 0, 5, nullptr, flags, 0, 0);
        TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                if (t.Pixel(x, y)[3] != 0) {
                    box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                           std::max(box.Bottom, y + 1)};
                }
        return box;
    };
    EXPECT_EQ(drawn(0), (TRect{110, 100, 126, 116})) << "OffsetX 10 moves it right";
    EXPECT_EQ(drawn(dfMirror), (TRect{194, 100, 210, 116})) << "mirrored about 160, 10 to the left";
    // The bounds (y 0..116) include the run that is not drawn.
    EXPECT_EQ(drawn(dfFlip), (TRect{110, 0, 126, 16})) << "flipped about the middle of its bounds";
    TRefTarget t(1);
    std::vector<std::uint8_t> before = t.Bytes;
    chara.DrawFrame(t.Target(), 1, 160, 0, 4, nullptr, 0, 0, 0);
    chara.DrawFrame(t.Target(), 1, 160, 0, -5, nullptr, 0, 0, 0);
    EXPECT_TRUE(t.Bytes == before) << "a frame the pattern does not hold draws nothing";
}

TEST_F(CharPictureTest, FailedLoadsClearThePicture) {
    std::mt19937 random(35);
    MakeSheet(64, 16, random);
    MakePattern(2, 1, random);
    TCharSoftRender chara;
    ASSERT_TRUE(chara.LoadFromFiles(Dir / "CHARA.BMP", Dir / "ZPATTERN.ZPT", nullptr));
    EXPECT_EQ(chara.Pattern().Count(), 2);
    {
        TFileStream bad(Dir / "BAD.ZPT", fmCreate);
        bad.WriteBuffer("ZPAT\1\2", 6);
    }
    EXPECT_FALSE(chara.LoadFromFiles(Dir / "CHARA.BMP", Dir / "BAD.ZPT", nullptr));
    EXPECT_EQ(chara.Pattern().Count(), 0);
    EXPECT_EQ(chara.Strip().GetBits(), nullptr);
    EXPECT_FALSE(chara.LoadFromFiles(Dir / "CHARA.BMP", Dir / "MISSING.ZPT", nullptr));
    EXPECT_FALSE(chara.LoadFromFiles(Dir / "MISSING.BMP", Dir / "ZPATTERN.ZPT", nullptr));
    TRefTarget t(1);
    chara.DrawFrame(t.Target(), 1, 160, 0, 0, nullptr, 0, 0, 0);
}

// Random mutations of a valid sheet and pattern: loading and drawing every frame stay in bounds.
TEST_F(CharPictureTest, HostileFiles) {
    std::mt19937 random(36);
    MakeSheet(64, 32, random);
    MakePattern(4, 1, random);
    std::vector<std::uint8_t> sheet, pattern;
    for (auto [name, bytes] : {std::pair{"CHARA.BMP", &sheet}, std::pair{"ZPATTERN.ZPT", &pattern}}) {
        TFileStream in(Dir / name, fmOpenRead);
        bytes->resize(static_cast<std::size_t>(in.Size()));
        in.ReadBuffer(bytes->data(), bytes->size());
    }
    for (int round = 0; round < 150; ++round) {
        std::vector<std::uint8_t> s = sheet, p = pattern;
        std::vector<std::uint8_t>& target = round % 2 ? s : p;
        for (int e = 0; e < 3; ++e) {
            std::size_t at = random() % std::min<std::size_t>(target.size(), 80);
            target[at] = random() % 3 == 0 ? 0xFF : static_cast<std::uint8_t>(random());
        }
        // The sheet's size fields may not ask for more than a few megabytes of strip.
        std::int64_t w = s[18] | s[19] << 8 | s[20] << 16 | static_cast<std::int64_t>(s[21]) << 24;
        std::int64_t h = static_cast<std::int32_t>(s[22] | s[23] << 8 | s[24] << 16 | s[25] << 24);
        if (w * std::abs(h) > (1 << 22)) continue;
        for (auto [name, bytes] : {std::pair{"M.BMP", &s}, std::pair{"M.ZPT", &p}}) {
            TFileStream out(Dir / name, fmCreate);
            out.WriteBuffer(bytes->data(), bytes->size());
        }
        TCharSoftRender chara;
        if (!chara.LoadFromFiles(Dir / "M.BMP", Dir / "M.ZPT", nullptr)) continue;
        TRefTarget t(2);
        for (int f = 0; f < chara.Pattern().Count(); ++f)
            for (int flags = 0; flags < 4; ++flags)
                chara.DrawFrame(t.Target(), 1 + flags % 2, 160, 0, static_cast<int>(chara.Pattern().Frames(f).Number),
                                nullptr, flags, 2, 100);
    }
}
