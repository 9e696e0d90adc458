#include "BitmapList.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

const fs::path ListFile = "/data/chars/BMP1.LST";

struct TParsed {
    TBitmapListEntries Entries;
    std::string Error;
};

TParsed Parse(const std::vector<std::string>& lines, int mode = 2) {
    TParsed p;
    p.Error = "stale";
    ParseBitmapList(ListFile, lines, p.Entries, p.Error, mode);
    return p;
}

std::optional<std::int32_t> None;

struct TValidCase {
    const char* Line;
    std::optional<std::int32_t> X, Y, YAxis;
};

TEST(BitmapList, OffsetsAndAxisOfValidLines) {
    const TValidCase cases[] = {
        {"5 a.bmp", None, None, None},
        {"5:-8 a.bmp", None, -8, None},
        {"5:-8:16 a.bmp", 16, -8, None},
        {"5:::120 a.bmp", None, None, 120},
        {"  5:-8:16:120   a.bmp  ", 16, -8, 120},
        {"5:$10:-$10 a.bmp", -16, 16, None},
        {"5:32767:-32768 a.bmp", -32768, 32767, None},
        {"5:::-2147483648 a.bmp", None, None, -2147483647 - 1},
    };
    for (const TValidCase& c : cases) {
        SCOPED_TRACE(c.Line);
        TParsed p = Parse({c.Line});
        ASSERT_EQ(p.Error, "");
        ASSERT_EQ(p.Entries.size(), 1u);
        const TBitmapListEntry& e = p.Entries[0];
        EXPECT_EQ(e.Number, 5);
        EXPECT_EQ(e.X, c.X);
        EXPECT_EQ(e.Y, c.Y);
        EXPECT_EQ(e.YAxis, c.YAxis);
        EXPECT_EQ(e.Path, fs::path("/data/chars/a.bmp"));
    }
    TBitmapListEntry empty;
    EXPECT_EQ(empty.XOrZero(), 0);
    EXPECT_EQ(empty.YOrZero(), 0);
    EXPECT_EQ(empty.YAxisOrNone(), NoYAxis);
}

struct TErrorCase {
    std::vector<std::string> Lines;
    int Mode;
    const char* Error;
};

TEST(BitmapList, FirstFailingCheckGivesItsMessage) {
    const TErrorCase cases[] = {
        {{"5:1:2:3:4 a.bmp"}, 2, "1 行目のＹ軸を数値に変換できません"},
        {{"5:32768 a.bmp"}, 2, "1 行目のＹオフセットは範囲外です"},
        {{"5::-32769 a.bmp"}, 2, "1 行目のＸオフセットは範囲外です"},
        {{"5:y:x a.bmp"}, 2, "1 行目のＸオフセットを数値に変換できません"}, // X is converted first
        {{"5:y a.bmp"}, 2, "1 行目のＹオフセットを数値に変換できません"},
        {{"5:99999:x a.bmp"}, 2, "1 行目のＸオフセットを数値に変換できません"}, // conversions before ranges
        {{"x a.bmp"}, 2, "1 行目のナンバーは範囲外か数値ではありません"},
        {{"-1 a.bmp"}, 2, "1 行目のナンバーは範囲外か数値ではありません"},
        {{":3 a.bmp"}, 2, "1 行目のナンバーは範囲外か数値ではありません"},
        {{"5\ta.bmp"}, 2, "1 行目に誤りがあります"}, // a tab does not separate
        {{"5"}, 2, "1 行目に誤りがあります"},
        {{"", "256 a.bmp"}, 0, "2 行目のナンバーは範囲外か数値ではありません"},
        {{"65535 a.bmp"}, 1, "1 行目のナンバーは範囲外か数値ではありません"},
        {{"7 a.png"}, 2, "1行目,画像番号7にBitmapファイルが指定されていません"},
        {{"7 a"}, 2, "1行目,画像番号7にBitmapファイルが指定されていません"},
        {{"7 dir.bmp/a"}, 2, "1行目,画像番号7にBitmapファイルが指定されていません"},
        {{"7 /"}, 2, "1行目,画像番号7のファイル名の指定は無効です"},
        {{"1 a.bmp", "", "3 b.bmp", "1 c.bmp", "9 d.bmp"}, 2, "4 行目に指定されているナンバー 1 はすでに存在します"},
        {{"7 x.png", "7 a.bmp"}, 2, "1行目,画像番号7にBitmapファイルが指定されていません"},
    };
    for (const TErrorCase& c : cases) {
        SCOPED_TRACE(c.Lines.back());
        TParsed p = Parse(c.Lines, c.Mode);
        EXPECT_EQ(p.Error, c.Error);
    }
}

TEST(BitmapList, ErrorKeepsTheEntriesBeforeIt) {
    TParsed p = Parse({"3 c.bmp", "1 a.bmp", "bad", "2 b.bmp"});
    EXPECT_EQ(p.Error, "3 行目に誤りがあります");
    ASSERT_EQ(p.Entries.size(), 2u);
    EXPECT_EQ(p.Entries[0].Number, 3);
    EXPECT_EQ(p.Entries[1].Number, 1);
}

TEST(BitmapList, NumberLimitsByCreationMode) {
    EXPECT_EQ(Parse({"255 a.bmp"}, 0).Error, "");
    EXPECT_EQ(Parse({"65534 a.bmp"}, 1).Error, "");
    EXPECT_EQ(Parse({"2147483647 a.bmp"}, 2).Error, "");
    EXPECT_EQ(Parse({"$FF a.bmp"}, 0).Error, "");
    EXPECT_EQ(Parse({"$100 a.bmp"}, 0).Error, "1 行目のナンバーは範囲外か数値ではありません");
}

TEST(BitmapList, BlankListHasNoData) {
    TParsed p = Parse({"", "   ", "\t"});
    EXPECT_EQ(p.Error, "\"/data/chars/BMP1.LST\"\r\nに有効なデータがありません");
    EXPECT_TRUE(p.Entries.empty());
    EXPECT_EQ(Parse({}).Error, p.Error);
}

TEST(BitmapList, EntriesComeSortedByNumber) {
    TParsed p = Parse({"30 c.bmp", "2 a.bmp", "", "17 b.bmp", "0 z.bmp"});
    ASSERT_EQ(p.Error, "");
    std::vector<std::int32_t> numbers;
    for (const auto& e : p.Entries) numbers.push_back(e.Number);
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{0, 2, 17, 30}));
    EXPECT_EQ(p.Entries[1].Path, fs::path("/data/chars/a.bmp"));
}

TEST(BitmapList, FileNamesBecomePaths) {
    struct {
        const char* Line;
        fs::path Path;
    } cases[] = {
        {"1 dir/pic.bmp", "/data/chars/dir/pic.bmp"},
        {"1 dir\\pic.BMP", "/data/chars/dir/pic.BMP"},
        {"1 /pic.bmp", "/data/chars/pic.bmp"},
        {"1 \\pic.Bmp", "/data/chars/pic.Bmp"},
        {"1 D:/pic.bmp", "D:/pic.bmp"},
        {"1 my picture 2.bmp", "/data/chars/my picture 2.bmp"},
        // "表" is 0x95 0x5C in CP932: its trail byte is no separator.
        {"1 \x95\x5C.bmp", "/data/chars/表.bmp"},
        {"1 \x95\x5C\\\x95\x5C.bmp", "/data/chars/表/表.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        TParsed p = Parse({c.Line});
        ASSERT_EQ(p.Error, "");
        EXPECT_EQ(p.Entries[0].Path, c.Path);
    }
}

} // namespace
} // namespace quillon
