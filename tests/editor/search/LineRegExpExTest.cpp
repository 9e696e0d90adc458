#include "LineRegExpEx.h"
#include "FindMatchText.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

using test::MatchText;
using test::Sj;

TEST(LineRegExpEx, FindAllAppendsAndAlwaysEnds) {
    TLineRegExpEx re;
    TFindMatchList list{{9, 9}};
    re.SetRegExp("b*");
    EXPECT_EQ(re.FindAll("abba\x83\x62"
                         "b",
                         list),
              3); // 0x83 0x62 holds "b" as its trail byte
    EXPECT_EQ(MatchText(list), "9:9 2:2 7:1");
    list.clear();
    re.SetRegExp("^.");
    EXPECT_EQ(re.FindAll("ab\nc", list), 2);
    EXPECT_EQ(MatchText(list), "1:1 4:1");
    list.clear();
    EXPECT_EQ(re.FindAll("", list), 0);
}

// Every match of a long line, each searched in the whole rest of the line as one step of FindAll
// searched it before it read only a part of the line.
std::string MatchesOfTheRest(const TLineRegExp& Re, std::string_view Line) {
    TFindMatchList list;
    for (std::size_t from = 0; from < Line.size();) {
        int pos = 0, len = 0;
        if (Re.Match(Line.substr(from), pos, len) == 0) break;
        const std::size_t start = from + static_cast<std::size_t>(pos) - 1;
        if (len > 0) list.push_back({static_cast<int>(start) + 1, len});
        from = len > 0 ? start + static_cast<std::size_t>(len)
                       : from + (IsLeadByte(Line[from]) && from + 1 < Line.size() ? 2 : 1);
    }
    return MatchText(list);
}

// A step of FindAll with a bounded reach reads a part of the line that doubles until its match lies
// well inside it: the matches are those of the search of the whole rest, with far gaps between them,
// empty matches, double-byte text, a code 0 that ends the line, and a pattern of unbounded reach.
TEST(LineRegExpEx, FindAllInALongLineFindsWhatTheWholeRestHolds) {
    std::string sparse;
    // Gaps of every length around the first part a step reads, so that some match straddles its end,
    // and a few longer ones that make the part double.
    for (int gap : {230, 600, 1300, 2900})
        for (int more = 0; more < (gap == 230 ? 80 : 1); ++more)
            sparse += "a" + std::string(15, 'y') + std::string(static_cast<std::size_t>(gap + more), 'z');
    std::string doubleByte;
    for (int i = 0; i < 300; ++i) doubleByte += Sj(i % 7 == 0 ? "ガッツ攻撃" : "＝ぁ亜字") + "z";
    const struct {
        std::string Pattern, Line;
    } cases[] = {
        {"ay?y?y?y?y?y?y?y?y?y?y?y?y?y?y?y?y?y?y?y?", sparse},
        {"z?a", sparse},
        {"x?", std::string(3000, 'a') + "x" + std::string(700, 'b')},
        {Sj("[ッ攻]."), doubleByte},
        {"ab", std::string(2000, 'b') + "ab" + std::string(1, '\0') + "ab"},
        {"y+", sparse},
    };
    for (const auto& c : cases) {
        TLineRegExpEx re;
        re.SetRegExp(c.Pattern);
        TFindMatchList list;
        re.FindAll(c.Line, list);
        EXPECT_EQ(MatchText(list), MatchesOfTheRest(re, c.Line)) << c.Pattern;
        EXPECT_FALSE(list.empty()) << c.Pattern;
    }
}

// An empty match far from where a step searched from moves the next step on from the match, not from
// where the step began: before, "$" on a long line was found again from every character before it.
TEST(LineRegExpEx, AnEmptyMatchMovesOnFromWhereItStood) {
    const std::string line = std::string(2000, 'a') + Sj("漢字") + "\r\n";
    for (const char* pattern : {"$", "(x|$)", "x*$"}) {
        TLineRegExpEx re;
        re.SetRegExp(pattern);
        std::size_t from = 0, start = 0, end = 0;
        int steps = 0;
        std::vector<std::size_t> starts;
        while (steps < 10 && re.FindFrom(line, from, start, end)) {
            ++steps;
            starts.push_back(start);
        }
        EXPECT_EQ(starts, (std::vector<std::size_t>{2004, 2006})) << pattern; // before the CR, at the end
    }
}

} // namespace
} // namespace quillon
