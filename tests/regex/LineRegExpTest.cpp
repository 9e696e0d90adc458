#include "LineRegExp.h"
#include "Cp932.h"
#include "RENFA.h"
#include "RETestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>

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
        const std::string text =
            c.Text.size() > 40 ? c.Text.substr(0, 20) + "..." + c.Text.substr(c.Text.size() - 20) : c.Text;
        re.LineSeparator = c.Separator;
        re.SetRegExp(c.Pattern);
        int pos = -1;
        int len = -1;
        EXPECT_EQ(re.Match(c.Text, pos, len), c.Pos) << c.Pattern << " on " << text;
        EXPECT_EQ(pos, c.Pos) << c.Pattern << " on " << text;
        EXPECT_EQ(len, c.Len) << c.Pattern << " on " << text;
    }
}

// Both searches, the restarting one and the linear one alone, must give the match.
void ExpectBothSearches(const std::vector<TMatchCase>& Cases) {
    ExpectMatches(Cases);
    test::TLinearRegExp linear;
    for (const TMatchCase& c : Cases) {
        linear.LineSeparator = c.Separator;
        linear.SetRegExp(c.Pattern);
        int pos = -1;
        int len = -1;
        linear.Match(c.Text, pos, len);
        EXPECT_EQ(pos, c.Pos) << c.Pattern << " linear";
        EXPECT_EQ(len, c.Len) << c.Pattern << " linear";
    }
}

TEST(TLineRegExp, FindsTheLeftmostLongestMatch) {
    ExpectMatches({
        {"abc", "xxabcabc", 3, 3},
        {"a*", "bbb", 1, 0}, // leftmost wins over longest
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
        {"a{2}", "aa{2}", 2, 4}, // braces are ordinary characters
        {"a^b", "a^b", 1, 3},    // "^" inside the pattern is the character itself
        {"a$b", "xa$b", 2, 3},
        {"(^a)*", "^a^a", 1, 4},
        {Sj("漢字"), Sj("かな漢字"), 5, 4},
        {Sj("[ア-ン]+"), Sj("xアイウx"), 2, 6},
        {"\\x41", "zA", 2, 1},
    });
}

// The bound counts two bytes for every character a match reads, and none for anchors.
TEST(TLineRegExp, MaxMatchBytesBoundsFiniteMatches) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"abc", 6}, {"a|bcd", 6}, {"(ab|c)?d", 6}, {"0[0-9]0", 6}, {"x?", 2},       {"^a$", 2},
        {"a+", -1}, {"a*b", -1},  {"(ab)+c", -1},  {".", 2},       {Sj("ア+"), -1}, {Sj("アイ"), 4},
    };
    TLineRegExp re;
    for (const auto& [pattern, bytes] : cases) {
        re.SetRegExp(pattern);
        EXPECT_EQ(re.DFA().MaxMatchBytes(), bytes) << pattern;
    }
}

TEST(TLineRegExp, AnchorsUnderBothSeparators) {
    ExpectMatches({
        {"^b", "x\nb", 3, 1},
        {"^b", "x\rb", 0, 0}, // a line head follows an LF only
        {"^b", "x\nb", 3, 1, mcls_LF},
        {"^a|^b", "x\nb", 3, 1},
        {"^ab|a", "x\nab", 3, 2},
        {"^", "", 1, 0},
        {"^", "abc", 1, 0},
        {"^$", "a\n", 3, 0},
        {"a$", "a\r\n", 1, 1},
        {"a$", "a\r\n", 0, 0, mcls_LF}, // the CR follows the a
        {"a$", "a\nb", 1, 1, mcls_LF},
        {"a$", "ab", 0, 0},
        {"a$", "ba", 2, 1},
        {"$", "xyz", 4, 0},
        {"$", "a\r\nb", 2, 0},
        {"$", "a\r\nb", 3, 0, mcls_LF},
        {"$", "", 1, 0},
        {"^a$", "b\na\r\n", 3, 1},
        {"(a$|a\rb)", "a\rc", 1, 1}, // a line tail on the way, not only where the walk ends
        {"^.*$", "ab\r\ncd", 1, 2},
    });
}

