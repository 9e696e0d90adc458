#include "EditorUtils.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// "a", hiragana a (0x82 0xA0), "b".
const std::string kMixed = "a\x82\xA0"
                           "b";

TEST(EditorUtils, LeadAndTrailAreJudgedFromTheStart) {
    const bool lead[] = {false, true, false, false};
    const bool trail[] = {false, false, true, false};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(IsDBCSLeadAt(kMixed, i), lead[i]) << i;
        EXPECT_EQ(IsDBCSTrailAt(kMixed, i), trail[i]) << i;
    }
    // A byte in the lead range that is a trail byte is not a lead: 0x82 0x82 0x82 is one pair and a lead.
    const std::string pairs = "\x82\x82\x82";
    EXPECT_TRUE(IsDBCSLeadAt(pairs, 0));
    EXPECT_TRUE(IsDBCSTrailAt(pairs, 1));
    EXPECT_TRUE(IsDBCSLeadAt(pairs, 2));
    EXPECT_FALSE(IsDBCSLeadAt(pairs, 3));
    EXPECT_FALSE(IsDBCSTrailAt(pairs, -1));
}

TEST(EditorUtils, CharAtAndCharCount) {
    EXPECT_EQ(CharAt("abc", 0), 'a');
    EXPECT_EQ(CharAt("abc", 3), '\0');
    EXPECT_EQ(CharAt("abc", -1), '\0');
    EXPECT_EQ(CharCount("a\nb\nc\n", '\n', 4), 2);
    EXPECT_EQ(CharCount("a\nb", '\n', 100), 1);
    EXPECT_EQ(CharCount("a\nb", '\n', -3), 0);
}

TEST(EditorUtils, CharInStrMatchesOnlyAtCharacterStarts) {
    const std::string comma = "\x81\x41";              // 、
    EXPECT_TRUE(CharInStr(comma, "\x81\x41\x81\x42")); // 、。
    // 0x8E 0x81 | 0x41 ...: the bytes 0x81 0x41 occur across two characters.
    EXPECT_FALSE(CharInStr(comma, "\x8E\x81\x41"));
    EXPECT_FALSE(CharInStr("", "abc"));
    EXPECT_FALSE(CharInStr("abcd", "abc"));
    EXPECT_TRUE(CharInStr("c", "abc"));
}

TEST(EditorUtils, StrToStrings) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}},       {"a\r\n", {"a"}},       {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\nb\n", {"a", "", "b"}}, {"\r\n\r\n", {"", ""}}, {"", {""}},
    };
    for (const Case& c : cases) EXPECT_EQ(StrToStrings(c.text), c.lines) << c.text;
    EXPECT_TRUE(StrToStrings(nullptr).empty());
}

} // namespace
} // namespace quillon
