// Lists of every kind, written as the game's tools write them (CP932, CR LF), read back, recognised
// by kind and coloured by the colourer that the program makes for that kind.
#include "ColourerTestUtils.h"
#include "Cp932.h"
#include "KindProperties.h"
#include "ListFiles.h"
#include "ListKinds.h"
#include "QesEnemyColourer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

using namespace quillon;
using namespace quillon::test;
namespace fs = std::filesystem;

namespace {

// The kind of the tokens that Colourer paints with its colour named Name (the program's own table).
int KindNamed(const TOrvColourer& Colourer, std::string_view Name) {
    for (int i = 0; i < Colourer.ColorCount(); ++i)
        if (Colourer.ColorInfoAt(i).Name == Name) return Colourer.ColorInfoAt(i).Kind;
    ADD_FAILURE() << Colourer.ClassName() << " has no colour " << Name;
    return -1;
}

// The colourer the program makes for a list kind, of the class the kind names.
std::unique_ptr<TOrvColourer> ColourerOfKind(int kind) {
    std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(kind);
    EXPECT_TRUE(colourer && colourer->ClassName() == ListKindInfo(kind).ColourerClass) << kind;
    return colourer;
}

class ListColouring : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-colouring-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Writes the lines (UTF-8 here) as a CP932 list with CR LF and reads it back as the program does.
    std::vector<std::string> WriteAndRead(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream out(dir / name, std::ios::binary);
        for (const std::string& line : lines) out << Utf8ToCp932(line) << "\r\n";
        out.close();
        return ReadListFile(dir / name).Lines;
    }

    fs::path dir;
};

// The painted kinds of each line of a list in a row store, one vector per line.
std::vector<std::vector<int>> ColourLines(TOrvColourer& colourer, const std::vector<std::string>& lines) {
    TRowAttributeStringList store;
    std::vector<TRow> rows;
    for (const std::string& line : lines) rows.push_back({line});
    FillStore(store, colourer, rows);
    std::vector<std::vector<int>> kinds;
    for (int i = 0; i < store.Count(); ++i) kinds.push_back(RowKinds(colourer, store, i));
    return kinds;
}

bool Has(const std::vector<int>& kinds, int kind) { return std::find(kinds.begin(), kinds.end(), kind) != kinds.end(); }

struct TFixture {
    const char* fileName;
    int kind;
    std::vector<std::string> valid;
    std::vector<std::string> invalid;
};