std::string Repeat(const std::string& S, int Count) {
    std::string result;
    for (int i = 0; i < Count; ++i) result += S;
    return result;
}

// Long lines on which restarting the automaton at every start would read the line once per
// start: the search hands over to the reverse automaton and must find the same match, both
// after restarting for a while and with the linear search alone.
TEST(TLineRegExp, FindsTheLeftmostLongestMatchOnLongLines) {
    const std::string as = Repeat("a", 20000);
    const std::string kana = Repeat(Sj("ア"), 10000); // ア is 0x83 0x41
    const std::vector<TMatchCase> cases = {
        {".*Z", as, 0, 0},
        {".*Z", as + "Z", 1, 20001},
        {".*Z", as + "\r" + Repeat("a", 10) + "Z", 20002, 11}, // "." stops at the CR
        {"[a-z ]+Z", Repeat("ab ", 7000), 0, 0},
        {"[a-z ]+Z", Repeat("ab ", 7000) + "0Z", 0, 0},
        {"[a-z ]+Z", Repeat("ab ", 7000) + "Z", 1, 21001},
        {"(a|b)*c.*Z", Repeat("ab", 10000) + "c" + Repeat("x", 100) + "Z", 1, 20102},
        {"(a|b)*c.*Z", Repeat("ab", 10000) + "c" + Repeat("x", 100), 0, 0},
        {"a*c|b", as + "b", 20001, 1},
        {"abcd|c", as + "abcd", 20001, 4}, // the first match to end is not the leftmost
        {Sj("ア*イ"), kana + "x" + Sj("アイ"), 20002, 4},
        {"A+", kana + "A", 20001, 1}, // never from a trail byte
        {"A+", kana + "", 0, 0},    // nor from a lead byte that ends the text
        {"^a*$", as + "b\n" + Repeat("a", 10), 20003, 10},
        {"^a*$", as + "b\nab\r\n", 20007, 0}, // the empty line at the end
        {"^a*$", as + "b\nab\r\naa\r\n", 20007, 2},
        {"b$", as + "b\r" + as, 20001, 1},
        {"ab$|b", as + "c" + as + "b", 40001, 2},
    };
    ExpectBothSearches(cases);
}

// A pattern whose reverse automaton has far more states than are kept (it remembers where the
// last twelve a's stood): read back over a random text, they are dropped and built again while
// the search goes on, and the match is still the leftmost one.
TEST(TLineRegExp, LinearSearchOutgrowsItsKeptStates) {
    std::string pattern;
    for (int i = 0; i < 12; ++i) pattern += "(a|b)";
    pattern += "a";
    std::mt19937 random(17);
    std::string text;
    for (int i = 0; i < 20000; ++i) text += random() % 2 ? 'a' : 'b';
    test::TLinearRegExp re;
    re.SetRegExp(pattern);
    int pos = 0;
    int len = 0;
    re.Match(text, pos, len);
    size_t first = 0;
    while (text[first + 12] != 'a') ++first;
    EXPECT_EQ(pos, static_cast<int>(first) + 1);
    EXPECT_EQ(len, 13);
}

// "." covers every code but 0, LF, CR and the pairs above 0xFCFC; a negated class is the
// complement within the same codes.
TEST(TLineRegExp, DotAndNegatedClassesSkipLineEnds) {
    ExpectMatches({
        {".", "\r\n", 0, 0},
        {".", "\xFC\xFD", 0, 0},
        {".", "\xFC\xFCz", 1, 2},
        {".", "\xFD", 1, 1}, // not a lead byte: a single-byte code
        {"[^a]", "a\r\nb", 4, 1},
        {"[^a]+", Sj("aアb"), 2, 3},
    });
}

