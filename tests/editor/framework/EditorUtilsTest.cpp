#include "EditorUtils.h"

#include "Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

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

// Reading back from a byte tells what walking the characters from the start tells, for every byte of
// random texts rich in bytes that may lead a character, and from any character start before it.
TEST(EditorUtils, TheCharacterStartReadBackIsTheWalksFromTheStart) {
    std::mt19937 rng(3);
    const char bytes[] = {'a', '\x82', '\xA0', '\x81', '\x40', '\xE0', '\x9F', '\xFC'};
    for (int n = 0; n < 200; ++n) {
        std::string s;
        for (std::size_t size = rng() % 40; s.size() < size;) s += bytes[rng() % std::size(bytes)];
        std::vector<int> starts; // of the characters, walked from the start
        for (std::size_t i = 0; i < s.size(); i += IsLeadByte(s[i]) ? 2 : 1) starts.push_back(static_cast<int>(i));
        for (int index = 0; index < static_cast<int>(s.size()); ++index) {
            const int want = *(std::upper_bound(starts.begin(), starts.end(), index) - 1);
            for (int known : starts) {
                if (known > index) break;
                ASSERT_EQ(CharStartOf(s, index, known), want) << "text " << n << " byte " << index << " from " << known;
            }
        }
    }
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

// The lines of Text as a byte-by-byte reading sees them.
std::vector<std::string> ReferenceLines(const std::string& Text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\r' && Text[i] != '\n') {
            line += Text[i];
            continue;
        }
        lines.push_back(line);
        line.clear();
        if (Text.compare(i, 2, "\r\n") == 0) ++i;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Every text of up to seven bytes of "a", CR and LF: the reader keeps the next CR and LF it found,
// and each mix of line ends must still split as a plain byte-by-byte reading does.
TEST(EditorUtils, LineReaderAgreesWithAByteByByteReading) {
    std::vector<std::string> texts{""};
    for (std::size_t i = 0; i < texts.size() && texts[i].size() < 7; ++i)
        for (char c : {'a', '\r', '\n'}) texts.push_back(texts[i] + c);
    for (const std::string& text : texts) {
        std::vector<std::string> lines;
        TLineReader reader(text);
        for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
        EXPECT_EQ(lines, ReferenceLines(text)) << testing::PrintToString(text);
    }
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
