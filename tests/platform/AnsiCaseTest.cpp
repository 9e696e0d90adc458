#include "AnsiCase.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(AnsiCase, LettersOfEveryScriptAndNothingElse) {
    // "aZ" ａ(82 81) Ａ(82 60) α(83 BF) Ω(83 B6) я(84 91) ヂ(83 61: trail byte "a") ｶ(B6) "1"
    const std::string mixed = "aZ\x82\x81\x82\x60\x83\xBF\x83\xB6\x84\x91\x83\x61\xB6"
                              "1";
    EXPECT_EQ(AnsiUpperCase(mixed), "AZ\x82\x60\x82\x60\x83\x9F\x83\xB6\x84\x60\x83\x61\xB6"
                                    "1");
    EXPECT_EQ(AnsiLowerCase(mixed), "az\x82\x81\x82\x81\x83\xBF\x83\xD6\x84\x91\x83\x61\xB6"
                                    "1");
    EXPECT_EQ(UpperCaseFileName(mixed), "AZ\x82\x81\x82\x60\x83\xBF\x83\xB6\x84\x91\x83\x61\xB6"
                                        "1");
    EXPECT_EQ(LowerCaseFileName(mixed), "az\x82\x81\x82\x60\x83\xBF\x83\xB6\x84\x91\x83\x61\xB6"
                                        "1");
}

TEST(AnsiCase, CyrillicAroundTheGapAndALoneLeadByte) {
    EXPECT_EQ(AnsiUpperCase("\x84\x7E\x84\x80"), "\x84\x4E\x84\x4F"); // н о -> Н О
    EXPECT_EQ(AnsiLowerCase("\x84\x4E\x84\x4F\x84\x46"), "\x84\x7E\x84\x80\x84\x76");
    EXPECT_EQ(AnsiUpperCase("a\x82"), "A\x82");             // a lead byte at the end is kept
    EXPECT_EQ(UpperCaseFileName("\x82\x61x"), "\x82\x61X"); // never the trail byte of Ｂ
}

} // namespace
} // namespace quillon
