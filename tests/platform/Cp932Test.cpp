#include "Cp932.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Cp932, LeadBytesAreTheTwoShiftJisRanges) {
    for (int b = 0; b < 256; ++b) {
        bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), expected) << b;
    }
}

TEST(Cp932, ConvertsBothWaysIncludingVendorExtensions) {
    struct Case {
        const char* cp932;
        const char* utf8;
    } cases[] = {
        {"abc", "abc"},
        {"\x83\x4B", "ガ"},           // katakana
        {"\x95\x5C", "表"},           // trail byte 0x5C, the backslash byte
        {"\x81\x60", "\xEF\xBD\x9E"}, // ～ is U+FF5E in code page 932, not the wave dash
        {"\x81\x7C", "\xEF\xBC\x8D"}, // － U+FF0D
        {"\x87\x40", "①"},            // NEC special characters
        {"\xFA\x40", "ⅰ"},            // IBM extension
        {"\xB1\xB2", "ｱｲ"},           // half-width katakana
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
        bool lossy = true;
        EXPECT_EQ(Utf8ToCp932(c.utf8, &lossy), c.cp932) << c.utf8;
        EXPECT_FALSE(lossy);
    }
}

TEST(Cp932, BadBytesBecomeReplacementCharacters) {
    // A lone lead byte at the end must not be read past.
    EXPECT_EQ(Cp932ToUtf8("a\x83"), "a\xEF\xBF\xBD");
    EXPECT_EQ(Cp932ToUtf8("\x85\x40z"), "\xEF\xBF\xBDz"); // an unassigned pair is one character
}

TEST(Cp932, CharactersOutsideTheCodePageAreMarkedLossy) {
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp932("a😀b", &lossy), "a?b");
    EXPECT_TRUE(lossy);
}

TEST(Cp932, WellFormedUtf8) {
    struct {
        std::string Bytes;
        bool Utf8;
    } cases[] = {
        {"", true},
        {"/tmp/日.lst", true},
        {"\xF0\x9F\x98\x80", true},
        {"/tmp/\x93\xFA.lst", false}, // 日 in CP932
        {"\xC0\xAF", false},          // an overlong "/"
        {"\xE0\x80\xAF", false},      // another
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xE6\x97", false},          // cut short
    };
    for (const auto& c : cases) EXPECT_EQ(IsUtf8(c.Bytes), c.Utf8) << c.Bytes;
    EXPECT_EQ(Utf8PrefixLength("/日\x83\x7C"), 4u);
}

TEST(Cp932, FileNamesShowAsUtf8OrElseAsCp932) {
    EXPECT_EQ(FileNameToUtf8("/tmp/日.lst"), "/tmp/日.lst");
    EXPECT_EQ(FileNameToUtf8("/tmp/\x93\xFA.lst"), "/tmp/日.lst");
    EXPECT_EQ(FileNameToUtf8("/tmp/\x83\x7C\x83\x5C"), "/tmp/ポソ"); // trail bytes "|" and "\\"
}