// A match never starts on the trail byte of a double-byte character.
TEST(TLineRegExp, NeverStartsOnATrailByte) {
    ExpectMatches({
        {"A", Sj("ア"), 0, 0}, // ア is 0x83 0x41
        {"A", Sj("アA"), 3, 1},
        {"@", Sj("　"), 0, 0}, // the full-width space is 0x81 0x40
        {"@", Sj("　@"), 3, 1},
        {"\\\\", Sj("ソ"), 0, 0}, // ソ is 0x83 0x5C
        {"A|B", Sj("アB"), 3, 1},
        {"[@-Z]+", Sj("ア　AB"), 5, 2},
        {"\x81\x81", "\x81\x81\x81\x81", 1, 2}, // a trail byte in the lead range
    });
}

// Literals are skipped to with memmem; a hit that starts on a trail byte is no hit. The
// pair 0x81 0x83 is one character, so the ア (0x83 0x41) that memmem finds after it is not.
TEST(TLineRegExp, LiteralHitsCountAtCharacterStartsOnly) {
    ExpectMatches({
        {Sj("ア"), "\x81\x83\x41", 0, 0},
        {Sj("ア"), "\x81\x83\x41\x83\x41", 4, 2},
        {Sj("[a-z]ア"), "x\x81\x83\x41", 0, 0}, // the literal that every match holds
        {Sj("[a-z]ア"), "x\x81\x83\x41x\x83\x41", 5, 3},
        {Sj(".*ア"), "\x81\x83\x41", 0, 0},
        {"ab$", "xab\r\n", 2, 2},
        {"ab",
         "\x81"
         "ab",
         0, 0}, // 0x81 0x61 is one character
        {"ab",
         "\x81\x81"
         "ab",
         3, 2},
        {Sj("ファイル"), Repeat(Sj("ファイ"), 5000) + Sj("ファイル"), 30001, 8},
    });
}

// The literal search tests 16 places at a time and the rest in a last overlapping block or one
// by one: every text length and every place of the literal must give the plain scan's answer.
TEST(TLineRegExp, LiteralSearchAgreesWithAPlainScanAtEveryLength) {
    const std::string chars[] = {"a", "b", Sj("ア"), "A"}; // ア is 0x83 0x41
    std::mt19937 random(16);
    TLineRegExp re;
    for (int round = 0; round < 400; ++round) {
        std::string literal;
        for (int i = 0; i < 1 + static_cast<int>(random() % 4); ++i) literal += chars[random() % 4];
        std::string text;
        for (int i = 0; i < static_cast<int>(random() % 60); ++i) text += chars[random() % 4];
        re.SetRegExp(literal);
        int want = 0;
        for (size_t p = 0; p < text.size() && !want; p += IsLeadByte(text[p]) ? 2 : 1)
            if (text.compare(p, literal.size(), literal) == 0) want = static_cast<int>(p) + 1;
        int pos = 0;
        int len = 0;
        EXPECT_EQ(re.Match(text, pos, len), want) << literal << " in " << text;
    }
}

