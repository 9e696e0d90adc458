#include "motions.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(CommandLine, SplitsIntoSevenFieldsWhenSomethingFollowsVx) {
    struct Case {
        std::string line;
        std::vector<std::string> fields;
    } cases[] = {
        {"1 2U 0 0 1 3 Punch ", {"1", "2U", "0", "0", "1", "3", "Punch"}},
        {"1 2U 0 0 1 3 ", {"1", "2U", "0", "0", "1", "3", ""}},
        {"1 2U 0 0 1 3", {"1", "2U", "0", "0", "1", "3"}}, // nothing after Vx: no comment field
        {"  12   236P  0\t1  -  4 -2  ;a  b ", {"12", "236P", "0\t1", "-", "4", "-2", ";a  b"}},
        {"x 1 2 3 4 5 6", {}},
        {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment", {}},
        {"", {}},
        {"    ", {}},
        {"1 2", {"1", "2"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> fields;
        SplitCommandLine(c.line, fields);
        EXPECT_EQ(fields, c.fields) << c.line;
        TCommandData rec;
        rec.Fields[0] = "stale";
        EXPECT_EQ(ParseCommandLine(c.line, rec), c.fields.size() == kCommandFieldCount) << c.line;
        EXPECT_EQ(rec.Valid, c.fields.size() == kCommandFieldCount);
        if (rec.Valid) {
            EXPECT_TRUE(std::equal(rec.Fields.begin(), rec.Fields.end(), c.fields.begin()));
        } else {
            EXPECT_EQ(rec.Fields[0], "") << "a failed parse leaves the record cleared";
        }
    }
}

TEST(CommandLine, TheVantorFormHasNineFields) {
    std::vector<std::string> fields;
    SplitZCommandLine("1 236P 0 0 1 0 5 2 Fireball shot", fields);
    EXPECT_EQ(fields, (std::vector<std::string>{"1", "236P", "0", "0", "1", "0", "5", "2", "Fireball shot"}));
    TZCommandData rec;
    EXPECT_TRUE(ParseZCommandLine("1 236P 0 0 1 0 5 2 ", rec));
    EXPECT_EQ(rec.Fields[zcfDk], "2");
    EXPECT_EQ(rec.Fields[zcfComment], "");
    EXPECT_FALSE(ParseZCommandLine("1 236P 0 0 1 0 5 2", rec));
    // A classic line is no Vantor line, and the other way round its Sh field becomes the comment.
    EXPECT_FALSE(ParseZCommandLine("1 2U 0 0 1 3 Punch ", rec));
    TCommandData classic;
    EXPECT_TRUE(ParseCommandLine("1 236P 0 0 1 0 5 2 ", classic));
    EXPECT_EQ(classic.Fields[cfComment], "5 2");
}

TEST(CommandLine, ParsedListsKeepEveryLine) {
    std::vector<std::string> source = {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment", "1 2U 0 0 1 3 ;a", "note"};
    TCommandLineList list = ParseCommandLines(source);
    ASSERT_EQ(list.size(), 3u);
    for (size_t i = 0; i < source.size(); ++i) EXPECT_EQ(list[i].Line, source[i]);
    EXPECT_FALSE(list[0].Data.Valid);
    EXPECT_TRUE(list[1].Data.Valid);
    EXPECT_EQ(list[1].Data.Fields[cfComment], ";a");
    EXPECT_FALSE(list[2].Data.Valid);
    TZCommandLineList zlist = ParseZCommandLines(source);
    ASSERT_EQ(zlist.size(), 3u);
    EXPECT_FALSE(zlist[1].Data.Valid);
}
