#include "ItemHints.h"
#include "BmpColourer.h"
#include "CommandColourer.h"
#include "Cp932.h"
#include "GoldenSamples.h"
#include "KindProperties.h"
#include "ListKinds.h"
#include "ListTokens.h"
#include "MessageBox.h"
#include "MotionColourer.h"
#include "MotionTestLines.h"
#include "QesEnemyColourer.h"
#include "StdEnemyColourer.h"
#include "VoiceColourer.h"
#include "ZCommandColourer.h"
#include "ZVoiceColourer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <utility>
#include <vector>

using namespace quillon;
using quillon::testlines::Motion;
namespace fs = std::filesystem;

namespace {

struct Case {
    int Kind;
    std::string Token; // CP932
    const char* Text;  // nullptr: no description
};

void ExpectDescriptions(int ListKind, const std::vector<Case>& Cases) {
    for (const Case& c : Cases) {
        std::string text = "unchanged";
        const bool has = ItemDescription(ListKind, c.Kind, c.Token, text);
        EXPECT_EQ(has, c.Text != nullptr) << c.Kind << " " << c.Token;
        if (c.Text)
            EXPECT_EQ(text, c.Text) << c.Kind << " " << c.Token;
        else
            EXPECT_EQ(text, "unchanged");
    }
}

TEST(MotionLineHint, DecodesEveryDescribedField) {
    ExpectDescriptions(
        lkMotion, {
                      {54, "12", "De: 12"},
                      {54, "E-12", "De: -12 (敵ｷｬﾗ相対)"},
                      {54, "C3", "De: 3 (自ｷｬﾗ相対)"},
                      {54, "T0", "De: 0 (ﾀｰｹﾞｯﾄ相対)"},
                      {54, "Ex", "De: Ex"},
                      {54, "-", "De: -"},
                      {55, "44", "Ci: 必殺技／無敵"},
                      {55, "-1", "Ci: 復帰待ち"},
                      {55, "53", "Ci: 起き上がり中等の無敵時間（攻撃判定なし）"},
                      {55, "<44", "Ci: <44"},
                      {55, "47", "Ci: 47"},
                      {59, "8", "Rx: 画面基準移動"},
                      {59, "0", "Rx: 移動量保存、自分基準移動"},
                      {61, "9", "Ry: ステージ基準移動"},
                      {61, "10", "Ry: 10"},
                      {61, "-1", "Ry: -1"},
                      {59, "a", "Rx: a"},
                      {64, "1", "CL: 大食らい、"},
                      {64, "6", "CL: ふらふら"},
                      {64, "7", "CL: 7"},
                      {65, "U", "G: 上段"},
                      {65, "TG", "G: 地上投げ"},
                      {65, "T", "G: 地上投げ"},
                      {65, "N2", "G: 演出用(ﾋｯﾄｽﾄｯﾌﾟで止まる)"},
                      {65, "u", "G: u"},
                      {69, "000000000000", "Flag: なし"},
                      {69, "", "Flag: なし"},
                      {69, "300000000000", "Flag 設定値\r\n飛び道具 3 発射"},
                      {69, "0123", "Flag 設定値\r\nﾋｯﾄ or ｶﾞｰﾄﾞで分岐\r\nﾋｯﾄで対象物食らい分岐\r\n現在と逆方向向き"},
                      {69, "0004", "Flag 設定値\r\n敵キャラ向きと同向き"},
                      {69, "00095", "Flag 設定値\r\nﾗﾝﾀﾞﾑ分岐 50%"},
                      {69, "000004x", "Flag 設定値\r\n毒\r\n暗転時動作可"},
                      {69, "0000000/3", "Flag 設定値\r\nｶﾞｰﾄﾞｹﾞｰｼ 1 Dot減少\r\n超技ｹﾞｰｼ 3 Dot増加"},
                      {69, "0000000008-A",
                       "Flag 設定値\r\n敵ｷｬﾗにも自ｷｬﾗにも当たる(飛び道具)\r\nﾋｯﾄｽﾄｯﾌﾟ 0 ﾌﾚｰﾑ\r\nｶﾞｰﾄﾞｽﾄｯﾌﾟ 17 ﾌﾚｰﾑ"},
                      {69, "0900090009/0", "Flag: なし"}, // unlisted characters add nothing
                      {71, "1FF0EF00A010", "Def1: (-255, 239)-(10, 16)"},
                      {72, "000000000000", "Def2: (0, 0)-(0, 0)"},
                      {73, "0A", "Att1: (160, 0)-(0, 0)"},
                      {50, "12", nullptr},
                      {7, "x", nullptr},
                  });
}

TEST(MotionLineHint, QuotesATokenAsText) {
    ExpectDescriptions(lkMotion, {{65, Utf8ToCp932("上"), "G: 上"}, {55, Utf8ToCp932("<４"), "Ci: <４"}});
}

TEST(CommandLineHint, DecodesCancelAndStdOfBothCommandLists) {
    for (int kind : {lkCommand, lkZCommand}) {
        ExpectDescriptions(kind, {
                                     {53, "10100", "Cancel: 4, 2"},
                                     {53, "00000", "Cancel: なし"},
                                     {53, "1", "Cancel: 4"},
                                     {53, "0000011", "Cancel: -1, -2"},
                                     {57, "000", "Std: なし"},
                                     {57, "101", "Std: 空中/立ち"},
                                     {57, "x1", "Std: 空中/しゃがみ"},
                                     {57, "1", "Std: 空中"},
                                     {50, "1", nullptr},
                                 });
    }
}

TEST(EnemyConditionHint, DecodesConditionCodesOfBothEnemyLists) {
    for (int kind : {lkEnemy, lkQes}) {
        ExpectDescriptions(
            kind,
            {
                {54, "E120#",
                 "＜敵条件＞\r\n 位置 ：地上にいる\r\n 状態 ：防御状態\r\nゲージ：条件なし\r\n以上の条件を満たすまで待機"},
                {55, "c489",
                 "＜自キャラ条件＞\r\n 位置 ：しゃがんでいる\r\n 状態 ：ｷｬﾝｾﾙ(2～4)or通常技が出せる\r\nゲージ：９ゲージ以上"},
                {54, "e000", "＜敵条件＞\r\n 位置 ：条件なし\r\n 状態 ：条件なし\r\nゲージ：条件なし"},
                {54, "E500", nullptr},
                {54, "E12", nullptr},
                {54, "X120", nullptr},
                {52, "E120", nullptr},
            });
    }
    ExpectDescriptions(lkVoice, {{54, "E120", nullptr}});
    ExpectDescriptions(lkText, {{54, "E120", nullptr}});
}

// The field under a column is found by the list colourer's one-token-per-field parse.
TEST(ItemHints, TheFieldUnderAColumnIsDescribed) {
    struct Line {
        int ListKind;
        std::unique_ptr<TOrvColourer> Colourer;
        std::string Text;
        std::string Field; // the field whose first byte is pointed at
        int Kind;
        const char* Description;
    };
    const std::string motion = Motion({.Num = "5", .De = "E-12", .Ci = "44", .G = "M", .Flag = "300000000000"});
    Line lines[] = {
        {lkMotion, std::make_unique<TMotionColourer>(nullptr), motion, "E-12", 54, "De: -12 (敵ｷｬﾗ相対)"},
        {lkMotion, std::make_unique<TMotionColourer>(nullptr), motion, " 44", 55, "Ci: 必殺技／無敵"},
        {lkMotion, std::make_unique<TMotionColourer>(nullptr), motion, " M ", 65, "G: 中段"},
        {lkMotion, std::make_unique<TMotionColourer>(nullptr), motion, "3000", 69, "Flag 設定値\r\n飛び道具 3 発射"},
        {lkCommand, std::make_unique<TCommandColourer>(nullptr), "0 236P 10100 101 20 3 x", "10100", 53,
         "Cancel: 4, 2"},
        {lkZCommand, std::make_unique<TZCommandColourer>(nullptr), "0 a+S 0100 011 1 2 3 4 x", "011", 57,
         "Std: しゃがみ/立ち"},
        {lkEnemy, std::make_unique<TStdEnemyColourer>(nullptr), "100 50 E120#236P ; x", "E120#", 54,
         "＜敵条件＞\r\n 位置 ：地上にいる\r\n 状態 ：防御状態\r\nゲージ：条件なし\r\n以上の条件を満たすまで待機"},
    };
    for (Line& l : lines) {
        const std::size_t at = l.Text.find(l.Field);
        ASSERT_NE(at, std::string::npos) << l.Field;
        const int col = static_cast<int>(at + l.Field.find_first_not_of(' '));
        const TListToken token = FieldTokenAt(*l.Colourer, l.Text, col);
        EXPECT_EQ(token.Kind, l.Kind) << l.Text << " at " << col;
        std::string text;
        EXPECT_TRUE(ItemDescription(l.ListKind, token.Kind, token.Text, text)) << l.Field;
        EXPECT_EQ(text, l.Description);
    }
    TMotionColourer colourer(nullptr);
    EXPECT_EQ(FieldTokenAt(colourer, motion, static_cast<int>(motion.size()) + 3).Kind, 0);
}

// The token kinds for which each list kind offers the item hint command: every kind with a keyword,
// and for motion lists also the V separator and the value 9 (VNone), which the command then passes
// over silently as it has no keyword.
TEST(ItemHints, TheCommandIsOfferedForTheTokenKindsOfEachListKind) {
    const std::vector<std::pair<int, std::set<int>>> offered = {
        {lkMotion, {7, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 64, 65, 66, 67, 68, 69, 71, 72, 73}},
        {lkCommand, {7, 50, 51, 52, 53, 57, 58, 59}},
        {lkZCommand, {7, 50, 51, 52, 53, 57, 58, 59, 60, 61}},
        {lkVoice, {7, 50, 51}},
        {lkZVoice, {7, 50, 51, 52}},
        {lkEnemy, {7, 50, 51, 52, 53, 54, 55}},
        {lkQes, {7, 50, 51, 52, 53, 54, 55}},
        {lkBmp, {50, 51, 52, 53}},
        {lkText, {}},
    };
    for (const auto& [listKind, kinds] : offered)
        for (int kind = 0; kind < 256; ++kind)
            EXPECT_EQ(HasItemHint(listKind, kind), kinds.count(kind) == 1) << listKind << " " << kind;
    EXPECT_EQ(ItemHintKeyword(lkMotion, mtVNone), "");
}

// The name of the colour that paints Kind in Colourer, empty for a kind it has no colour for.
std::string ColourName(const TOrvColourer& Colourer, int Kind) {
    for (int i = 0; i < Colourer.ColorCount(); ++i)
        if (Colourer.ColorInfoAt(i).Kind == Kind) return Colourer.ColorInfoAt(i).Name;
    return {};
}

// The hint tables agree with the colourers: every field that a kind's colourer cuts from the golden
// sample of the kind has a keyword (its item and error lines and tabs have none), the command is
// offered exactly where there is one, and every keyword names a field the colourer paints.
TEST(ItemHints, EveryFieldTheColourerCutsHasAKeywordAndNoOther) {
    for (const test::TSample& sample : test::GoldenSamples()) {
        SCOPED_TRACE(sample.Path.filename().string());
        std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(sample.Kind);
        ASSERT_TRUE(colourer);
        for (const std::string& line : sample.Lines)
            for (const TListToken& token : FieldTokens(*colourer, line)) {
                const std::string colour = ColourName(*colourer, token.Kind);
                if (colour.empty() || colour == "AnyItem" || colour == "Error") continue;
                EXPECT_FALSE(ItemHintKeyword(sample.Kind, token.Kind).empty()) << colour;
            }
        for (int kind = 0; kind < 256; ++kind) {
            const bool keyword = !ItemHintKeyword(sample.Kind, kind).empty();
            if (keyword) {
                EXPECT_TRUE(HasItemHint(sample.Kind, kind)) << kind;
            }
            const std::string colour = ColourName(*colourer, kind);
            if (keyword) {
                EXPECT_TRUE(!colour.empty() && colour != "AnyItem" && colour != "Error") << kind;
            }
        }
    }
    for (int kind = 0; kind < 256; ++kind) EXPECT_FALSE(HasItemHint(lkText, kind));
    EXPECT_EQ(ItemHintFile(lkMotion), "Cheat.dat");
    EXPECT_EQ(ItemHintFile(lkQes), "QCheat.dat");
    EXPECT_EQ(ItemHintFile(lkText), "");
}

class HintFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-hints-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        Dir = tmpl;
    }
    void TearDown() override { fs::remove_all(Dir); }
    void Write(const std::string& Name, const std::string& Text) {
        std::ofstream(Dir / Name, std::ios::binary) << Text;
    }

    fs::path Dir;
    TScriptedMessages Boxes;
    TMessageServiceScope Scope{Boxes};
};