// Code 0 ends the text: no transition is taken there, and a lead byte that ends the text is
// not taken with the NUL as its trail byte.
TEST(TLineRegExp, StopsAtTheEndOfTheText) {
    ExpectMatches({
        {"\\0*", "abc", 1, 0},
        {"\\0", "abc", 0, 0},
        {"a\\0", std::string("a\0b", 3), 0, 0},
        {"b", std::string("a\0b", 3), 0, 0}, // the text ends at its first NUL
        {"a", "xa\x83", 2, 1},
        {".*", "ab\x83", 1, 2},
        {"\\x83", "a\x83", 0, 0},
        {"$", "ab\x83", 3, 0},
        {"\\x83A",
         "\x83"
         "A",
         0, 0}, // 0x83 0x41 is one character, code 0x8341
        {"\\x8341",
         "\x83"
         "A",
         1, 2},
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
    re.SetRegExp(Sj("か゛*")); // the star applies to the mark only
    EXPECT_EQ(re.Match(Sj("カ゛゛"), pos, len), 1);
    EXPECT_EQ(len, 6);
    re.SetRegExp(Sj("ー")); // its set ends with an empty item
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
    EXPECT_EQ(re.Compiles, 1); // entry 0
    EXPECT_EQ(re.CacheIndex(), 0);
    for (int i = 0; i < 28; ++i) re.SetRegExp("p" + std::to_string(i));
    EXPECT_EQ(re.CacheCount(), 30);
    re.SetRegExp("first"); // the oldest entry, still there
    EXPECT_EQ(re.Compiles, 29);
    EXPECT_EQ(re.CacheIndex(), 29);
    re.SetRegExp("p28"); // pushes "first" out, although it was found a moment ago
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
    EXPECT_EQ(re.CacheCount(), 2); // the failed entry is gone
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match("abc", pos, len), 1);
    EXPECT_EQ(len, 0);
    EXPECT_THROW(re.SetRegExp("("), ERegExpParser); // compiled again, failing again
    EXPECT_EQ(re.Compiles, 3);
}

// An error reports its position in the pattern as the user wrote it, also when fuzzy characters
// have turned each letter into an alternation before the pattern was parsed.
TEST(TRegularExpression, ReportsErrorsInTheUsersPattern) {
    const std::string extra = "正規表現に余分な文字があります";
    const std::string needRPar = "右(閉じ)括弧が必要です";
    const std::string needPrimary = "普通の文字、または左括弧\"(\"が必要です";
    struct TCase {
        std::string Pattern;
        bool Fuzzy;
        std::string Message;
        int ErrorPos;
    } cases[] = {
        {"a)", false, extra, 3},
        {"a)", true, extra, 3},
        {"(a", false, needRPar, 3},
        {"(a", true, needRPar, 3},
        {"a(", true, needRPar, 3},
        {Sj("ガ)"), false, extra, 4},
        {Sj("ガ)"), true, extra, 4},
        {Sj("か゛)b"), true, extra, 6}, // two characters, one alternation
        {"ab*?", false, needPrimary, 5},
        {"ab*?", true, needPrimary, 5},
        {"*a", true, needPrimary, 2},
        {"abc[z-a]", true, "不正なキャラクタ範囲です", 8}, // found while expanding
        {"ab\\", true, "\"\\\"の次には文字が必要です。", 4},
    };
    for (const TCase& c : cases) {
        TLineRegExp re;
        re.SetUseFuzzyCharDic(c.Fuzzy);
        try {
            re.SetRegExp(c.Pattern);
            ADD_FAILURE() << c.Pattern;
        } catch (const ERegExpParser& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.Pattern << " fuzzy " << c.Fuzzy;
            EXPECT_EQ(e.ErrorPos, c.ErrorPos) << c.Pattern << " fuzzy " << c.Fuzzy;
        }
    }
}

TEST(TRegularExpression, KeepsItsStateAfterAPreprocessingError) {
    TLineRegExp re;
    re.SetUseFuzzyCharDic(true);
    re.SetRegExp("a$");
    EXPECT_THROW(re.SetRegExp("[x"), ERegExpParser); // raised while expanding
    EXPECT_EQ(re.RegExp(), "a$");
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match("ba\r\n", pos, len), 2);
}

// Patterns whose complete automaton is exponential or very large are searched, with their
// states built as the text needs them.
TEST(TRegularExpression, SearchesPatternsWithHugeAutomata) {
    std::mt19937 random(10000);
    std::string literal;
    for (int i = 0; i < 10000; ++i) literal += random() % 2 ? 'a' : 'b';
    std::string noise;
    for (int i = 0; i < 20000; ++i) noise += random() % 2 ? 'a' : 'b';
    const std::string text = noise + literal + noise;
    const size_t at = text.find(literal);
    std::string nested = "a";
    for (int i = 0; i < 20; ++i) nested = "(" + nested + ")+";
    std::string closures = "a";
    for (int i = 0; i < TREParser::MaxDepth; ++i) closures = "(" + closures + ")*";
    ExpectBothSearches({
        {literal, text, static_cast<int>(at) + 1, 10000},
        {nested, "bbaaab", 3, 3},
        {"^" + nested, "b\naaab", 3, 3}, // the "^" reads as an anchor in the first copy only
        {"(^a)+", "^a^a", 0, 0},
        {"(^a)+", "a^a^ab", 1, 5},
        {closures, "bbaaab", 1, 0},
    });
}

