#include "ListKinds.h"

#include "ColourerTestUtils.h"
#include "Cp932.h"
#include "MskMatch.h"
#include "OrvColourer.h"

#include <algorithm>
#include <memory>
#include <set>

#include <gtest/gtest.h>

using namespace quillon;

TEST(ListKinds, DetectFileKind) {
    struct Case {
        std::vector<std::string> lines;
        const char* fileName;
        int kind;
    } cases[] = {
        {{"Cmd1"}, "/lists/ZCOMMAND3.LST", lkZCommand},
        {{"Cmd1"}, "/lists/COMMAND3.LST", lkCommand},
        {{"Cmd1"}, "", lkZCommand},
        {{"Num"}, "", lkZVoice},
        {{"Num"}, "/x/VOICE.LST", lkVoice},
        {{"Num"}, "/x/zvoice2.lst", lkZVoice},
        {{"  \t--R"}, "", lkMotion},
        {{"cmd"}, "", lkText},
        {{}, "", lkText},
        {{}, "/x/ZBMP1.LST", lkBmp},
        {{"anything"}, "/x/ABC.TXT", lkText},
        {{"Num"}, "/x/MOTION.LST", lkVoice}, // the first line wins over the name
        {{""}, "/x/MOTION.LST", lkMotion},
        {{"  0 - 0 5"}, "/x/MOTION.LST", lkMotion},
        {{"x"}, "/x/ENEMY.QES", lkQes}, // not "*ENEMY*.LST": the extension differs
        {{"x"}, "/x/MOTION", lkText},
        {{"x"}, "/x/zmotion1.lst", lkMotion},
        {{"x"}, "/x/ZCOMMAND1.LST", lkZCommand}, // Vantor masks come before the classic ones
        {{"x"}, "/x/COMMAND1.LST", lkCommand},
        {{"x"}, "/x/ZVOICE1.LST", lkZVoice},
        {{"x"}, "/x/ENEMY1.LST", lkEnemy},
        {{"Dis"}, "", lkEnemy},
        {{"QESVer1.1"}, "", lkQes},
        {{"x"}, "/MOTION.LST/plain.txt", lkText}, // only the name part is matched
        {{"x"}, "/x/キャラMOTION.LST", lkMotion}, // a Japanese name is matched in CP932
    };
    for (const auto& c : cases) EXPECT_EQ(DetectFileKind(c.lines, c.fileName), c.kind) << c.fileName;
}

TEST(ListKinds, HintAppliesOnlyWhenNothingWasDetected) {
    EXPECT_EQ(KindWithHint(lkText, lkBmp), lkBmp);
    EXPECT_EQ(KindWithHint(lkText, -1), lkText);
    EXPECT_EQ(KindWithHint(lkZCommand, lkCommand), lkZCommand);
}

