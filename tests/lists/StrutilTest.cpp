#include "Strutil.h"

#include "Cp932.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillon;

namespace {

// Test texts are written in UTF-8 and turned into the CP932 bytes that the routines see.
std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }

} // namespace

TEST(Strutil, TrimZenkakuRemovesBlanksAndFullWidthSpaces) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {Sj("　 abc 　"), "abc"},
        {Sj("　"), ""},
        {Sj(" 　 "), ""},
        {"", ""},
        {Sj("a　b"), Sj("a　b")},
        {"\t\r\nx\x01", "x"},
        {Sj("　漢字　"), Sj("漢字")},
        // 0x81 0x40 is a blank only as a whole character: "ソ" (83 5C) then "@" is text.
        {"\x83\x40 ", "\x83\x40"},
        {"ab\x81", "ab\x81"}, // a lone lead byte at the end is a character of its own, not a blank
    };
    for (const Case& c : cases) EXPECT_EQ(TrimZenkaku(c.in), c.out) << c.in;
}

TEST(Strutil, ToZenkakuWidensEverySingleByteCharacterThatHasAWideForm) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {Sj("Ab1-ｶﾞ"), Sj("Ａｂ１－カ゛")},
        {"\t", "\t"},
        {Sj(" "), Sj("　")},
        {"\"'\\~", Sj("”’￥￣")},
        // The CP932 codes themselves, where Shift-JIS converters disagree.
        {"-\\~", "\x81\x7C\x81\x8F\x81\x50"},
        {Sj("｡｢｣､･ｰﾞﾟ"), Sj("。「」、・ー゛゜")},
        {Sj("ｦﾝ"), Sj("ヲン")},
        // Trail bytes 0x5C and 0x41 belong to their characters and are not widened.
        {"\x83\x5C", "\x83\x5C"}, // ソ
        {"\x95\x5C", "\x95\x5C"}, // 表
        {"\x82\x41", "\x82\x41"},
        {"a\x83", Sj("ａ") + "\x83"}, // a lone lead byte at the end is copied
    };
    for (const Case& c : cases) EXPECT_EQ(ToZenkaku(c.in), c.out) << c.in;
}

TEST(Strutil, ToHankakuNarrowsKanaLettersDigitsAndSymbols) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {Sj("がくせい"), Sj("ｶﾞｸｾｲ")},
        {Sj("ガッツ"), Sj("ｶﾞｯﾂ")},
        {Sj("漢字"), Sj("漢字")},
        {Sj("゛"), Sj("ﾞ")},
        {Sj("ヴ"), Sj("ｳﾞ")},
        {Sj("ぱピ"), Sj("ﾊﾟﾋﾟ")},
        {Sj("ヵゐ"), Sj("ヵゐ")},
        {Sj("ー"), Sj("ｰ")},
        {Sj("ＡＢｃ　１２！”’￥￣"), "ABc 12!\"'\\~"},
        {"\x83\x5C", Sj("ｿ")},    // ソ is narrowed as a whole character
        {"\x95\x5C", "\x95\x5C"}, // 表 stays
        {"x\x82", "x\x82"},       // a lone lead byte at the end is copied, not read past
    };
    for (const Case& c : cases) EXPECT_EQ(ToHankaku(c.in), c.out) << c.in;
}

TEST(Strutil, WideningAndNarrowingGiveTheTextBack) {
    std::string alphabet;
    for (int b = 0x20; b <= 0x7E; ++b) alphabet += static_cast<char>(b);
    for (int b = 0xA1; b <= 0xDF; ++b) alphabet += static_cast<char>(b);
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = 0; i < 40; ++i) text += alphabet[pick(rng)];
        std::string wide = ToZenkaku(text);
        EXPECT_EQ(wide.size(), text.size() * 2) << "every character has a wide form";
        EXPECT_EQ(ToHankaku(wide), text);
    }
}
