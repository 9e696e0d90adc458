#include "QesConverter.h"
#include "FileSizeLimit.h"

#include "ListKinds.h"
#include "MessageBox.h"

#include <climits>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

using TLines = std::vector<std::string>;

// Every non-empty section as "n:distance,value,command,comment;...", sections separated by " ".
std::string Dump(const TQesSource& source) {
    std::string s;
    for (int n = 0; n < kQesSectionCount; ++n) {
        const auto& items = source.Sections[static_cast<size_t>(n)];
        if (items.empty()) continue;
        if (!s.empty()) s += ' ';
        s += std::to_string(n) + ":";
        for (const TEneLineItem& item : items)
            s += std::to_string(item.Distance) + "," + std::to_string(item.Value) + "," + item.Command + "," +
                 item.Comment + ";";
    }
    return s;
}

class QesTest : public ::testing::Test {
protected:
    TScriptedMessages messages;
    TMessageServiceScope scope{messages};
};

class QesFileTest : public QesTest {
protected:
    fs::path dir;

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-qes-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(dir / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

// A small source: section 0 with 10 100 A and 50 100 B, section 1 with 30 100 C.
const TLines kSmallSource{"QESVer1.1", "FORMAT=%0/%1", ":0", "10 100 A", "50 100 B", "\\e", ":1", "30 100 C", "\\e"};

} // namespace

struct TReadCase {
    const char* Name;
    TLines Lines;
    std::string Template; // empty: the default
    std::string Sections; // as Dump gives them
};

TEST_F(QesTest, ReaderTable) {
    const std::string def = kQesDefaultTemplate;
    const TReadCase cases[] = {
        {"version 1.1", {"QESVer1.1", ":0", "1 2 K", "\\e"}, "", "0:1,2,K,;"},
        {"version in lower case", {"qesver1.0", ":0", "1 2 K", "\\e"}, "", "0:1,2,K,;"},
        {"blank and empty lines dropped first",
         {"", "  \t", "\x81\x40QESVER1.0 ", "", ":0", "  1 2 K\x81\x40", "\\e"},
         "",
         "0:1,2,K,;"},
        {"FORMAT= sets the template", {"QESVer1.1", "FORMAT=%0/%1"}, "%0/%1", ""},
        {"FORMAT= in either case, rest trimmed", {"QESVer1.1", "format=  x%0 \x81\x40"}, "x%0", ""},
        {"the last FORMAT= wins", {"QESVer1.1", "FORMAT=first", "FORMAT=second"}, "second", ""},
        {"a FORMAT= line of 8 characters is too short", {"QESVer1.1", "FORMAT=x"}, "", ""},
        {"a FORMAT= line of 9 characters counts", {"QESVer1.1", "FORMAT=xy"}, "xy", ""},
        {"a FORMAT= line inside a section counts", {"QESVer1.1", ":0", "FORMAT=in", "\\e"}, "in", ""},
        {"version 1.0 ignores FORMAT=", {"QESVer1.0", "FORMAT=%0/%1"}, "", ""},
        {"new-source template keeps its #", {"QESVer1.1", "FORMAT=#%0@"}, "#%0@", ""},
        {"labels 9, A, Z, a, z",
         {"QESVer1.1", ":9", "1 1 a", "\\e", ":A", "1 1 b", "\\e", ":Zebra x", "1 1 c", "\\e", ":a", "1 1 d", "\\e",
          ":z\ty", "1 1 e", "\\E"},
         "",
         "9:1,1,a,; 10:1,1,b,; 35:1,1,c,; 36:1,1,d,; 61:1,1,e,;"},
        {"labels that open nothing",
         {"QESVer1.1", ":", ": 0", ":#", ":\x82\xA0", "1 1 x", "\\e", ":1", "2 2 y", "\\e"},
         "",
         "1:2,2,y,;"},
        {"label text is trimmed up to the blank",
         {"QESVer1.1",
          ":\x81\x40"
          "5 name",
          "1 1 x", "\\e"},
         "",
         "5:1,1,x,;"},
        {"\\E and \\e end a section, \\x does not",
         {"QESVer1.1", ":0", "1 1 a", "\\x", "2 2 b", "\\E", "3 3 c", ":1", "4 4 d", "\\e", "5 5 e"},
         "",
         "0:1,1,a,;2,2,b,; 1:4,4,d,;"},
        {"lines that are no data lines",
         {"QESVer1.1", ":0", "Distance--100--Command--COMMENT", "7", "10 100", "x1 100 A", "10 1x A",
          "10 99999999999 A", "\\e"},
         "",
         ""},
        {"a : line inside a section is a data line", {"QESVer1.1", ":0", ":1 text", "1 1 a", "\\e"}, "", "0:1,1,a,;"},
        {"tabs and runs of blanks separate; comments lose one ;",
         {"QESVer1.1", ":0", "10\t 100 \t5K\t ;;near", "20  -5  L  plain words ", "30 7 \x83\x5C\x83\x5C ;\x8B\x97"},
         "",
         "0:10,100,5K,;near;20,-5,L,plain words;30,7,\x83\x5C\x83\x5C,\x8B\x97;"},
        {"items sorted by distance, then value; equal pairs keep their order",
         {"QESVer1.1", ":0", "50 1 a", "10 200 b", "10 100 c", "10 100 d", "-5 0 e", "\\e"},
         "",
         "0:-5,0,e,;10,100,c,;10,100,d,;10,200,b,;50,1,a,;"},
    };
    for (const TReadCase& c : cases) {
        TQesSource source;
        ASSERT_TRUE(ParseQesSource(c.Lines, source)) << c.Name;
        EXPECT_EQ(source.CondTemplate, c.Template.empty() ? def : c.Template) << c.Name;
        EXPECT_EQ(Dump(source), c.Sections) << c.Name;
    }
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(QesTest, TextsWithoutAKnownVersionAreInvalid) {
    const TLines cases[] = {{},      {"", " ", "\x81\x40"}, {"QESVer1.2"}, {"QESVer1.1x"},
                            {"QES"}, {":0", "QESVer1.1"},   {"QESVer 1.1"}};
    for (const TLines& lines : cases) {
        messages.Shown.clear();
        TQesSource source;
        EXPECT_FALSE(ParseQesSource(lines, source));
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text, "有効なファイルではありません");
        EXPECT_EQ(messages.Shown[0].Title, "エラー");
        EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Error);
    }
}

