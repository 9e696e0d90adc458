#include "CharMaker.h"
#include "FileSizeLimit.h"
#include "MakerOptions.h"

#include "MemorySettingsStore.h"
#include "MessageBox.h"
#include "PatMakeFixtures.h"
#include "Pattern.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

using namespace quillon::testing;

std::vector<std::string> Files(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() != ".bmp") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class CharMaker : public ::testing::Test {
protected:
    TTempDir Dir;
    TScriptedMessages Boxes;
    TMessageServiceScope Scope{Boxes};
    TCharMaker Maker;

    void SetUp() override { Maker.OutputFolder = Dir.Path(); }

    // count pictures of 48 x 40 whose cells use about `colours` colours in all (24-bit), or
    // indexes (8-bit); the top-left pixel, the key, is 0.
    void AddPictures(int count, int bits, int colours) {
        TColorTable table = DistinctTable();
        for (int i = 0; i < count; ++i) {
            std::string name = "p" + std::to_string(i) + ".bmp";
            WritePicture(
                Dir / name, 48, 40, bits,
                [=](int x, int y) {
                    if (x < 8 && y < 8) return 0u;
                    std::uint32_t v = static_cast<std::uint32_t>((x * 7 + y * 48 + i * 5) % colours);
                    // 24-bit colours stay apart after 5-6-5 quantisation.
                    return bits == 24 ? ((v % 32) * 8) << 16 | ((v / 32) * 4 + 4) << 8 | 0x10u : v;
                },
                &table);
            TBitmapListEntry e;
            e.Number = i * 2 + 1;
            e.Path = Dir / name;
            Maker.Entries.push_back(e);
        }
    }

    void ExpectBoxes(const std::vector<std::pair<std::string, std::string>>& expected) {
        std::vector<std::pair<std::string, std::string>> shown;
        for (const auto& b : Boxes.Shown) shown.emplace_back(b.Text, b.Title);
        EXPECT_EQ(shown, expected);
    }
};

TEST_F(CharMaker, NamesAndTexts) {
    EXPECT_EQ(CharBitmapName(0, "3"), "CHARA3.BMP");
    EXPECT_EQ(PatternFileName(1, ""), "PATTERN.PAT");
    EXPECT_EQ(CharBitmapName(2, "2"), "ZCHARA2.BMP");
    EXPECT_EQ(PatternFileName(2, "2"), "ZPATTERN2.ZPT");
    EXPECT_EQ(PictureNumberText(0, 7), "No 007");
    EXPECT_EQ(PictureNumberText(1, 7), "No 00007");
    EXPECT_EQ(PictureNumberText(2, 123456), "No 123456");
    EXPECT_EQ(ReductionCaption(0), "汎用パレットを適用中");
    EXPECT_EQ(ReductionCaption(1), "256色限定減色処理中");
    EXPECT_EQ(ReductionCaption(2), "24→16Bit ＆ 256色限定減色処理中");
    EXPECT_EQ(ReductionCaption(3), "汎用パレットを適用中");
}

TEST_F(CharMaker, VantorWithReductionWritesFilesThatLoadBack) {
    AddPictures(3, 24, 40);
    Maker.CreateMode = 2;
    Maker.Suffix = "4";
    Maker.UseDecColorDepth = true;
    Maker.DecColorDepthMethod = 1;
    std::string caption;
    std::vector<int> positions, percents;
    Maker.OnStart = [&](const std::string& text, int entries) {
        caption = text;
        EXPECT_EQ(entries, 3);
    };
    Maker.OnPicture = [&](int position, std::int32_t, const fs::path&) { positions.push_back(position); };
    Maker.OnReduction = [&](int percent) { percents.push_back(percent); };
    ASSERT_EQ(Maker.Run(), mrMade);
    ExpectBoxes({});
    EXPECT_EQ(caption, "\"ZPATTERN4.ZPT\"と\"ZCHARA4.BMP\"を作成中です");
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(percents.back(), 100);
    EXPECT_EQ(Files(Dir.Path()), (std::vector<std::string>{"ZCHARA4.BMP", "ZPATTERN4.ZPT"})); // no temporary left
    TDIB sheet;
    sheet.LoadFromFile(Dir / "ZCHARA4.BMP");
    EXPECT_EQ(sheet.BitCount(), 8);
    EXPECT_EQ(sheet.Width(), 512);
    TVantorPattern pattern;
    pattern.LoadFromFile(Dir / "ZPATTERN4.ZPT");
    EXPECT_EQ(pattern.Count(), 3);
    EXPECT_TRUE(pattern.FindFrame(5));
    EXPECT_EQ(pattern.Scale, 1);
}

