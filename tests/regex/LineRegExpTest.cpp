#include "LineRegExp.h"
#include "RETestUtil.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::Sj;

struct TMatchCase {
    std::string Pattern;
    std::string Text;
    int Pos;
    int Len;
    TMatchCORE_LineSeparator Separator = mcls_CRLF;
};

void ExpectMatches(const std::vector<TMatchCase>& cases) {
    TLineRegExp re;
    for (const TMatchCase& c : cases) {
        re.LineSeparator = c.Separator;
        re.SetRegExp(c.Pattern);
        int pos = -1;
        int len = -1;
        EXPECT_EQ(re.Match(c.Text, pos, len), c.Pos) << c.Pattern << " on " << c.Text;
        EXPECT_EQ(pos, c.Pos) << c.Pattern << " on " << c.Text;
        EXPECT_EQ(len, c.Len) << c.Pattern << " on " << c.Text;
    }
}

TEST(TLineRegExp, FindsTheLeftmostLongestMatch) {
    ExpectMatches({
        {"abc", "xxabcabc", 3, 3},
        {"a*", "bbb", 1, 0},  // leftmost wins over longest
        {"a|ab", "ab", 1, 2},
        {"ab|a", "ab", 1, 2},
        {"(a|b)*c", "xababcab", 2, 5},
        {"a+", "baaab", 2, 3},
        {"ba?", "bab", 1, 2},
        {"[0-9]+,", "x12,34,", 2, 3},
        {"a", "", 0, 0},
        {"a*", "", 1, 0},
        {"", "abc", 1, 0},
        {"x(y|z)*", "axyzzyq", 2, 5},
        {"a{2}", "aa{2}", 2, 4},  // braces are ordinary characters
        {"a^b", "a^b", 1, 3},     // "^" inside the pattern is the character itself
        {"a$b", "xa$b", 2, 3},
        {"(^a)*", "^a^a", 1, 4},
        {Sj("漢字"), Sj("かな漢字"), 5, 4},
        {Sj("[ア-ン]+"), Sj("xアイウx"), 2, 6},
        {"\\x41", "zA", 2, 1},
    });
}

TEST(TLineRegExp, AnchorsUnderBothSeparators) {
    ExpectMatches({
        {"^b", "x\nb", 3, 1},
        {"^b", "x\rb", 0, 0},                 // a line head follows an LF only
        {"^b", "x\nb", 3, 1, mcls_LF},
        {"^a|^b", "x\nb", 3, 1},
        {"^ab|a", "x\nab", 3, 2},
        {"^", "", 1, 0},
        {"^", "abc", 1, 0},
        {"^$", "a\n", 3, 0},
        {"a$", "a\r\n", 1, 1},
        {"a$", "a\r\n", 0, 0, mcls_LF},       // the CR follows the a
        {"a$", "a\nb", 1, 1, mcls_LF},
        {"a$", "ab", 0, 0},
        {"a$", "ba", 2, 1},
        {"$", "xyz", 4, 0},
        {"$", "a\r\nb", 2, 0},
        {"$", "a\r\nb", 3, 0, mcls_LF},
        {"$", "", 1, 0},
        {"^a$", "b\na\r\n", 3, 1},
        {"(a$|a\rb)", "a\rc", 1, 1},          // a line tail on the way, not only where the walk ends
        {"^.*$", "ab\r\ncd", 1, 2},
    });
}

// "." covers every code but 0, LF, CR and the pairs above 0xFCFC; a negated class is the
// complement within the same codes.
TEST(TLineRegExp, DotAndNegatedClassesSkipLineEnds) {
    ExpectMatches({
        {".", "\r\n", 0, 0},
        {".", "\xFC\xFD", 0, 0},
        {".", "\xFC\xFCz", 1, 2},
        {".", "\xFD", 1, 1},  // not a lead byte: a single-byte code
        {"[^a]", "a\r\nb", 4, 1},
        {"[^a]+", Sj("aアb"), 2, 3},
    });
}

// A match never starts on the trail byte of a double-byte character.
TEST(TLineRegExp, NeverStartsOnATrailByte) {
    ExpectMatches({
        {"A", Sj("ア"), 0, 0},            // ア is 0x83 0x41
        {"A", Sj("アA"), 3, 1},
        {"@", Sj("　"), 0, 0},            // the full-width space is 0x81 0x40
        {"@", Sj("　@"), 3, 1},
        {"\\\\", Sj("ソ"), 0, 0},         // ソ is 0x83 0x5C
        {"A|B", Sj("アB"), 3, 1},
        {"[@-Z]+", Sj("ア　AB"), 5, 2},
        {"\x81\x81", "\x81\x81\x81\x81", 1, 2},  // a trail byte in the lead range
    });
}