TEST_F(QesTest, ReadingStartsAfresh) {
    TQesSource source;
    ASSERT_TRUE(ParseQesSource(kSmallSource, source));
    ASSERT_TRUE(ParseQesSource({"QESVer1.0"}, source));
    EXPECT_EQ(source.CondTemplate, kQesDefaultTemplate);
    EXPECT_EQ(Dump(source), "");
}

TEST(QesSections, CharactersOfLabelsAndPlaceholders) {
    EXPECT_EQ(QesSectionOfChar('0'), 0);
    EXPECT_EQ(QesSectionOfChar('9'), 9);
    EXPECT_EQ(QesSectionOfChar('A'), 10);
    EXPECT_EQ(QesSectionOfChar('Z'), 35);
    EXPECT_EQ(QesSectionOfChar('a'), 36);
    EXPECT_EQ(QesSectionOfChar('z'), 61);
    for (char c : {'/', ':', '@', '[', '`', '{', '%', '#', '\x82'}) EXPECT_EQ(QesSectionOfChar(c), -1) << c;
}

TEST_F(QesTest, MergeByDistanceAndValue) {
    TQesSource source;
    ASSERT_TRUE(ParseQesSource(kSmallSource, source));
    EXPECT_EQ(MergeQesSections(source), (TLines{"Distance--100--Command--COMMENT", "     10   100  A/C ;",
                                                "     30   100  B/C ;", "     50   100  B/ ;"}));
}

TEST_F(QesTest, EqualDistancesGiveOneLinePerValue) {
    TQesSource source;
    ASSERT_TRUE(ParseQesSource({"QESVer1.1", "FORMAT=<%0>", ":0", "10 200 B", "10 100 A", "\\e"}, source));
    EXPECT_EQ(MergeQesSections(source), (TLines{kEnemyListHeader, "     10   100  <A> ;", "     10   200  <B> ;"}));
}

TEST_F(QesTest, ACommandNeedsBothDistanceAndValue) {
    // At (20, 100) the first item of section 0 at or beyond both is none: (30, 50) is below in value.
    TQesSource source;
    ASSERT_TRUE(ParseQesSource({"QESVer1.1", "FORMAT=%0|%1", ":0", "30 50 X", "\\e", ":1", "20 100 Y", "\\e"}, source));
    EXPECT_EQ(MergeQesSections(source), (TLines{kEnemyListHeader, "     20   100  |Y ;", "     30    50  X| ;"}));
}

