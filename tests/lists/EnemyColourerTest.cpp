#include "ColourerTestUtils.h"
#include "QesEnemyColourer.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

TStdEnemyColourer EnemyColourer(nullptr);
TQesEnemyColourer QesColourer(nullptr);

TToks Enemy(const std::string& row) { return ParseRow(EnemyColourer, row); }
TToks Qes(const std::string& row) { return ParseRow(QesColourer, row); }

// The tokens of an expression within an enemy-list line (without the distance and percentage).
TToks Expression(const std::string& expression) {
    TToks toks = Enemy("10 50 " + expression);
    return TToks(toks.begin() + 2, toks.end());
}

TEST(StdEnemyColourer, HeaderAndFreeTextAreOneItem) {
    for (const char* row : {"Distance--100--Command--COMMENT", "-1 2 3", "x"})
        EXPECT_EQ(Enemy(row), (TToks{{ltAnyItem, row}})) << row;
}

TEST(StdEnemyColourer, DataLine) {
    EXPECT_EQ(Enemy("120 x50% E100#(236P) the rest"), (TToks{{etDistance, "120"},
                                                             {etPercent, "x50%"},
                                                             {etEnemy, "E100#"},
                                                             {etCommandSymbol, "("},
                                                             {etCommand, "236P"},
                                                             {etCommandSymbol, ")"},
                                                             {ltComment, "the rest"}}));
}

TEST(StdEnemyColourer, ExpressionTokens) {
    struct Case {
        const char* expression;
        TToks toks;
    } cases[] = {
        {"E100[C040]", {{etEnemy, "E100"}, {etCommandSymbol, "["}, {etMySelf, "C040"}, {etCommandSymbol, "]"}}},
        {"e100c999#", {{etEnemy, "e100"}, {etMySelf, "c999#"}}},
        {"E10 note", {{ltError, "E10"}, {ltComment, "note"}}},
        {"E1000", {{etEnemy, "E100"}, {etCommand, "0"}}},
        {"E100#", {{etEnemy, "E100#"}}},
        {"C1x", {{ltError, "C1x"}}},
        {"((D))",
         {{etCommandSymbol, "("},
          {etCommandSymbol, "("},
          {etCommand, "D"},
          {etCommandSymbol, ")"},
          {etCommandSymbol, ")"}}},
        {"([)]", {{etCommandSymbol, "("}, {etCommandSymbol, "["}, {etCommandSymbol, ")"}, {etCommandSymbol, "]"}}},
        // An opening bracket without its closing one is a one-byte error; the rest keeps its colours.
        {"(D note", {{ltError, "("}, {etCommand, "D"}, {ltComment, "note"}}},
        {"[(D)", {{ltError, "["}, {etCommandSymbol, "("}, {etCommand, "D"}, {etCommandSymbol, ")"}}},
        // A closing bracket with nothing open turns the rest of the field into an error.
        {"D)P(K) note", {{etCommand, "D"}, {ltError, ")P(K)"}, {ltComment, "note"}}},
        {"]x", {{ltError, "]x"}}},
        {"%0%A%z", {{etCommand, "%0"}, {etCommand, "%A"}, {etCommand, "%z"}}},
        {"%[ a", {{ltError, "%[ a"}}},
        {"#@#D", {{etCommandSymbol, "#@#"}, {etCommand, "D"}}},
        {"!+0123456789DKLNPRU_knp~", {{etCommand, "!+0123456789DKLNPRU_knp~"}}},
        {"Dx a", {{etCommand, "D"}, {ltError, "x a"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Expression(c.expression), c.toks) << c.expression;
}

// Brackets pair within a logical line: never across a line break, but across a wrap as if the line
// were one row.
TEST(StdEnemyColourer, BracketsPairWithinALogicalLine) {
    for (TOrvColourer* colourer :
         {static_cast<TOrvColourer*>(&EnemyColourer), static_cast<TOrvColourer*>(&QesColourer)}) {
        TRowAttributeStringList lines, wrapped;
        FillStore(lines, *colourer, {{"10 50 D(["}, {"10 50 ])"}});
        EXPECT_EQ(RowKinds(*colourer, lines, 0), (std::vector<int>{etDistance, etDistance, -1, etPercent, etPercent, -1,
                                                                   etCommand, ltError, ltError}));
        EXPECT_EQ(RowKinds(*colourer, lines, 1),
                  (std::vector<int>{etDistance, etDistance, -1, etPercent, etPercent, -1, ltError, ltError}));
        FillStore(wrapped, *colourer, {{"10 50 D([", raWrapped}, {"])"}});
        EXPECT_EQ(TextKinds(*colourer, wrapped),
                  (std::vector<int>{etDistance, etDistance, -1, etPercent, etPercent, -1, etCommand, etCommandSymbol,
                                    etCommandSymbol, etCommandSymbol, etCommandSymbol}));
    }
}

TEST(QesEnemyColourer, LineHeads) {
    EXPECT_EQ(Qes("QESVer1.1"), (TToks{{ltAnyItem, "QESVer1.1"}}));
    EXPECT_EQ(Qes("format=#E100[%0@]"), (TToks{{ltAnyItem, "format="},
                                               {etCommandSymbol, "#"},
                                               {etEnemy, "E100"},
                                               {etCommandSymbol, "["},
                                               {etCommand, "%0"},
                                               {etCommandSymbol, "@"},
                                               {etCommandSymbol, "]"}}));
    EXPECT_EQ(Qes("FORMAT= D x"), (TToks{{ltAnyItem, "FORMAT="}, {etCommand, "D"}, {ltComment, "x"}}));
    EXPECT_EQ(Qes("FORMAT"), (TToks{{ltAnyItem, "FORMAT"}}));
    EXPECT_EQ(Qes("FORMAT ="), (TToks{{ltAnyItem, "FORMAT ="}}));
    EXPECT_EQ(Qes("FORMA=D"), (TToks{{ltAnyItem, "FORMA=D"}}));
    EXPECT_EQ(Qes(":0 name of it"), (TToks{{ltAnyItem, ":0"}, {ltComment, "name of it"}}));
    EXPECT_EQ(Qes(":"), (TToks{{ltAnyItem, ":"}}));
    EXPECT_EQ(Qes(":-x"), (TToks{{ltAnyItem, ":"}, {ltComment, "-x"}}));
    EXPECT_EQ(Qes("\\e"), (TToks{{ltAnyItem, "\\e"}}));
    EXPECT_EQ(Qes("\\E end"), (TToks{{ltAnyItem, "\\E end"}}));
    EXPECT_EQ(Qes("\\x"), (TToks{{ltError, "\\x"}}));
    EXPECT_EQ(Qes("\\"), (TToks{{ltError, "\\"}}));
    EXPECT_EQ(Qes("100 50 E100[D] c"), (TToks{{etDistance, "100"},
                                              {etPercent, "50"},
                                              {etEnemy, "E100"},
                                              {etCommandSymbol, "["},
                                              {etCommand, "D"},
                                              {etCommandSymbol, "]"},
                                              {ltComment, "c"}}));
}

} // namespace