// The preview cannot show a 24-bit sheet, so the run says what it wrote.
TEST_F(CharMaker, ClassicWithoutReductionKeeps24Bits) {
    AddPictures(2, 24, 300);
    ASSERT_EQ(Maker.Run(), mrMade);
    ExpectBoxes(
        {{"減色しなかったので'CHARA.BMP' は24Bitカラーで保存しました\r\n24Bitカラーの画像はプレビューに表示されません",
          "減色"}});
    TDIB sheet;
    sheet.LoadFromFile(Dir / "CHARA.BMP");
    EXPECT_EQ(sheet.BitCount(), 24);
    EXPECT_EQ(sheet.Height(), 720);
    EXPECT_EQ(fs::file_size(Dir / "PATTERN.PAT"), 256u * 600u);
    TVantorPattern pattern;
    pattern.LoadFromFile(Dir / "PATTERN.PAT");
    EXPECT_EQ(pattern.Count(), 2);
}

TEST_F(CharMaker, TooManyColoursWritesThe24BitSheetWithANotice) {
    for (int method : {1, 2}) {
        SCOPED_TRACE(method);
        Maker.Entries.clear();
        Boxes.Shown.clear();
        // Colours apart by more than 5-6-5 folds: method 2 cannot fit them either.
        AddPictures(2, 24, 400);
        Maker.CreateMode = 1;
        Maker.UseDecColorDepth = true;
        Maker.DecColorDepthMethod = method;
        ASSERT_EQ(Maker.Run(), mrMade);
        ExpectBoxes(
            {{method == 1
                  ? "256色より多くの色が使われていたので減色できませんでした\r\n減色前の'CHARA.BMP' を保存しました"
                  : "16Bitカラーに減色しても256色より多くの色が使われていたので減色できませんでした\r\n減色前の'CHARA.BMP' を保存しました",
              "減色"}});
        TDIB sheet;
        sheet.LoadFromFile(Dir / "CHARA.BMP");
        EXPECT_EQ(sheet.BitCount(), 24);
    }
}

TEST_F(CharMaker, KeepPaletteNeeds8BitPictures) {
    AddPictures(2, 8, 200);
    Maker.UseDecColorDepth = true;
    Maker.DecColorDepthMethod = 3;
    ASSERT_EQ(Maker.Run(), mrMade);
    TDIB sheet;
    sheet.LoadFromFile(Dir / "CHARA.BMP");
    EXPECT_EQ(sheet.BitCount(), 8);
    EXPECT_EQ(sheet.ImageColorTable(), DistinctTable());

    fs::remove(Dir / "CHARA.BMP");
    fs::remove(Dir / "PATTERN.PAT");
    WritePicture(Dir / "true.bmp", 16, 16, 24, [](int, int) { return 5u; });
    TBitmapListEntry e;
    e.Number = 40;
    e.Path = Dir / "true.bmp";
    Maker.Entries.push_back(e);
    EXPECT_EQ(Maker.Run(), mrFailed);
    ExpectBoxes({{"No 40 のファイル\r\n\"" + e.Path.string() + "\" は8Bitカラーの画像ではありません", "エラー"}});
    EXPECT_EQ(Files(Dir.Path()), std::vector<std::string>{});
}

TEST_F(CharMaker, CancelDuringCollection) {
    AddPictures(3, 24, 40);
    Maker.OnPicture = [&](int position, std::int32_t, const fs::path&) {
        if (position == 1) Maker.Cancel();
    };
    EXPECT_EQ(Maker.Run(), mrCancelled);
    ExpectBoxes({{"処理を中断しました", "パターン作成"}});
    EXPECT_EQ(Files(Dir.Path()), std::vector<std::string>{});
}

