#include "REParser.h"
#include "LineRegExp.h"
#include "RETestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <utility>

namespace quillon {
namespace {

using TRanges = std::vector<std::pair<TREChar, TREChar>>;

TRanges SortedLeaves(const TREParseTree& tree) {
    TRanges ranges;
    for (const auto& leaf : tree.Leaves()) ranges.emplace_back(leaf->Start, leaf->End);
    std::sort(ranges.begin(), ranges.end());
    return ranges;
}

TRanges ParseLeaves(const std::string& pattern) {
    TREParser parser(pattern);
    parser.Run();
    return SortedLeaves(parser.ParseTree());
}

struct TErrorCase {
    std::string Pattern;
    std::string Message;
    int ErrorPos;
};

TEST(TREParser, ReportsErrorsWithTheirPositions) {
    const std::string needPrimary = "普通の文字、または左括弧\"(\"が必要です";
    const TErrorCase cases[] = {
        {"[z-a]", "不正なキャラクタ範囲です", 5},
        {"[]", "不正なキャラクタクラス指定です。", 3},
        {"[^]", "不正なキャラクタクラス指定です。", 4},
        {")", "正規表現に余分な文字があります", 2},
        {"ab)c", "正規表現に余分な文字があります", 4},
        {"(a", "右(閉じ)括弧が必要です", 3},
        {"((a)", "右(閉じ)括弧が必要です", 5},
        {"*a", needPrimary, 2},
        {"a**", needPrimary, 4}, // a second postfix operator
        {"a*?", needPrimary, 4},
        {"a|+", needPrimary, 4},
        {"]", needPrimary, 2},
        {"[abc", "右ブラケット\"]\"が必要です", 5},
        // A negated class that leaves nothing of "." would match nothing.
        {"[^\\x01-\\x09\\x0B\\x0C\\x0E-\\xFCFC]", "不正なキャラクタクラス指定です。", 32},
    };
    for (const TErrorCase& c : cases) {
        TREParser parser(c.Pattern);
        try {
            parser.Run();
            ADD_FAILURE() << "no error for " << c.Pattern;
        } catch (const ERegExpParser& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.Pattern;
            EXPECT_EQ(e.ErrorPos, c.ErrorPos) << c.Pattern;
        }
    }
}

// Groups nest by recursion: a pattern cannot nest them deep enough to exhaust the stack.
TEST(TREParser, BoundsTheNestingOfGroups) {
    const std::string deep = std::string(TREParser::MaxDepth, '(') + "a" + std::string(TREParser::MaxDepth, ')');
    TREParser fits(deep);
    EXPECT_NO_THROW(fits.Run());
    TREParser tooDeep("(" + deep + ")");
    try {
        tooDeep.Run();
        FAIL();
    } catch (const ERegExpParser& e) {
        EXPECT_EQ(e.Message(), RE_MsgTooComplex);
        EXPECT_EQ(e.ErrorPos, TREParser::MaxDepth + 2);
    }
}

TEST(TREParser, BuildsTheGrammarsNodes) {
    TREParser empty("");
    empty.Run();
    EXPECT_EQ(empty.ParseTree().Root()->Kind, rent_Empty);

    TREParser group("()");
    group.Run();
    EXPECT_EQ(group.ParseTree().Root()->Kind, rent_Empty);

    TREParser alternative("a|");
    alternative.Run();
    const TRENode* root = alternative.ParseTree().Root();
    ASSERT_EQ(root->Kind, rent_Union);
    EXPECT_EQ(root->Left->Kind, rent_Range);
    EXPECT_EQ(root->Right->Kind, rent_Empty);

    // a+ is a followed by the closure of the same subtree.
    TREParser plus("a+");
    plus.Run();
    root = plus.ParseTree().Root();
    ASSERT_EQ(root->Kind, rent_Concat);
    ASSERT_EQ(root->Right->Kind, rent_Closure);
    EXPECT_EQ(root->Right->Left, root->Left);

    TREParser optional("a?");
    optional.Run();
    root = optional.ParseTree().Root();
    ASSERT_EQ(root->Kind, rent_Union);
    EXPECT_EQ(root->Right->Kind, rent_Empty);

    // Anchors keep their own character for use as literals.
    TREParser anchors("a^b$");
    anchors.Run();
    root = anchors.ParseTree().Root();
    EXPECT_EQ(root->Right->Kind, rent_LTail);
    EXPECT_EQ(root->Right->Start, '$');
    EXPECT_EQ(root->Left->Left->Right->Kind, rent_LHead);
    EXPECT_EQ(root->Left->Left->Right->Start, '^');
}

TEST(TREParser, LeavesAreDisjointRanges) {
    EXPECT_EQ(ParseLeaves("[a-z]m"), (TRanges{{'a', 'l'}, {'m', 'm'}, {'n', 'z'}}));
    EXPECT_EQ(ParseLeaves("[a-m][f-z]"), (TRanges{{'a', 'e'}, {'f', 'm'}, {'n', 'z'}}));
    EXPECT_EQ(ParseLeaves("[a-z][a-m]"), (TRanges{{'a', 'm'}, {'n', 'z'}}));
    EXPECT_EQ(ParseLeaves("[a-z][m-z]"), (TRanges{{'a', 'l'}, {'m', 'z'}}));
    EXPECT_EQ(ParseLeaves("aaa[a]"), (TRanges{{'a', 'a'}}));
    EXPECT_EQ(ParseLeaves("."), (TRanges{{1, 9}, {11, 12}, {14, 0xFCFC}}));
    EXPECT_EQ(ParseLeaves("[^a]"), (TRanges{{1, 9}, {11, 12}, {14, 0x60}, {0x62, 0xFCFC}}));
    EXPECT_EQ(ParseLeaves("[^cab]"), (TRanges{{1, 9}, {11, 12}, {14, 0x60}, {0x64, 0xFCFC}}));
    EXPECT_EQ(ParseLeaves("[^\\n\\r]"), (TRanges{{1, 9}, {11, 12}, {14, 0xFCFC}}));
}

// Every leaf pair is disjoint, and every code keeps whether some range of the pattern held it.
TEST(TREParser, SplittingKeepsTheCoveredCodes) {
    const std::string patterns[] = {"[b-f][a-c][e-h]d[c-e]", "[a-z][b-y][c-x]m[a-c]", "[a-c][a-c]x[^b]"};
    for (const std::string& pattern : patterns) {
        const TRanges leaves = ParseLeaves(pattern);
        for (size_t i = 1; i < leaves.size(); ++i) EXPECT_LT(leaves[i - 1].second, leaves[i].first) << pattern;
    }
    EXPECT_EQ(ParseLeaves("[b-f][a-c][e-h]d[c-e]"),
              (TRanges{{'a', 'a'}, {'b', 'b'}, {'c', 'c'}, {'d', 'd'}, {'e', 'e'}, {'f', 'f'}, {'g', 'h'}}));
}

// Random overlapping ranges: the leaves come out pairwise disjoint and cover exactly the codes
// of the ranges, and every class, turned into the union of its pieces, still holds its whole
// range and nothing else.
TEST(TREParseTree, SplitsRandomOverlappingRangesIntoDisjointLeaves) {
    std::mt19937 random(2000);
    for (int round = 0; round < 50; ++round) {
        std::string pattern;
        std::string firsts;
        std::string lasts;
        std::string outside;
        std::vector<bool> covered(128, false);
        for (int i = 0; i < 1 + static_cast<int>(random() % 12); ++i) {
            const int a = 'B' + static_cast<int>(random() % 40);
            const int b = a + static_cast<int>(random() % 20);
            for (int c = a; c <= b; ++c) covered[c] = true;
            char item[32];
            std::snprintf(item, sizeof item, "[\\x%02X-\\x%02X]", a, b);
            pattern += item;
            firsts += static_cast<char>(a);
            lasts += static_cast<char>(b);
            outside += static_cast<char>(i == 0 ? a - 1 : a);
        }
        const TRanges leaves = ParseLeaves(pattern);
        std::vector<bool> inLeaves(128, false);
        for (size_t k = 0; k < leaves.size(); ++k) {
            if (k > 0) {
                EXPECT_GT(leaves[k].first, leaves[k - 1].second) << pattern;
            }
            for (TREChar c = leaves[k].first; c <= leaves[k].second; ++c) inLeaves[c] = true;
        }
        EXPECT_EQ(inLeaves, covered) << pattern;
        TLineRegExp re;
        re.SetRegExp(pattern);
        int pos = 0;
        int len = 0;
        EXPECT_EQ(re.Match(firsts, pos, len), 1) << pattern;
        EXPECT_EQ(re.Match(lasts, pos, len), 1) << pattern;
        EXPECT_EQ(re.Match(outside, pos, len), 0) << pattern;
    }
}

// The literal text that the search skips to (Prefix) and that a line must hold (Required).
TEST(TREParseTree, FindsTheLiteralsEveryMatchHolds) {
    struct TCase {
        std::string Pattern;
        std::string Prefix;
        std::string Required;
    } cases[] = {
        {"abc", "abc", "abc"},
        {"a(b|c)d", "a", "a"}, // an alternation breaks the run; the first of equals wins
        {"x[0-9]+yz", "x", "yz"},
        {"ab+c", "ab", "ab"},       // "+" is the operand then its closure
        {"a(bc)d", "abcd", "abcd"}, // groups are looked into
        {"a()b", "ab", "ab"},
        {".*Z", "", "Z"},
        {"[0-9]+,", "", ","},
        {"^;", "", ";"}, // an anchor tells nothing
        {"a$", "a", "a"},
        {"a*", "", ""},
        {"a|b", "", ""},
        {"", "", ""},
        {test::Sj("ファイル"), test::Sj("ファイル"), test::Sj("ファイル")},
        {test::Sj("[ぁ-ん]+です"), "", test::Sj("です")},
        {"\\x4142", "AB", "AB"}, // a code no text can hold still gives its two bytes
    };
    for (const TCase& c : cases) {
        TREParser parser(c.Pattern);
        parser.Run();
        const TRELiterals literals = parser.ParseTree().Literals();
        EXPECT_EQ(literals.Prefix, c.Prefix) << c.Pattern;
        EXPECT_EQ(literals.Required, c.Required) << c.Pattern;
    }
}

} // namespace
} // namespace quillon
