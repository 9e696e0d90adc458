// Where this engine deliberately departs from the textbook algorithms it follows, each case in
// a table whose test name gives the reason.
#include "LineRegExp.h"
#include "RETestUtil.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::Sj;

struct TCase {
    std::string Pattern;
    std::string Text;
    int Pos;
    int Len;
    bool Fuzzy = false;
};

void ExpectMatches(const std::vector<TCase>& Cases) {
    for (const TCase& c : Cases) {
        TLineRegExp re;
        re.SetUseFuzzyCharDic(c.Fuzzy);
        re.SetRegExp(c.Pattern);
        int pos = -1;
        int len = -1;
        re.Match(c.Text, pos, len);
        EXPECT_EQ(pos, c.Pos) << c.Pattern;
        EXPECT_EQ(len, c.Len) << c.Pattern;
    }
}

// An item of several characters that would take the operand of a postfix operator into its
// group would make the operator repeat more than the user wrote: "か゛*" repeats the mark.
TEST(TLineRegExpDeparture, FuzzyExpansionKeepsAPostfixOperatorOnOneCharacterSoItRepeatsWhatWasWritten) {
    struct TExpansion {
        const char* Pattern;
        const char* Expanded;
    } cases[] = {
        {"か゛*", "(か|カ|ｶ)(ﾞ|゛)*"},
        {"か゛+", "(か|カ|ｶ)(ﾞ|゛)+"},
        {"か゛?", "(か|カ|ｶ)(ﾞ|゛)?"},
        {"か゛", "(が|ガ|ｶﾞ|か゛|カ゛)"}, // without an operator the item is found whole
        {"うぁ*", "(う|ウ|ｳ|ぅ|ゥ|ｩ)(あ|ア|ｱ|ぁ|ァ|ｧ)*"},
    };
    for (const TExpansion& c : cases) {
        TLineRegExp re;
        re.SetUseFuzzyCharDic(true);
        re.SetRegExp(Sj(c.Pattern));
        EXPECT_EQ(re.CacheString(re.CacheIndex()), Sj(c.Expanded)) << c.Pattern;
    }
    ExpectMatches({
        {Sj("か゛*"), Sj("カ゛゛"), 1, 6, true},
        {Sj("か゛*"), Sj("か"), 1, 2, true},
        {Sj("か゛+"), Sj("が"), 0, 0, true}, // the mark must follow
    });
}

// The pseudo characters lie above the 16-bit codes, so that no escape in a pattern can stand
// for an anchor or an empty transition: \xFFFD to \xFFFF are characters like any other.
TEST(TLineRegExpDeparture, PseudoCharactersLieOutsideSixteenBitsSoNoEscapeForgesOne) {
    const char* const patterns[] = {"\\xFFFD", "\\xFFFE", "\\xFFFF", "a\\xFFFF*b", "[\\xFFFD-\\xFFFF]"};
    for (const char* pattern : patterns) {
        TLineRegExp re;
        re.SetRegExp(pattern);
        EXPECT_FALSE(re.HasLineHead()) << pattern;
        EXPECT_FALSE(re.HasLineTail()) << pattern;
    }
    EXPECT_GT(RE_LineHeadChar, RE_MaxChar);
    EXPECT_GT(RE_LineTailChar, RE_MaxChar);
    EXPECT_LT(RE_EmptyChar, 0);
    ExpectMatches({
        {"\\xFFFD", "", 0, 0},      // would be an empty match at the line head
        {"\\xFFFE", "abc", 0, 0},   // would be an empty match at the line tail
        {"a\\xFFFF*b", "ab", 1, 2}, // the closure of a character, not of nothing
        {"a\\xFFFFb", "ab", 0, 0},  // would be an empty transition between a and b
    });
}

// Reading the line head is one way to match at a line head, not the only one: when no match
// reads it, the one that does not still counts, or the empty text could not match at all.
TEST(TLineRegExpDeparture, MatchAtHeadFallsBackToTheUnanchoredResultSoTheEmptyTextStillMatches) {
    ExpectMatches({
        {"^a|b*", "", 1, 0},
        {"^a|x?", "", 1, 0},
        {"^a|b*", "c", 1, 0},
        {"^ab|a", "a", 1, 1},
        {"^ab|a", "ab", 1, 2}, // the longer of the two
    });
}

// A line tail counts wherever the walk stands on a separator, not only where it stops, so
// that a longer branch that fails later cannot hide the shorter match that ends at the tail.
TEST(TLineRegExpDeparture, LineTailCountsWhereverTheWalkPassesSoAFailedLongerBranchHidesNothing) {
    ExpectMatches({
        {"a$|a\\rbc", "a\rbx", 1, 1},
        {"a$|a\\rbc", "a\rbc", 1, 4},
        {"(a$|a\\rb)", "a\rc", 1, 1},
        {"a*$|a*\\rz", "aa\r\r", 1, 2},
    });
}

// A lead byte that ends the text has no trail byte: it is no character, so a match ends
// before it, as at the end of the text.
TEST(TLineRegExpDeparture, ALoneLeadByteAtTheEndIsALineTailSinceItIsNoCharacter) {
    ExpectMatches({
        {"a$", "a\x83", 1, 1},
        {"$", "ab\x83", 3, 0},
        {".*$", "ab\x83", 1, 2},
        {"\\x83$", "a\x83", 0, 0},
        {"a$", Sj("aア"), 0, 0}, // a whole pair is a character, not a tail
    });
}

} // namespace
} // namespace quillon
