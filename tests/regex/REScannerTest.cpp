#include "REScanner.h"
#include "RETestUtil.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::Sj;

const std::string MsgNeedBracket = "右ブラケット\"]\"が必要です";

struct TEscapeCase {
    std::string Pattern; // after the backslash
    TREChar Code;
    int NextIndex; // where reading stands afterwards
};

TEST(ReadEscape, DecodesTheEscapeTable) {
    const TEscapeCase cases[] = {
        {"b", 8, 2}, // backspace, not a word boundary
        {"r", 13, 2},
        {"n", 10, 2},
        {"t", 9, 2},
        {"x41", 'A', 4},
        {"x12345", 0x1234, 6}, // at most four digits: the 5 is read again later
        {"xFFFF", 0xFFFF, 6},
        {"xfz", 0xF, 3},
        {"101", 'A', 4},
        {"177777", 0xFFFF, 7},
        {"1234567", 0123456, 7}, // at most six digits
        {"0", 0, 2},
        {"8", '8', 2},
        {"\\", '\\', 2},
        {".", '.', 2},
        {"]", ']', 2},
        {"-", '-', 2},
        {"q", 'q', 2},
        {Sj("ア"), 0x8341, 3}, // an escaped double-byte character is itself
    };
    for (const TEscapeCase& c : cases) {
        int index = 1;
        EXPECT_EQ(ReadEscape(c.Pattern, index), c.Code) << c.Pattern;
        EXPECT_EQ(index, c.NextIndex) << c.Pattern;
    }
}

struct TErrorCase {
    std::string Pattern;
    std::string Message;
    int ErrorPos;
};

void ExpectScanError(const TErrorCase& c) {
    TREScanner scanner(c.Pattern);
    try {
        while (scanner.NextToken() != retk_End) {
        }
        ADD_FAILURE() << "no error for " << c.Pattern;
    } catch (const ERegExpParser& e) {
        EXPECT_EQ(e.Message(), c.Message) << c.Pattern;
        EXPECT_EQ(e.ErrorPos, c.ErrorPos) << c.Pattern;
    }
}

TEST(TREScanner, ReportsErrorsWithTheirPositions) {
    const TErrorCase cases[] = {
        {"\\", "\"\\\"の次には文字が必要です。", 2},
        {"\\xg", "不正な１６進数コード表記です。", 3},
        {"\\x", "不正な１６進数コード表記です。", 3},
        {"\\200000", "不正な８進数コード表記です。", 8},
        {"\x83", "不正な２バイト文字コードです。", 1}, // a lone lead byte
        {"ab\x83", "不正な２バイト文字コードです。", 3},
        {"[", MsgNeedBracket, 2},
        {"[abc", MsgNeedBracket, 5},
        {"[a-", MsgNeedBracket, 4},
        {"[z-a]", "不正なキャラクタ範囲です", 5},
    };
    for (const TErrorCase& c : cases) ExpectScanError(c);
}

struct TToken {
    TRETokenKind Kind;
    TREChar Char;
    TREChar Last = 0;
    bool operator==(const TToken&) const = default;
};

std::vector<TToken> Tokens(const std::string& pattern) {
    TREScanner scanner(pattern);
    std::vector<TToken> tokens;
    while (scanner.NextToken() != retk_End)
        tokens.push_back(
            {scanner.Token(), scanner.Symbol(), scanner.Token() == retk_CharRange ? scanner.RangeLast() : 0});
    return tokens;
}

TEST(TREScanner, CutsPatternsIntoTokens) {
    using V = std::vector<TToken>;
    EXPECT_EQ(Tokens("a|(b)*+?.^$]{}"), (V{{retk_Char, 'a'},
                                           {retk_Union, '|'},
                                           {retk_LPar, '('},
                                           {retk_Char, 'b'},
                                           {retk_RPar, ')'},
                                           {retk_Star, '*'},
                                           {retk_Plus, '+'},
                                           {retk_QMark, '?'},
                                           {retk_Dot, '.'},
                                           {retk_LHead, '^'},
                                           {retk_LTail, '$'},
                                           {retk_RBra, ']'},
                                           {retk_Char, '{'},
                                           {retk_Char, '}'}}));
    EXPECT_EQ(Tokens(Sj("\\.ア")), (V{{retk_Char, '.'}, {retk_Char, 0x8341}}));
    // "-" at either end of a class is a member; an escaped "-" is a member too.
    EXPECT_EQ(Tokens("[a-]"), (V{{retk_LBra, '['}, {retk_Char, 'a'}, {retk_Char, '-'}, {retk_RBra, ']'}}));
    EXPECT_EQ(Tokens("[-a]"), (V{{retk_LBra, '['}, {retk_Char, '-'}, {retk_Char, 'a'}, {retk_RBra, ']'}}));
    EXPECT_EQ(Tokens("[a\\-z]"),
              (V{{retk_LBra, '['}, {retk_Char, 'a'}, {retk_Char, '-'}, {retk_Char, 'z'}, {retk_RBra, ']'}}));
    EXPECT_EQ(
        Tokens("[^a-c-]x"),
        (V{{retk_LBraNeg, '['}, {retk_CharRange, 'a', 'c'}, {retk_Char, '-'}, {retk_RBra, ']'}, {retk_Char, 'x'}}));
    // Metacharacters are members inside a class; "\]" is the only way to a "]" member.
    EXPECT_EQ(Tokens("[(*\\]]"),
              (V{{retk_LBra, '['}, {retk_Char, '('}, {retk_Char, '*'}, {retk_Char, ']'}, {retk_RBra, ']'}}));
    EXPECT_EQ(Tokens(Sj("[ア-ン\\x41-\\x5A]")),
              (V{{retk_LBra, '['}, {retk_CharRange, 0x8341, 0x8393}, {retk_CharRange, 'A', 'Z'}, {retk_RBra, ']'}}));
}

TEST(TREScanner, StartsCleanAfterAnError) {
    TREScanner scanner("[abc");
    EXPECT_THROW(while (scanner.NextToken() != retk_End){}, ERegExpParser);
    scanner.SetPattern("abc");
    EXPECT_EQ(scanner.NextToken(), retk_Char);
    EXPECT_EQ(scanner.Symbol(), 'a');
}

TEST(UngetChar, StepsBackOverWholeCharacters) {
    // 0x81 0x81 is one character whose trail byte is also a lead-range byte.
    const std::string text = "a\x81\x81\x83\x41";
    int index = 6;
    UngetChar(text, index);
    EXPECT_EQ(index, 4);
    UngetChar(text, index);
    EXPECT_EQ(index, 2);
    UngetChar(text, index);
    EXPECT_EQ(index, 1);
    UngetChar(text, index);
    EXPECT_EQ(index, 1);
}

TEST(QuoteMetaChars, QuotesTheTwelveMetacharactersOnly) {
    EXPECT_EQ(QuoteMetaChars("^(|)+*?.[]$\\{}a"), "\\^\\(\\|\\)\\+\\*\\?\\.\\[\\]\\$\\\\{}a");
    // 0x5C as a trail byte (ソ is 0x83 0x5C) is not a backslash.
    EXPECT_EQ(QuoteMetaChars(Sj("ソ.")), Sj("ソ\\."));
}

} // namespace
} // namespace quillon