// A pattern whose forward automaton has more states than are kept (it remembers where the last
// eighteen a's stood): walked over a long random text, its states are dropped and built again,
// and the match is still the longest.
TEST(TRegularExpression, OutgrowsItsKeptForwardStates) {
    std::string pattern = "(a|b)*a";
    for (int i = 0; i < 17; ++i) pattern += "(a|b)";
    std::mt19937 random(17);
    std::string text;
    for (int i = 0; i < 200000; ++i) text += random() % 2 ? 'a' : 'b';
    const size_t lastA = text.rfind('a', text.size() - 18);
    TLineRegExp re;
    re.SetRegExp(pattern);
    const int flushes = re.DFA().Forward().Flushes();
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match(text, pos, len), 1);
    EXPECT_EQ(len, static_cast<int>(lastA) + 18);
    EXPECT_GT(re.DFA().Forward().Flushes(), flushes);
    EXPECT_LE(re.DFA().Forward().StateCount(), TRE_LazyDFA::MaxStates);
    EXPECT_LE(re.DFA().Forward().Bytes(), TRE_LazyDFA::MaxBytes);
    test::TLinearRegExp linear;
    linear.SetRegExp(pattern);
    EXPECT_EQ(linear.Match(text, pos, len), 1);
    EXPECT_EQ(len, static_cast<int>(lastA) + 18);
}

// The Shift-JIS bytes of the double-byte character code C.
std::string DoubleByte(int C) { return {static_cast<char>(C >> 8), static_cast<char>(C & 0xFF)}; }

// One finder, many patterns over a class of 1,500 double-byte codes: every state of their
// automata holds a row of 1,500 targets, and each pattern reaches hundreds of states (it
// remembers where the marker stood among the last characters). The finder used to keep every
// cached pattern's states, hundreds of MB for 30 such patterns; their automata now share one
// bound, those of the patterns used longest ago give their memory back to make room, and the
// matches stay those of the pattern.
TEST(TRegularExpression, CachedPatternsShareOneStateMemory) {
    std::string someClass = "[";
    char buffer[16];
    for (int i = 0; i < 1500; ++i) {
        std::snprintf(buffer, sizeof buffer, "\\x%04X", 0x8840 + 2 * i);
        someClass += buffer;
    }
    someClass += "]";
    std::mt19937 random(1500);
    std::vector<std::vector<int>> lines(16); // codes, each one of the class's first four
    for (std::vector<int>& line : lines)
        for (int i = 0; i < 128; ++i) line.push_back(0x8840 + 2 * static_cast<int>(random() % 4));
    auto marker = [](int P) { return 0x8840 + 2 * (P % 4); };
    auto follow = [](int P) { return 6 + P / 4; }; // characters after the marker
    auto pattern = [&](int P) { return someClass + "*" + DoubleByte(marker(P)) + Repeat(someClass, follow(P)); };
    TLineRegExp re;
    const TRE_StateMemory& memory = re.StateMemory();
    size_t taken = 0; // by the patterns' automata, each in its turn
    size_t firstTaken = 0;
    for (int p = 0; p < TRegularExpression::CacheCapacity; ++p) {
        re.SetRegExp(pattern(p));
        for (const std::vector<int>& codes : lines) {
            std::string line;
            for (const int c : codes) line += DoubleByte(c);
            int last = static_cast<int>(codes.size()) - 1 - follow(p); // the last marker that the match can end after
            while (last >= 0 && codes[static_cast<size_t>(last)] != marker(p)) --last;
            int pos = 0;
            int len = 0;
            re.Match(line, pos, len);
            EXPECT_EQ(pos, last >= 0 ? 1 : 0) << "pattern " << p;
            EXPECT_EQ(len, last >= 0 ? 2 * (last + 1 + follow(p)) : 0) << "pattern " << p;
        }
        const size_t bytes = re.DFA().Forward().Bytes() + re.DFA().Reverse().Bytes();
        if (p == 1) firstTaken = bytes;
        taken += bytes;
        EXPECT_LE(memory.Bytes(), TRE_StateMemory::Bound) << "pattern " << p;
    }
    EXPECT_GT(taken, 2 * TRE_StateMemory::Bound);
    // Pattern 0 has left the cache; pattern 1 is the oldest still in it, flushed long ago.
    re.SetRegExp(pattern(1));
    EXPECT_EQ(re.CacheIndex(), TRegularExpression::CacheCapacity - 1);
    EXPECT_EQ(re.DFA().Forward().StateCount(), 1);
    EXPECT_LT(re.DFA().Forward().Bytes(), firstTaken / 20);
    // A flush gives the memory back to the group.
    re.SetRegExp(pattern(TRegularExpression::CacheCapacity - 1));
    const TRE_LazyDFA& forward = re.DFA().Forward();
    const size_t held = forward.Bytes();
    const size_t before = memory.Bytes();
    forward.Flush();
    EXPECT_EQ(forward.StateCount(), 1);
    EXPECT_LT(forward.Bytes(), held / 20);
    EXPECT_EQ(memory.Bytes(), before - held + forward.Bytes());
}

