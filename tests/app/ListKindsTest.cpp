#include "ListKinds.h"
#include "Cp932.h"

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
