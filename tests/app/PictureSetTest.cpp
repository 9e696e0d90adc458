#include "PictureSet.h"
#include "PreviewFixtures.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

TEST(PictureSet, NamesFollowTheEditionChains) {
    struct Case {
        const char* name;
        std::vector<std::string> files;
        const char* list;
        const char* bitmap;
        const char* pattern;
    } cases[] = {
        {"classic beside a Vantor list takes the suffixed names",
         {"ZMOTION.LST", "CHARA3.BMP", "PATTERN3.PAT", "CHARA.BMP", "PATTERN.PAT", "ZCHARA3.BMP", "ZPATTERN3.ZPT"},
         "motion3.lst",
         "CHARA3.BMP",
         "PATTERN3.PAT"},
        {"classic beside a Vantor list falls back to the plain names",
         {"ZMOTION.LST", "CHARA.BMP", "PATTERN.PAT", "ZCHARA3.BMP"},
         "motion3.lst",
         "CHARA.BMP",
         "PATTERN.PAT"},
        {"a Vantor list of the same suffix counts, in any case",
         {"zmotion3.lst", "CHARA3.BMP", "ZCHARA3.BMP"},
         "MOTION3.LST",
         "CHARA3.BMP",
         "PATTERN.PAT"},
        {"a Vantor list of another suffix does not",
         {"ZMOTION2.LST", "CHARA3.BMP", "ZCHARA3.BMP", "ZPATTERN3.ZPT"},
         "MOTION3.LST",
         "ZCHARA3.BMP",
         "ZPATTERN3.ZPT"},
        {"classic alone uses the Vantor chain",
         {"ZCHARA3.BMP", "ZPATTERN3.ZPT", "CHARA3.BMP", "PATTERN3.PAT"},
         "motion3.lst",
         "ZCHARA3.BMP",
         "ZPATTERN3.ZPT"},
        {"MOTION8 has no edition",
         {"ZMOTION.LST", "CHARA8.BMP", "CHARA.BMP", "ZCHARA.BMP", "PATTERN8.PAT"},
         "MOTION8.LST",
         "CHARA.BMP",
         "PATTERN.PAT"},
        {"any other name has no edition", {"ZCHARA.BMP", "ZPATTERN.ZPT"}, "moves.txt", "CHARA.BMP", "PATTERN.PAT"},
        {"Vantor chain in order",
         {"zchara.bmp", "CHARA2.BMP", "ZPATTERN.PAT", "PATTERN2.PAT"},
         "ZMotion2.Lst",
         "zchara.bmp",
         "ZPATTERN.PAT"},
        {"Vantor chain prefers .ZPT",
         {"ZPATTERN.ZPT", "ZPATTERN2.PAT", "CHARA2.BMP"},
         "ZMOTION2.LST",
         "CHARA2.BMP",
         "ZPATTERN.ZPT"},
        {"Vantor chain ends at the classic names", {"PATTERN2.PAT"}, "ZMOTION2.LST", "CHARA.BMP", "PATTERN2.PAT"},
        {"nothing there", {}, "ZMOTION.LST", "CHARA.BMP", "PATTERN.PAT"},
        {"a folder is not a file", {}, "MOTION1.LST", "CHARA.BMP", "PATTERN.PAT"},
    };
    for (const Case& c : cases) {
        TTempFolder dir;
        for (const std::string& f : c.files) dir.Write(f);
        if (std::string(c.name) == "a folder is not a file")
            std::filesystem::create_directory(dir.Path / "ZCHARA1.BMP");
        TPictureSetNames names = FindPictureSet(dir.Path / c.list);
        EXPECT_EQ(names.Bitmap, dir.Path / c.bitmap) << c.name;
        EXPECT_EQ(names.Pattern, dir.Path / c.pattern) << c.name;
    }
    EXPECT_TRUE(FindPictureSet("").Bitmap.empty()) << "an unnamed list has no folder to look in";
}

TEST(PictureSet, LoadsBothPatternFormats) {
    TTempFolder dir;
    WriteSheet(dir.Path / "ZCHARA.BMP");
    FivePattern().SaveToFile(dir.Path / "ZPATTERN.ZPT");
    auto vantor = LoadPictureSet(dir.Path / "ZMOTION.LST");
    ASSERT_TRUE(vantor);
    EXPECT_TRUE(vantor->Pattern().FindFrame(5));

    dir.Write("ZMOTION.LST");
    WriteSheet(dir.Path / "chara.bmp");
    FivePattern(96, 48).SaveToCharFile(dir.Path / "pattern.pat");
    auto classic = LoadPictureSet(dir.Path / "MOTION.LST");
    ASSERT_TRUE(classic);
    EXPECT_TRUE(classic->Pattern().FindFrame(5));
}

TEST(PictureSet, AMissingOrBrokenSetLoadsNothing) {
    struct Case {
        const char* name;
        bool sheet;
        std::string pattern; // bytes of ZPATTERN.ZPT; "-" for none
    } cases[] = {
        {"no pattern", true, "-"},
        {"a pattern cut short", true, "ZPAT\x00\x00\x01\x01"},
        {"a pattern of garbage", true, std::string(601, '\x07')},
        {"no sheet", false, ""},
    };
    for (const Case& c : cases) {
        TTempFolder dir;
        if (c.sheet)
            WriteSheet(dir.Path / "ZCHARA.BMP");
        else
            dir.Write("ZCHARA.BMP", "BM not a bitmap");
        if (c.pattern == "")
            FivePattern().SaveToFile(dir.Path / "ZPATTERN.ZPT");
        else if (c.pattern != "-")
            dir.Write("ZPATTERN.ZPT", c.pattern);
        std::unique_ptr<TCharSoftRender> picture;
        EXPECT_NO_THROW(picture = LoadPictureSet(dir.Path / "ZMOTION.LST")) << c.name;
        EXPECT_FALSE(picture) << c.name;
    }
    EXPECT_FALSE(LoadPictureSet("")) << "an unnamed list never reads the working folder";
}