// Counts the nodes of a parse tree that the root reaches (shared ones once).
size_t ReachableNodes(const TRENode* Root) {
    std::vector<const TRENode*> stack{Root};
    std::set<const TRENode*> seen{Root};
    while (!stack.empty()) {
        const TRENode* n = stack.back();
        stack.pop_back();
        for (const TRENode* kid : {n->Left, n->Right})
            if (kid && seen.insert(kid).second) stack.push_back(kid);
    }
    return seen.size();
}

// An alternation of many ranges that overlap their neighbours: each range spans hundreds of
// the pieces that the others cut, yet the tree, the NFA and the automaton grow with the number
// of ranges, not with its square.
TEST(TRegularExpression, CompilesManyOverlappingRangesInLinearSpace) {
    const int ranges = 4000;
    std::string pattern;
    char buffer[32];
    for (int i = 0; i < ranges; ++i) {
        std::snprintf(buffer, sizeof buffer, "%s[\\x%04X-\\x%04X]", i ? "|" : "", 0x8140 + i * 7,
                      0x8140 + i * 7 + 1500);
        pattern += buffer;
    }
    TREParser parser(pattern);
    parser.Run();
    EXPECT_LE(parser.ParseTree().Leaves().size(), 2u * ranges);
    EXPECT_LT(ReachableNodes(parser.ParseTree().Root()), 40u * ranges);
    TRE_NFA nfa(parser, RE_LineHeadChar, RE_LineTailChar);
    nfa.Run();
    size_t transitions = 0;
    for (int s = 0; s < nfa.StateCount(); ++s) transitions += nfa.Transitions(s).size();
    EXPECT_EQ(transitions, static_cast<size_t>(ranges));
    TLineRegExp re;
    re.SetRegExp(pattern);
    EXPECT_LE(re.DFA().ClassCount(), 2 * ranges + 3);
    int pos = 0;
    int len = 0;
    EXPECT_EQ(re.Match("ab\x81\x3F", pos, len), 0);
    EXPECT_EQ(re.Match("ab\x81\x3F\x81\x40", pos, len), 5);
    EXPECT_EQ(len, 2);
    EXPECT_LE(re.DFA().Forward().StateCount(), 2);
}

// An LF ends a line only where a character starts: after a lead byte it is the pair's trail
// byte. Both searches take it so, also when the restarting search hands over to the linear
// one (ten x's make the walks of "x.*Z" overspend).
TEST(TLineRegExp, AnLFEndsALineOnlyAsACharacter) {
    const std::string xs(10, 'x');
    ExpectBothSearches({
        {"^b", "\x82\nb", 0, 0},
        {"^b", "\x82\x82\nb", 4, 1},
        {"^b", "\x82\n\nb", 4, 1},
        {"x.*Z|^b", "\x82\nb", 0, 0},
        {"x.*Z|^b", xs + "\x82\nb", 0, 0},
        {"x.*Z|^b", xs + "\x82\x82\nb", 14, 1},
        {"x.*Z|^b", xs + "\x82\n\nb", 14, 1},
        {"x.*Z|^b$", xs + "\x82\nb", 0, 0, mcls_LF},
        {"x.*Z|^b$", xs + "\x82\n\nb\n", 14, 1, mcls_LF},
    });
}