// Code 0 ends the text: no transition is taken there, and a lead byte that ends the text is
// not taken with the NUL as its trail byte.
TEST(TLineRegExp, StopsAtTheEndOfTheText) {
    ExpectMatches({
        {"\\0*", "abc", 1, 0},
        {"\\0", "abc", 0, 0},
        {"a\\0", std::string("a\0b", 3), 0, 0},
        {"b", std::string("a\0b", 3), 0, 0},  // the text ends at its first NUL
        {"a", "xa\x83", 2, 1},
        {".*", "ab\x83", 1, 2},
        {"\\x83", "a\x83", 0, 0},
        {"$", "ab\x83", 3, 0},
        {"\\x83A", "\x83" "A", 0, 0},  // 0x83 0x41 is one character, code 0x8341
        {"\\x8341", "\x83" "A", 1, 2},
    });
}

// The codes 0xFFFD-0xFFFF are ordinary characters of a pattern: they never read as anchors.
TEST(TLineRegExp, HighEscapesAreOrdinaryCharacters) {
    TLineRegExp re;
    for (const char* pattern : {"\\xFFFD", "\\xFFFE", "\\xFFFF", "[\\xFFFD-\\xFFFF]", "a\\xFFFF*"}) {
        re.SetRegExp(pattern);
        EXPECT_FALSE(re.HasLineHead()) << pattern;
        EXPECT_FALSE(re.HasLineTail()) << pattern;
    }
    ExpectMatches({{"\\xFFFF", "abc", 0, 0}, {"\\xFFFE|b", "abc", 2, 1}, {"a\\xFFFF*", "ba", 2, 1}});
}

// A "^" or "$" that reads itself, beside a range that holds the same character.
TEST(TLineRegExp, LiteralAnchorsInsideRanges) {
    ExpectMatches({
        {"x(^c|[!-~]d)", "x^c", 1, 3},
        {"x(^c|[!-~]d)", "x^d", 1, 3},
        {"x($c|[!-~]d)", "x$c", 1, 3},
    });
}

TEST(TLineRegExp, FuzzyCharactersMatchTheirVariants) {
    TLineRegExp re;
    re.SetRegExp("A");
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match(Sj("xｘａ"), pos, len), 0);
    re.SetUseFuzzyCharDic(true);
    EXPECT_EQ(re.Match(Sj("xｘａ"), pos, len), 4);
    EXPECT_EQ(len, 2);
    re.SetUseFuzzyCharDic(false);
    EXPECT_EQ(re.Match(Sj("xｘａ"), pos, len), 0);

    re.SetUseFuzzyCharDic(true);
    re.SetRegExp(Sj("ガ"));
    EXPECT_EQ(re.Match(Sj("あかﾞｶﾞ"), pos, len), 6);
    EXPECT_EQ(len, 2);
    EXPECT_EQ(re.Match(Sj("がか゛"), pos, len), 1);
    EXPECT_EQ(len, 2);
    re.SetRegExp(Sj("か゛*"));  // the star applies to the mark only
    EXPECT_EQ(re.Match(Sj("カ゛゛"), pos, len), 1);
    EXPECT_EQ(len, 6);
    re.SetRegExp(Sj("ー"));  // its set ends with an empty item
    EXPECT_EQ(re.Match("abc", pos, len), 1);
    EXPECT_EQ(len, 0);
}

TEST(TMatchCORE, StepsTheAutomatonByCharacter) {
    TLineRegExp re;
    re.SetRegExp(Sj("^aア$"));
    const int init = re.DFA().InitialState();
    EXPECT_EQ(re.NextState(init, 'a'), -1);
    const int head = re.NextState(init, RE_LineHeadChar);
    ASSERT_GE(head, 0);
    const int a = re.NextState(head, 'a');
    ASSERT_GE(a, 0);
    EXPECT_EQ(re.NextState(a, 0x8342), -1);
    const int kana = re.NextState(a, 0x8341);
    ASSERT_GE(kana, 0);
    EXPECT_FALSE(re.DFA().Accepting(kana));
    EXPECT_TRUE(re.DFA().Accepting(re.NextState(kana, RE_LineTailChar)));
    EXPECT_TRUE(re.IsLineSeparatorChar('\r'));
    re.LineSeparator = mcls_LF;
    EXPECT_TRUE(re.IsLineSeparatorChar('\n'));
    EXPECT_FALSE(re.IsLineSeparatorChar('\r'));
}