TEST_F(HintFiles, EveryKeywordOfEveryListKindIsLookedUpInItsFile) {
    for (int listKind = 1; listKind < kListKindCount; ++listKind) {
        std::string text;
        for (int kind = 0; kind < 256; ++kind) {
            const std::string_view keyword = ItemHintKeyword(listKind, kind);
            if (!keyword.empty())
                text += ":" + std::string(keyword) + "=" + std::string(keyword) + "\r\nabout it\r\n\\e\r\n";
        }
        Write(std::string(ItemHintFile(listKind)), text);
    }
    for (int listKind = 0; listKind < kListKindCount; ++listKind) {
        int found = 0;
        for (int kind = 0; kind < 256; ++kind) {
            std::string title, body;
            const bool shown = ItemHintLookup({Dir}, listKind, kind, title, body);
            EXPECT_EQ(shown, !ItemHintKeyword(listKind, kind).empty()) << listKind << " " << kind;
            if (shown) {
                EXPECT_EQ(title, ItemHintKeyword(listKind, kind));
                EXPECT_EQ(body, "about it\r\n");
                ++found;
            }
        }
        // Every kind with a hint file offers a hint somewhere.
        EXPECT_EQ(found > 0, !ItemHintFile(listKind).empty()) << listKind;
    }
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(HintFiles, EmptyEntriesSayThereIsNoHintAndMissingOnesSayNothing) {
    Write("cheat.DAT", Utf8ToCp932(":PIC=絵の番号\r\n絵の番号です\r\n\\e\r\n:DE=\r\nbody\r\n\\e\r\n:CI=Ci\r\n\\e\r\n"));
    std::string title, body;
    EXPECT_TRUE(ItemHintLookup({Dir}, lkMotion, 53, title, body));
    EXPECT_EQ(Cp932ToUtf8(title), "絵の番号");
    EXPECT_EQ(Cp932ToUtf8(body), "絵の番号です\r\n");
    EXPECT_TRUE(Boxes.Shown.empty());
    for (int kind : {54, 55}) {
        EXPECT_FALSE(ItemHintLookup({Dir}, lkMotion, kind, title, body));
        ASSERT_EQ(Boxes.Shown.size(), 1u);
        EXPECT_EQ(Boxes.Shown[0].Text, "この項目に関してのヒントはありません");
        EXPECT_EQ(Boxes.Shown[0].Title, "項目ヒント");
        EXPECT_EQ(Boxes.Shown[0].Icon, TMsgIcon::Information);
        Boxes.Shown.clear();
    }
    EXPECT_FALSE(ItemHintLookup({Dir}, lkMotion, 50, title, body)); // NUM is not in the file
    EXPECT_FALSE(ItemHintLookup({Dir}, lkMotion, 57, title, body)); // no keyword at all
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(HintFiles, AMissingFileIsReportedByTheLookUp) {
    std::string title, body;
    EXPECT_FALSE(ItemHintLookup({Dir}, lkCommand, 53, title, body));
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_NE(Boxes.Shown[0].Text.find("CCheat.dat"), std::string::npos);
    Boxes.Shown.clear();
    EXPECT_FALSE(ItemHintLookup({Dir}, lkText, 7, title, body));
    EXPECT_TRUE(Boxes.Shown.empty());
}

// The kind's file comes from the first folder that holds one; a folder without it is passed over,
// and a file no folder holds is reported as missing from the first.
TEST_F(HintFiles, TheFirstFolderHoldingTheFileWins) {
    const fs::path empty = Dir / "beside the program", user = Dir / "user", shipped = Dir / "shipped";
    for (const fs::path& folder : {empty, user, shipped}) fs::create_directory(folder);
    std::ofstream(user / "VCHEAT.DAT", std::ios::binary) << ":NUM=user\r\nu\r\n\\e\r\n";
    std::ofstream(shipped / "VCheat.dat", std::ios::binary) << ":NUM=shipped\r\ns\r\n\\e\r\n";
    std::ofstream(shipped / "ZVCheat.dat", std::ios::binary) << ":NUM=shipped\r\ns\r\n\\e\r\n";
    std::string title, body;
    EXPECT_TRUE(ItemHintLookup({empty, user, shipped}, lkVoice, 50, title, body));
    EXPECT_EQ(title, "user");
    EXPECT_TRUE(ItemHintLookup({empty, user, shipped}, lkZVoice, 50, title, body));
    EXPECT_EQ(title, "shipped");
    EXPECT_TRUE(Boxes.Shown.empty());
    EXPECT_FALSE(ItemHintLookup({empty, user, shipped}, lkBmp, 50, title, body));
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "BCheat.datが見つかりません");
}

// The keywords of the entries of a hint file (":KEYWORD=title" lines), in upper case.
std::set<std::string> EntryKeywords(const fs::path& File) {
    std::set<std::string> keywords;
    std::ifstream in(File, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with(':') && line.find('=') != std::string::npos) {
            std::string keyword = line.substr(1, line.find('=') - 1);
            std::ranges::transform(keyword, keyword.begin(), [](unsigned char c) { return std::toupper(c); });
            keywords.insert(keyword);
        }
    return keywords;
}

// The hint files the program ships explain every field that offers a hint, in every list kind,
// and every entry they hold is offered by some field: a keyword lost from the tables leaves its
// entry unreachable.
TEST_F(HintFiles, TheShippedFilesAndTheKeywordsMatch) {
    for (int listKind = 1; listKind < kListKindCount; ++listKind) {
        SCOPED_TRACE(std::string(ItemHintFile(listKind)));
        std::set<std::string> keywords;
        for (int kind = 0; kind < 256; ++kind) {
            if (ItemHintKeyword(listKind, kind).empty()) continue;
            keywords.insert(std::string(ItemHintKeyword(listKind, kind)));
            std::string title, body;
            EXPECT_TRUE(ItemHintLookup({QUILLON_HINT_DIR}, listKind, kind, title, body))
                << ItemHintKeyword(listKind, kind);
        }
        EXPECT_EQ(EntryKeywords(fs::path(QUILLON_HINT_DIR) / ItemHintFile(listKind)), keywords);
    }
    EXPECT_TRUE(Boxes.Shown.empty());
}

} // namespace