TEST_F(QesTest, EveryPlaceholderEveryOccurrenceOnce) {
    TQesSource source;
    source.CondTemplate = "%0%9%A%Z%a%z %0 %% %%0 %# %";
    const std::pair<size_t, const char*> commands[] = {{0, "n0"},  {9, "n9"},  {10, "nA"},
                                                       {35, "nZ"}, {36, "na"}, {61, "nz"}};
    for (auto [n, cmd] : commands) source.Sections[n].push_back({1, 1, cmd, ""});
    EXPECT_EQ(MergeQesSections(source).at(1), "      1     1  n0n9nAnZnanz n0 %% %n0 %# % ;");
}

TEST_F(QesTest, ASubstitutedCommandIsNotSubstitutedAgain) {
    TQesSource source;
    source.CondTemplate = "%0[%1]";
    source.Sections[0].push_back({1, 1, "%1", ""});
    source.Sections[1].push_back({1, 1, "K", ""});
    EXPECT_EQ(MergeQesSections(source).at(1), "      1     1  %1[K] ;");
}

TEST_F(QesTest, NumbersKeepTheirWidthsAndExtremes) {
    TQesSource source;
    source.CondTemplate = "%0";
    for (int d : {INT_MIN, -1, 12345678}) source.Sections[0].push_back({d, d, "k", ""});
    EXPECT_EQ(MergeQesSections(source), (TLines{kEnemyListHeader, "-2147483648 -2147483648  k ;", "     -1    -1  k ;",
                                                "12345678 12345678  k ;"}));
    EXPECT_EQ(MergeQesSections(TQesSource()), TLines{kEnemyListHeader});
}

TEST(QesFileName, TheExtensionBecomesLst) {
    EXPECT_EQ(EnemyListFileName("/a/b/X.QES"), fs::path("/a/b/X.lst"));
    EXPECT_EQ(EnemyListFileName("/a/b.d/enemy"), fs::path("/a/b.d/enemy.lst"));
    EXPECT_EQ(EnemyListFileName("/a/x.y.qes"), fs::path("/a/x.y.lst"));
}

// A new source from its template with data lines after the headers of sections 0 and 4.
TEST_F(QesFileTest, ConvertingANewSourceWritesTheseBytes) {
    TLines lines;
    NewQesSource(lines);
    auto after = [&](int section) { return lines.begin() + 2 + 3 * section + 2; };
    lines.insert(after(4), "40 100 ~ ;\x89\x93"); // 遠 in the comment, not written
    lines.insert(after(0), "  10\t100\t5K ;\x8B\x97");
    lines.insert(after(0), "40 100 \x83\x5C"); // ソ: its trail byte is "\"
    Write("X.QES", "on disk\r\n");
    ASSERT_TRUE(ConvertQesToEnemyList(lines, dir / "X.QES"));
    const std::string expected =
        "Distance--100--Command--COMMENT\r\n"
        "     10   100  #E100[E040[E050[5K@]E300[@]E400[@]@]E050[~@]@]E200[E040[E050[@]@]E050[@]@] ;\r\n"
        "     40   100  #E100[E040[E050[\x83\x5C@]E300[@]E400[@]@]E050[~@]@]E200[E040[E050[@]@]E050[@]@] ;\r\n";
    EXPECT_EQ(Read("X.lst"), expected);
    EXPECT_EQ(Read("X.QES"), "on disk\r\n"); // the editor's text is converted, the file untouched
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "出力が完了しました");
    EXPECT_EQ(messages.Shown[0].Title, "成功");
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Information);
    EXPECT_EQ(messages.Shown[0].Buttons, TMsgButtons::OK);
}