TEST_F(CharMaker, CancelDuringReductionIsSilent) {
    for (int method : {0, 1, 2}) {
        Maker = TCharMaker();
        Maker.OutputFolder = Dir.Path();
        AddPictures(2, 24, 40);
        Maker.UseDecColorDepth = true;
        Maker.DecColorDepthMethod = method;
        Maker.OnReduction = [&](int percent) {
            if (percent > 10) Maker.Cancel();
        };
        EXPECT_EQ(Maker.Run(), mrCancelled);
        ExpectBoxes({});
        EXPECT_EQ(Files(Dir.Path()), std::vector<std::string>{});
    }
}

TEST_F(CharMaker, UnwritableTargetsLeaveTheOldFiles) {
    AddPictures(1, 24, 40);
    // The bitmap cannot be opened: the old pattern stays as it was.
    fs::create_directory(Dir / "CHARA.BMP");
    { std::ofstream(Dir / "PATTERN.PAT") << "old"; }
    EXPECT_EQ(Maker.Run(), mrFailed);
    ExpectBoxes({{"\"CHARA.BMP\"を開けません\r\nフォルダです", "エラー"}});
    EXPECT_EQ(Contents(Dir / "PATTERN.PAT"), "old");

    // The pattern cannot be opened: no new bitmap appears beside the old pattern.
    Boxes.Shown.clear();
    fs::remove(Dir / "CHARA.BMP");
    { std::ofstream(Dir / "CHARA.BMP") << "old bitmap"; }
    fs::remove(Dir / "PATTERN.PAT");
    fs::create_directory(Dir / "PATTERN.PAT");
    EXPECT_EQ(Maker.Run(), mrFailed);
    ExpectBoxes({{"\"PATTERN.PAT\"を開けません\r\nフォルダです", "エラー"}});
    EXPECT_EQ(Contents(Dir / "CHARA.BMP"), "old bitmap");
    EXPECT_EQ(Files(Dir.Path()), (std::vector<std::string>{"CHARA.BMP", "PATTERN.PAT"}));

    // A FIFO in the bitmap's place (writing it would block).
    Boxes.Shown.clear();
    fs::remove(Dir / "PATTERN.PAT");
    fs::remove(Dir / "CHARA.BMP");
    ASSERT_EQ(::mkfifo((Dir / "CHARA.BMP").c_str(), 0600), 0);
    EXPECT_EQ(Maker.Run(), mrFailed);
    ExpectBoxes({{"\"CHARA.BMP\"を開けません\r\n通常のファイルではありません", "エラー"}});
    fs::remove(Dir / "CHARA.BMP");

    // A folder that does not exist.
    Boxes.Shown.clear();
    Maker.OutputFolder = Dir / "none";
    EXPECT_EQ(Maker.Run(), mrFailed);
    ExpectBoxes({{"\"CHARA.BMP\"を開けません\r\nファイルまたはフォルダが見つかりません", "エラー"}});
}

// The second file fails after the first was written: neither new file replaces an old one.
TEST_F(CharMaker, AFailedSecondFileKeepsBothOldFiles) {
    AddPictures(1, 24, 40);
    Maker.CreateMode = 1; // the pattern file (153,600 bytes) is the larger of the two
    { std::ofstream(Dir / "CHARA.BMP") << "old bitmap"; }
    { std::ofstream(Dir / "PATTERN.PAT") << "old pattern"; }
    TMakeResult result;
    {
        TFileSizeLimit limit(100000);
        result = Maker.Run();
    }
    EXPECT_EQ(result, mrFailed);
    ExpectBoxes(
        {{"\"PATTERN.PAT\" の書き込み中にエラーが発生しました\r\nファイルの大きさが許された上限を超えます", "エラー"}});
    EXPECT_EQ(Contents(Dir / "CHARA.BMP"), "old bitmap");
    EXPECT_EQ(Contents(Dir / "PATTERN.PAT"), "old pattern");
    EXPECT_EQ(Files(Dir.Path()), (std::vector<std::string>{"CHARA.BMP", "PATTERN.PAT"}));
}