TEST(ListKinds, TemplatesAreExactAndDetectAsTheirKind) {
    struct Case {
        void (*make)(std::vector<std::string>&);
        std::vector<std::string> lines;
        int kind;
    } cases[] = {
        {NewMotionList,
         {"--R---G---B---G", "  0   0 255  16",
          "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1---------COMMENT"},
         lkMotion},
        {NewCommandList, {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment"}, lkZCommand},
        {NewZCommandList, {"CmdNum--Command--Cancel--Std-AmnNum--Sh-Sp-Dk--Comment"}, lkZCommand},
        {NewVoiceList, {"Num--WAVE--------COMMENT"}, lkZVoice},
        {NewZVoiceList, {"Num--WAVE--------Dp-COMMENT"}, lkZVoice},
        {NewEnemyList, {"Distance--100--Command--COMMENT"}, lkEnemy},
        {NewBitmapList, {}, lkText},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines{"old"};
        c.make(lines);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(DetectFileKind(lines, ""), c.kind);
    }
}

TEST(ListKinds, QessaSourceTemplateIsByteExactCp932) {
    std::vector<std::string> lines;
    NewQesSource(lines);
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "QESVer1.1");
    EXPECT_EQ(lines[1], "FORMAT=#E100[E040[E050[%0@]E300[%1@]E400[%2@]%3@]E050[%4@]%5@]E200[E040[E050[%6@]%7@]"
                        "E050[%8@]%9@]");
    // ":0 地上/非無敵/打撃判定あり" in code page 932.
    EXPECT_EQ(lines[2],
              ":0 \x92\x6E\x8F\xE3/\x94\xF1\x96\xB3\x93\x47/\x91\xC5\x8C\x82\x94\xBB\x92\xE8\x82\xA0\x82\xE8");
    EXPECT_EQ(lines[3], "Distance--100--Command--COMMENT");
    EXPECT_EQ(lines[4], "\\e");
    EXPECT_EQ(Cp932ToUtf8(lines[29]), ":9 空中/無敵/打撃判定なし");
    EXPECT_EQ(DetectFileKind(lines, ""), lkQes);
    NewQesSource(lines); // appends
    EXPECT_EQ(lines.size(), 64u);
}

TEST(ListKinds, KindTable) {
    EXPECT_EQ(ListKindInfo(lkText).ValueName, "Common");
    EXPECT_EQ(ListKindInfo(lkBmp).ValueName, "Bmp");
    EXPECT_EQ(ListKindInfo(lkQes).ColourerClass, "TQesEnemyColourer");
    EXPECT_EQ(ListKindInfo(lkZVoice).Mask, "*ZVOICE*.LST");
}

// ---- every kind's record is complete, and what the program derives from it holds together

namespace {

// A file name that a mask matches: each "*" stands for one letter.
std::string NameOfMask(std::string_view mask) {
    std::string name(mask);
    std::ranges::replace(name, '*', 'X');
    return "/lists/" + name;
}

// The colour properties a kind's colourer publishes, by name.
std::set<std::string> ColorNames(const TOrvColourer& colourer) {
    std::set<std::string> names;
    for (int i = 0; i < colourer.ColorCount(); ++i) names.insert(colourer.ColorInfoAt(i).Name);
    return names;
}

} // namespace

TEST(ListKindRecords, NamesThatAreStoredOrShownAreUniqueAndPresent) {
    std::set<std::string_view> valueNames, actionNames, classes, hintFiles;
    std::set<char> keys;
    for (int kind = 0; kind < kListKindCount; ++kind) {
        const TListKindInfo& info = ListKindInfo(kind);
        EXPECT_TRUE(valueNames.insert(info.ValueName).second) << kind;
        EXPECT_TRUE(actionNames.insert(info.NewActionName).second) << kind;
        EXPECT_TRUE(keys.insert(info.NewActionKey).second) << kind; // one submenu: one key each
        EXPECT_FALSE(info.ValueName.empty() || info.Title.empty() || info.NewActionWhat.empty()) << kind;
        EXPECT_FALSE(info.SampleLines.empty() || info.ColorItems.empty()) << kind;
        EXPECT_EQ(info.FilterName.empty(), info.FilterPattern.empty()) << kind;
        if (kind == lkText) continue;
        EXPECT_TRUE(classes.insert(info.ColourerClass).second) << kind;
        EXPECT_TRUE(hintFiles.insert(info.HintFile).second) << kind;
        EXPECT_TRUE(info.CreateColourer && info.NewList && !info.Mask.empty() && !info.HintKeywords.empty()) << kind;
    }
    const TListKindInfo& text = ListKindInfo(lkText);
    EXPECT_TRUE(text.Mask.empty() && text.ColourerClass.empty() && text.HintFile.empty() && !text.CreateColourer);
    EXPECT_TRUE(text.HintKeywords.empty());
}

// A list made from a kind's template and saved under a name of its mask is that kind, and so is
// the name alone.
TEST(ListKindRecords, EachKindIsRecognisedByItsNameAndTemplate) {
    for (int kind = lkText + 1; kind < kListKindCount; ++kind) {
        const TListKindInfo& info = ListKindInfo(kind);
        const std::string name = NameOfMask(info.Mask);
        std::vector<std::string> lines;
        info.NewList(lines);
        EXPECT_EQ(DetectFileKind(lines, name), kind) << name;
        EXPECT_EQ(DetectFileKind({}, name), kind) << name;
    }
}

// The samples show every colour item of the settings window but the error's.
TEST(ListKindRecords, TheColourerIsTheRecordsAndItsSamplesShowItsColours) {
    for (int kind = lkText + 1; kind < kListKindCount; ++kind) {
        const TListKindInfo& info = ListKindInfo(kind);
        const std::unique_ptr<TOrvColourer> colourer = info.CreateColourer();
        EXPECT_EQ(colourer->ClassName(), info.ColourerClass);
        std::set<std::string> shown;
        for (const char* line : info.SampleLines)
            for (const test::TTok& tok : test::ParseRow(*colourer, Utf8ToCp932(line)))
                for (int i = 0; i < colourer->ColorCount(); ++i)
                    if (colourer->ColorInfoAt(i).Kind == tok.Kind) shown.insert(colourer->ColorInfoAt(i).Name);
        for (const TColorItemLabel& item : info.ColorItems)
            EXPECT_TRUE(shown.contains(item.Prop) || std::string(item.Prop) == "Error") << kind << ": " << item.Prop;
    }
}

// The settings window offers every colour of the colourer but the one of lines that are no data
// lines, each once.
TEST(ListKindRecords, TheColourItemsAreTheColourersColours) {
    for (int kind = lkText + 1; kind < kListKindCount; ++kind) {
        const std::unique_ptr<TOrvColourer> colourer = ListKindInfo(kind).CreateColourer();
        std::set<std::string> items;
        for (const TColorItemLabel& item : ListKindInfo(kind).ColorItems)
            EXPECT_TRUE(items.insert(item.Prop).second) << kind << ": " << item.Prop;
        std::set<std::string> colours = ColorNames(*colourer);
        colours.erase("AnyItem");
        EXPECT_EQ(items, colours) << kind;
    }
}

TEST(ListKindRecords, HintKeywordsAreForTokenKindsTheColourerPaints) {
    for (int kind = lkText + 1; kind < kListKindCount; ++kind) {
        const std::unique_ptr<TOrvColourer> colourer = ListKindInfo(kind).CreateColourer();
        std::set<int> tokenKinds;
        for (const THintKeyword& keyword : ListKindInfo(kind).HintKeywords) {
            EXPECT_TRUE(tokenKinds.insert(keyword.TokenKind).second) << kind << ": " << keyword.TokenKind;
            EXPECT_NE(colourer->KindColor(keyword.TokenKind), nullptr) << kind << ": " << keyword.TokenKind;
            EXPECT_FALSE(keyword.Keyword.empty());
        }
    }
}

TEST(ListKindRecords, TheConvertCommandHasItsHintAndOutOfRangeKindsOfferNothing) {
    for (int kind = lkText; kind < kListKindCount; ++kind)
        EXPECT_EQ(KindOffers(kind, kcConvert), !ListKindInfo(kind).ConvertHint.empty()) << kind;
    for (int kind : {-1, kListKindCount}) EXPECT_FALSE(KindOffers(kind, kcFormat)) << kind;
}