// An existing list (perhaps written by hand) is replaced only when the user agrees; it was once
// replaced without a word.
TEST_F(QesFileTest, AnExistingListIsReplacedOnlyWhenTheUserAgrees) {
    const std::string merged = "Distance--100--Command--COMMENT\r\n     10   100  A/C ;\r\n"
                               "     30   100  B/C ;\r\n     50   100  B/ ;\r\n";
    for (TMsgResult answer : {TMsgResult::No, TMsgResult::Yes}) {
        Write("X.lst", "old list\r\n");
        messages.Shown.clear();
        messages.Answer(answer);
        EXPECT_EQ(ConvertQesToEnemyList(kSmallSource, dir / "X.QES"), answer == TMsgResult::Yes);
        EXPECT_EQ(Read("X.lst"), answer == TMsgResult::Yes ? merged : "old list\r\n");
        ASSERT_EQ(messages.Shown.size(), answer == TMsgResult::Yes ? 2u : 1u);
        EXPECT_EQ(messages.Shown[0].Text, "X.lst は既にあります。\r\n置き換えますか？");
        EXPECT_EQ(messages.Shown[0].Title, "確認");
        EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Question);
        EXPECT_EQ(messages.Shown[0].Buttons, TMsgButtons::YesNo);
    }
}

// The list the game reads is the existing one, whatever the case of its name: it is replaced, and
// no second list appears beside it.
TEST_F(QesFileTest, AnExistingListNamedInAnotherCaseIsReplaced) {
    Write("ENEMY1.LST", "old list\r\n");
    EXPECT_EQ(EnemyListFileName(dir / "ENEMY1.QES"), dir / "ENEMY1.LST");
    messages.Answer(TMsgResult::Yes);
    ASSERT_TRUE(ConvertQesToEnemyList(kSmallSource, dir / "ENEMY1.QES"));
    EXPECT_EQ(Read("ENEMY1.LST"), "Distance--100--Command--COMMENT\r\n     10   100  A/C ;\r\n"
                                  "     30   100  B/C ;\r\n     50   100  B/ ;\r\n");
    for (const auto& entry : fs::directory_iterator(dir)) EXPECT_EQ(entry.path().filename(), "ENEMY1.LST");
}

TEST_F(QesFileTest, AnInvalidSourceWritesNothing) {
    EXPECT_FALSE(ConvertQesToEnemyList({"QESVer9"}, dir / "X.QES"));
    EXPECT_FALSE(fs::exists(dir / "X.lst"));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "有効なファイルではありません");
}

TEST_F(QesFileTest, AnOutputThatCannotBeOpenedIsReported) {
    fs::create_directory(dir / "X.lst");
    EXPECT_FALSE(ConvertQesToEnemyList(kSmallSource, dir / "X.QES"));
    EXPECT_FALSE(ConvertQesToEnemyList(kSmallSource, dir / "nowhere" / "X.QES"));
    ASSERT_EQ(messages.Shown.size(), 2u);
    for (const auto& shown : messages.Shown) {
        EXPECT_TRUE(shown.Text.starts_with("ファイルを開けませんでした\n" + (dir / "").string())) << shown.Text;
        EXPECT_EQ(shown.Title, "エラー");
        EXPECT_EQ(shown.Icon, TMsgIcon::Error);
    }
}

TEST_F(QesFileTest, ASourceNamedLikeItsListIsNeverOverwritten) {
    Write("E.lst", "QESVer1.1\r\n");
    EXPECT_FALSE(ConvertQesToEnemyList(kSmallSource, dir / "E.lst"));
    EXPECT_EQ(Read("E.lst"), "QESVer1.1\r\n");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "ファイルを開けませんでした");
    // An unnamed source has no place for its list.
    EXPECT_FALSE(ConvertQesToEnemyList(kSmallSource, fs::path()));
    EXPECT_EQ(messages.Shown.back().Text, "ファイルを開けませんでした");
}

TEST_F(QesFileTest, AFailedWriteKeepsTheOldList) {
    Write("X.lst", "old list\r\n");
    // Files may not grow beyond 16 bytes for the length of the conversion.
    bool converted;
    messages.Answer(TMsgResult::Yes);
    {
        TFileSizeLimit limit(16);
        converted = ConvertQesToEnemyList(kSmallSource, dir / "X.QES");
    }

    EXPECT_FALSE(converted);
    EXPECT_EQ(Read("X.lst"), "old list\r\n");
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(messages.Shown[1].Text, "ファイルの書き込みに失敗しました\n" + (dir / "X.lst").string() +
                                          "\nファイルの大きさが許された上限を超えます");
    EXPECT_EQ(messages.Shown[1].Title, "エラー");
    EXPECT_EQ(messages.Shown[1].Icon, TMsgIcon::Error);
    for (const auto& entry : fs::directory_iterator(dir)) EXPECT_EQ(entry.path().filename(), "X.lst");
}