// Counts the compilations that reach the automata.
class TCountingRegExp : public TLineRegExp {
public:
    int Compiles = 0;

protected:
    void Compile(const std::string& Pattern) override {
        ++Compiles;
        TLineRegExp::Compile(Pattern);
    }
};

TEST(TRegularExpression, CachesThirtyCompiledPatterns) {
    TCountingRegExp re;
    EXPECT_EQ(re.CacheCount(), 1);
    EXPECT_EQ(re.CacheString(0), "");
    re.SetRegExp("first");
    re.SetRegExp("first");
    EXPECT_EQ(re.Compiles, 1);
    re.SetRegExp("");
    EXPECT_EQ(re.Compiles, 1);  // entry 0
    EXPECT_EQ(re.CacheIndex(), 0);
    for (int i = 0; i < 28; ++i) re.SetRegExp("p" + std::to_string(i));
    EXPECT_EQ(re.CacheCount(), 30);
    re.SetRegExp("first");  // the oldest entry, still there
    EXPECT_EQ(re.Compiles, 29);
    EXPECT_EQ(re.CacheIndex(), 29);
    re.SetRegExp("p28");  // pushes "first" out, although it was found a moment ago
    re.SetRegExp("first");
    EXPECT_EQ(re.Compiles, 31);
    EXPECT_EQ(re.CacheCount(), 30);
    EXPECT_EQ(re.CacheString(0), "");
    EXPECT_EQ(re.CacheString(1), "first");
    EXPECT_EQ(re.CacheString(2), "p28");
}

TEST(TRegularExpression, CacheKeyIsTheExpandedPattern) {
    TCountingRegExp re;
    re.SetRegExp("A");
    re.SetUseFuzzyCharDic(true);
    EXPECT_EQ(re.CacheString(re.CacheIndex()), Sj("(Ａ|ａ|A|a)"));
    re.SetUseFuzzyCharDic(false);
    EXPECT_EQ(re.CacheString(re.CacheIndex()), "A");
    re.SetUseFuzzyCharDic(true);
    EXPECT_EQ(re.Compiles, 2);
    EXPECT_EQ(re.CacheCount(), 3);
}

TEST(TRegularExpression, FallsBackToTheEmptyPatternAfterAnError) {
    TCountingRegExp re;
    re.SetRegExp("abc");
    try {
        re.SetRegExp("(");
        FAIL();
    } catch (const ERegExpParser& e) {
        EXPECT_EQ(e.Message(), "右(閉じ)括弧が必要です");
        EXPECT_EQ(e.ErrorPos, 2);
    }
    EXPECT_EQ(re.RegExp(), "");
    EXPECT_EQ(re.CacheIndex(), 0);
    EXPECT_EQ(re.CacheCount(), 2);  // the failed entry is gone
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match("abc", pos, len), 1);
    EXPECT_EQ(len, 0);
    EXPECT_THROW(re.SetRegExp("("), ERegExpParser);  // compiled again, failing again
    EXPECT_EQ(re.Compiles, 3);
}

TEST(TRegularExpression, KeepsItsStateAfterAPreprocessingError) {
    TLineRegExp re;
    re.SetUseFuzzyCharDic(true);
    re.SetRegExp("a$");
    EXPECT_THROW(re.SetRegExp("[x"), ERegExpParser);  // raised while expanding
    EXPECT_EQ(re.RegExp(), "a$");
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match("ba\r\n", pos, len), 2);
}

// An exponential pattern stops at the bound on automaton states instead of running away.
TEST(TRegularExpression, BoundsTheAutomaton) {
    std::string pattern = "(a|b)*a";
    for (int i = 0; i < 16; ++i) pattern += "(a|b)";
    TLineRegExp re;
    try {
        re.SetRegExp(pattern);
        FAIL();
    } catch (const ERegExpParser& e) {
        EXPECT_EQ(e.Message(), "正規表現が複雑すぎます。");
        EXPECT_EQ(e.ErrorPos, static_cast<int>(pattern.size()) + 1);
    }
    EXPECT_EQ(re.RegExp(), "");
    // Nested "+" doubles the nondeterministic automaton at every level.
    std::string nested = "a";
    for (int i = 0; i < 20; ++i) nested = "(" + nested + ")+";
    EXPECT_THROW(re.SetRegExp(nested), ERegExpParser);
    std::string closures = "a";
    for (int i = 0; i < TREParser::MaxDepth; ++i) closures = "(" + closures + ")*";
    re.SetRegExp(closures);  // deep, but small
    re.SetRegExp("(a|b)*a(a|b)(a|b)(a|b)");  // 16 states are fine
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match("bbabbb", pos, len), 1);
    EXPECT_EQ(len, 6);
}

} // namespace
} // namespace quillon