TEST_F(ListColouring, ValidLinesOfEveryKindHaveNoErrors) {
    const TFixture fixtures[] = {
        {"MOTION.LST",
         lkMotion,
         {"--R---G---B---G", "  0   0 255  16",
          "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1--------"
          "-"
          "COMMENT",
          "   0   1  3  10  0  0 9   0 0   0 0 9 0 0   0   -  0 0 000000000000 000000000000 000000000000 "
          ";立ち",
          "   1   0  3  12,1,A,128/13.5:2:3  C1 <2 9/1/+9 1.5 0 -2 0 90 0 A1 2.5 3 1 0100 -16030+15000 "
          "000000000000 000000000000 ジャンプ",
          "\t3\t0\t3\t10\t0\t0\t9\t0\t0\t0\t0\t9\t0\t0\t0\t-\t0\t0\td1\td2\ta1\t攻撃", "コメントの行", ""},
         {"   4   0  3  12x 0 0 9 0 0 0 0 9 0 0 0 - 0 0 0 0 0", "   5   0  3  10 C 0 9 0 0 0 0 9 0 0 0 - 0 0 0 0 0",
          "   2   -  4  -  E-1  >3 1//2 0 0 0 0 9 0 0 0 - 0 ABC0 000000000000 000000000000 000000000000"}},
        {"COMMAND.LST",
         lkCommand,
         {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment", "0 236P 1000010000 0 20 3 波動拳",
          "1 2+6 00000000000000000000 -1 0 0", "2 [D]_~ - 0 0 0 ; 投げ"},
         {"3 S 0 0 0 0", "4 2 +0 0 0 0"}},
        {"ZCOMMAND.LST",
         lkZCommand,
         {"CmdNum--Command--Cancel--Std-AmnNum--Sh-Sp-Dk--Comment", "0 a+S 0100 0 1 2 3 4 コメント",
          "1 XYZxyz 0 0 0 0 0 0"},
         {"2 Q 0 0 0 0 0 0", "3 2 0 0 0 0 +1 0"}},
        {"VOICE.LST", lkVoice, {"Num--WAVE--------COMMENT", "0 voice\\a.wav 攻撃", "- b.wav", "7"}, {"12a x.wav"}},
        {"ZVOICE.LST",
         lkZVoice,
         {"Num--WAVE--------Dp-COMMENT", "0 a.wav 3 声", "1 b.wav -2x"},
         {"2 a b.wav", "3a c.wav 1"}},
        {"ENEMY.LST",
         lkEnemy,
         {"Distance--100--Command--COMMENT", "120 50 E100#(236P) 近距離", "0 100 E100[C040]D", "30 x%% ((D))"},
         {"10 50 %[", "10 50 E10 対空", "10 50 (D"}},
        {"ENEMY.QES",
         lkQes,
         {"QESVer1.1", "FORMAT=#E100[E040[E050[%0@]%3@]E050[%4@]%5@]", ":0 地上/非無敵/打撃判定あり",
          "Distance--100--Command--COMMENT", "100 50 E100[%0@] 対空", "\\e"},
         {"\\x", "10 50 ]"}},
        {"CHARBMP.LST",
         lkBmp,
         {"10 CHARA.BMP", "10:-8:16 a b.bmp", "11::16 キャラ.bmp", "12:1:2:3 x.bmp"},
         {"10:1::", "12x"}},
    };
    for (const TFixture& f : fixtures) {
        std::vector<std::string> lines = f.valid;
        lines.insert(lines.end(), f.invalid.begin(), f.invalid.end());
        const std::vector<std::string> read = WriteAndRead(f.fileName, lines);
        ASSERT_EQ(read.size(), lines.size()) << f.fileName;
        EXPECT_EQ(DetectFileKind(read, f.fileName), f.kind) << f.fileName;
        auto colourer = ColourerOfKind(f.kind);
        const std::vector<std::vector<int>> kinds = ColourLines(*colourer, read);
        for (std::size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(Has(kinds[i], KindNamed(*colourer, "Error")), i >= f.valid.size())
                << f.fileName << ": " << lines[i];
    }
}

// A new list of every kind: its lines are items, not data; the Quessa source's template has its
// FORMAT line with the expression template, and its section labels with their names.
TEST_F(ListColouring, TemplatesOfEveryKind) {
    const struct {
        int kind;
        void (*fill)(std::vector<std::string>&);
    } templates[] = {{lkMotion, NewMotionList}, {lkCommand, NewCommandList}, {lkZCommand, NewZCommandList},
                     {lkVoice, NewVoiceList},   {lkZVoice, NewZVoiceList},   {lkEnemy, NewEnemyList},
                     {lkBmp, NewBitmapList}};
    for (const auto& t : templates) {
        std::vector<std::string> lines;
        t.fill(lines);
        auto colourer = ColourerOfKind(t.kind);
        for (const std::string& line : lines)
            EXPECT_EQ(ParseRow(*colourer, line),
                      (TToks{{KindNamed(*colourer, "AnyItem"), line.substr(line.find_first_not_of(' '))}}))
                << line;
    }

    std::vector<std::string> qes;
    NewQesSource(qes);
    TQesEnemyColourer colourer(nullptr);
    const std::vector<std::vector<int>> kinds = ColourLines(colourer, qes);
    EXPECT_EQ(ParseRow(colourer, qes[0]), (TToks{{ltAnyItem, "QESVer1.1"}}));
    TToks format = ParseRow(colourer, qes[1]);
    EXPECT_EQ(format[0], (TTok{ltAnyItem, "FORMAT="}));
    EXPECT_EQ(format[1], (TTok{etCommandSymbol, "#"}));
    EXPECT_EQ(format[2], (TTok{etEnemy, "E100"}));
    EXPECT_EQ(format[3], (TTok{etCommandSymbol, "["}));
    for (const TTok& tok : format) {
        int want = etCommandSymbol; // "#", "[", "]" and "@"
        if (tok.Text[0] == '%') want = etCommand;
        if (tok.Text[0] == 'E') want = etEnemy;
        if (tok.Text == "FORMAT=") continue;
        EXPECT_EQ(tok.Kind, want) << tok;
    }
    for (std::size_t i = 2; i < qes.size(); i += 3) {
        TToks head = ParseRow(colourer, qes[i]);
        ASSERT_EQ(head.size(), 2u);
        EXPECT_EQ(head[0], (TTok{ltAnyItem, qes[i].substr(0, 2)}));
        EXPECT_EQ(head[1].Kind, ltComment);
        EXPECT_EQ(ParseRow(colourer, qes[i + 1]), (TToks{{ltAnyItem, "Distance--100--Command--COMMENT"}}));
        EXPECT_EQ(ParseRow(colourer, qes[i + 2]), (TToks{{ltAnyItem, "\\e"}}));
    }
    for (const std::vector<int>& row : kinds) EXPECT_FALSE(Has(row, ltError));
}

} // namespace