// The pattern cannot be moved into place after the bitmap was: the old bitmap comes back.
TEST_F(CharMaker, AFailedSecondRenameBringsTheFirstOldFileBack) {
    AddPictures(1, 24, 40);
    { std::ofstream(Dir / "CHARA.BMP") << "old bitmap"; }
    { std::ofstream(Dir / "PATTERN.PAT") << "old pattern"; }
    // Between the renames the pattern's place is taken by a folder that is not empty.
    Maker.OnBitmapCommitted = [this] {
        fs::rename(Dir / "PATTERN.PAT", Dir / "saved");
        fs::create_directories(Dir / "PATTERN.PAT" / "in the way");
    };
    EXPECT_EQ(Maker.Run(), mrFailed);
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_TRUE(Boxes.Shown[0].Text.starts_with("\"PATTERN.PAT\"を開けません\r\n")) << Boxes.Shown[0].Text;
    EXPECT_EQ(Contents(Dir / "CHARA.BMP"), "old bitmap");
    fs::remove_all(Dir / "PATTERN.PAT");
    EXPECT_EQ(Files(Dir.Path()), (std::vector<std::string>{"CHARA.BMP", "saved"}));
}

// A run killed at any point leaves a matching pair once the next run starts: a kill between the two
// renames left the new bitmap beside the old pattern, and the next run removed the old bitmap and
// the new pattern it had kept aside as stale, so the pair was never put back. Now the next run
// finishes the pair first, even one that is cancelled at once, and leaves nothing else behind.
TEST_F(CharMaker, AKillAtAnyPointLeavesAMatchingPairForTheNextRun) {
    AddPictures(2, 24, 40);
    // The new pair, made whole in a folder of its own.
    TTempDir madeDir;
    const fs::path output = Maker.OutputFolder;
    Maker.OutputFolder = madeDir.Path();
    ASSERT_EQ(Maker.Run(), mrMade);
    const std::string newBitmap = Contents(madeDir / "CHARA.BMP"), newPattern = Contents(madeDir / "PATTERN.PAT");
    Maker.OutputFolder = output;
    struct TKill {
        const char* Point;
        void (*Arm)(TCharMaker&);
        bool NewPair; // the pair the next run finds: the new one, or the old one
    };
    const TKill kills[] = {
        {"while collecting",
         [](TCharMaker& m) { m.OnPicture = [](int, std::int32_t, const fs::path&) { ::_exit(0); }; }, false},
        {"after collecting", [](TCharMaker& m) { m.OnCollected = [] { ::_exit(0); }; }, false},
        {"between the renames", [](TCharMaker& m) { m.OnBitmapCommitted = [] { ::_exit(0); }; }, true},
    };
    for (const TKill& kill : kills) {
        SCOPED_TRACE(kill.Point);
        { std::ofstream(Dir / "CHARA.BMP") << "old bitmap"; }
        { std::ofstream(Dir / "PATTERN.PAT") << "old pattern"; }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            kill.Arm(Maker);
            Maker.Run();
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        Boxes.Shown.clear();
        TCharMaker next = Maker;
        next.OnStart = [&next](const std::string&, int) { next.Cancel(); };
        EXPECT_EQ(next.Run(), mrCancelled);
        EXPECT_TRUE(Contents(Dir / "CHARA.BMP") == (kill.NewPair ? newBitmap : "old bitmap"));
        EXPECT_TRUE(Contents(Dir / "PATTERN.PAT") == (kill.NewPair ? newPattern : "old pattern"));
        EXPECT_EQ(Files(Dir.Path()), (std::vector<std::string>{"CHARA.BMP", "PATTERN.PAT"}));
    }
}

// Files of the same names as the maker's former temporaries are not the maker's: a failed run (a
// full disk) leaves them, here the old bitmap that an earlier version had set aside.
TEST_F(CharMaker, AFailedRunRemovesNoFileItDidNotMake) {
    AddPictures(1, 24, 40);
    Maker.CreateMode = 1; // the pattern file (153,600 bytes) is the larger of the two
    { std::ofstream(Dir / ".CHARA.BMP.old") << "old bitmap"; }
    { std::ofstream(Dir / ".PATTERN.PAT.part") << "someone's"; }
    {
        TFileSizeLimit limit(100000);
        EXPECT_EQ(Maker.Run(), mrFailed);
    }
    EXPECT_EQ(Contents(Dir / ".CHARA.BMP.old"), "old bitmap");
    EXPECT_EQ(Contents(Dir / ".PATTERN.PAT.part"), "someone's");
    EXPECT_EQ(Files(Dir.Path()), (std::vector<std::string>{".CHARA.BMP.old", ".PATTERN.PAT.part"}));
}