// Random texts for the searches below: a few letters, line ends, a double-byte character and a NUL;
// patterns with literals, repetitions, anchors and a walk that runs far and fails; the three searches.
std::string SearchedText(std::mt19937& Rng) {
    const std::string atoms[] = {"a", "b", "z", "\r\n", "\n", Sj("ア"), std::string(1, '\0')};
    std::string text;
    for (std::size_t i = Rng() % 30; i > 0; --i) text += atoms[Rng() % std::size(atoms)];
    return text;
}
const char* const kSearchPatterns[] = {"ab", "a+", "x*", "^b", "b$", "$", "a.*z", "(a|b)+z", "z|\\n", "^", "ba+b"};
using TSearchProc = bool (TMatchCORE::*)(std::string_view, size_t&, size_t&, size_t) const;
const TSearchProc kSearchProcs[] = {&TMatchCORE::MatchPlain, &TMatchCORE::MatchAnchored, &TMatchCORE::MatchScan};

// A search answers from the bytes before ReadEnd: the same search of the text cut anywhere after
// them answers alike, also when it seeks only matches that start before a place.
TEST(TMatchCORE, ReadEndBoundsWhatTheAnswerDependsOn) {
    std::mt19937 rng(36);
    TLineRegExp re;
    for (const char* pattern : kSearchPatterns) {
        re.SetRegExp(pattern);
        for (int round = 0; round < 300; ++round) {
            const std::string text = SearchedText(rng);
            std::vector<bool> starts(text.size() + 1, false); // where characters start
            for (std::size_t i = 0; i < text.size(); i += IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1)
                starts[i] = true;
            const size_t before = round % 2 ? std::string_view::npos : rng() % (text.size() + 1);
            for (const TSearchProc proc : kSearchProcs) {
                size_t start = 0, end = 0;
                const bool found = (re.*proc)(text, start, end, before);
                const size_t read = re.ReadEnd();
                ASSERT_LE(read, text.size()) << pattern;
                for (size_t cut = read + 1; cut < text.size(); ++cut) {
                    if (!starts[cut]) continue; // a cut inside a character makes another text
                    size_t s = 0, e = 0;
                    const bool f = (re.*proc)(std::string_view(text).substr(0, cut), s, e, before);
                    ASSERT_EQ(f, found) << pattern << " cut at " << cut;
                    if (found) {
                        ASSERT_EQ(s, start) << pattern << " cut at " << cut;
                        ASSERT_EQ(e, end) << pattern << " cut at " << cut;
                    }
                }
            }
        }
    }
}

// A search for the matches that start before a place answers as the whole search does for those:
// the same match when it starts before the place, else none or one at or after it.
TEST(TMatchCORE, MatchesStartingBeforeAPlace) {
    std::mt19937 rng(37);
    TLineRegExp re;
    for (const char* pattern : kSearchPatterns) {
        re.SetRegExp(pattern);
        for (int round = 0; round < 300; ++round) {
            const std::string text = SearchedText(rng);
            for (const TSearchProc proc : kSearchProcs) {
                size_t start = 0, end = 0;
                const bool found = (re.*proc)(text, start, end, std::string_view::npos);
                for (size_t before = 0; before <= text.size(); ++before) {
                    size_t s = 0, e = 0;
                    const bool f = (re.*proc)(text, s, e, before);
                    if (found && start < before) {
                        ASSERT_TRUE(f) << pattern << " before " << before;
                        ASSERT_EQ(s, start) << pattern << " before " << before;
                        ASSERT_EQ(e, end) << pattern << " before " << before;
                    } else {
                        ASSERT_TRUE(!f || s >= before) << pattern << " before " << before;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace quillon