// Targets that are links are written through them, as lists are: the links stay.
TEST_F(CharMaker, LinkedTargetsAreWrittenThroughTheirLinks) {
    AddPictures(1, 24, 40);
    fs::create_directory(Dir / "shared");
    { std::ofstream(Dir / "shared" / "c.chr") << "old bitmap"; }
    { std::ofstream(Dir / "shared" / "p.pat") << "old pattern"; }
    fs::create_symlink("shared/c.chr", Dir / "CHARA.BMP");
    fs::create_symlink("shared/p.pat", Dir / "PATTERN.PAT");
    EXPECT_EQ(Maker.Run(), mrMade);
    EXPECT_TRUE(fs::is_symlink(Dir / "CHARA.BMP"));
    EXPECT_TRUE(fs::is_symlink(Dir / "PATTERN.PAT"));
    TDIB sheet;
    EXPECT_NO_THROW(sheet.LoadFromFile(Dir / "shared" / "c.chr"));
    EXPECT_NE(Contents(Dir / "shared" / "p.pat"), "old pattern");
    EXPECT_EQ(Files(Dir / "shared"), (std::vector<std::string>{"c.chr", "p.pat"}));
}

TEST_F(CharMaker, CollectorErrorsAreShown) {
    TBitmapListEntry e;
    e.Number = 3;
    e.Path = Dir / "gone.bmp";
    Maker.Entries.push_back(e);
    EXPECT_EQ(Maker.Run(), mrFailed);
    ExpectBoxes({{"\"No 3 のファイル\r\n\"" + e.Path.string() + "\"を開けません", "エラー"}});
}

// A picture whose bit count the bitmap reader refuses raises; the maker shows the message and
// ends with result 3 instead of leaving its caller without an outcome.
TEST_F(CharMaker, OtherFailuresEndTheRunWithTheirMessage) {
    std::vector<std::uint8_t> file(14 + 40 + 4 * 4 + 16 * 4, 0); // header, 4 colours, 16 rows
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(14, 40);
    put32(18, 16);
    put32(22, 16);
    file[26] = 1;
    file[28] = 2; // two bits a pixel
    std::ofstream(Dir / "two.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    TBitmapListEntry e;
    e.Number = 1;
    e.Path = Dir / "two.bmp";
    Maker.Entries.push_back(e);
    EXPECT_EQ(Maker.Run(), mrFailed);
    ExpectBoxes({{"不正なビット数です (2)", "エラー"}});
    EXPECT_EQ(Files(Dir.Path()), std::vector<std::string>{});
}

TEST(MakerOptions, DefaultsClampsAndRoundTrip) {
    TMemorySettingsStore store;
    TMakerOptions options;
    options.UseDecColorDepth = false;
    options.Load(store);
    EXPECT_TRUE(options.UseDecColorDepth);
    EXPECT_EQ(options.DecColorDepthMethod, 1);
    EXPECT_EQ(options.CreateMode, 2);
    store.WriteValue("Options", "DecColorDepthMethod", "7");
    store.WriteValue("Options", "CreateMode", "5");
    options.Load(store);
    EXPECT_EQ(options.DecColorDepthMethod, 3);
    EXPECT_EQ(options.CreateMode, 2);
    store.WriteValue("Options", "DecColorDepthMethod", "-1");
    store.WriteValue("Options", "CreateMode", "-3");
    options.Load(store);
    EXPECT_EQ(options.DecColorDepthMethod, 0);
    EXPECT_EQ(options.CreateMode, 0);
    options = {false, 2, 1};
    options.Save(store);
    EXPECT_EQ(store.ReadValue("Options", "UseDecColorDepth"), "0");
    TMakerOptions back;
    back.Load(store);
    EXPECT_FALSE(back.UseDecColorDepth);
    EXPECT_EQ(back.DecColorDepthMethod, 2);
    EXPECT_EQ(back.CreateMode, 1);
}

} // namespace
} // namespace quillon
