#include "BmpColourer.h"
#include "ColourerTestUtils.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

TToks Bmp(const std::string& row) {
    static TBmpColourer colourer(nullptr);
    return ParseRow(colourer, row);
}

constexpr int kNum = btBmpNum, kColon = btBmpOffsetDelimtter, kOffset = btBmpOffset, kName = btBmpFileName;

TEST(BmpColourer, Rows) {
    struct Case {
        const char* row;
        TToks toks;
    } cases[] = {
        {"10 CHARA.BMP", {{kNum, "10"}, {kName, "CHARA.BMP"}}},
        {"10:-8:16 a b.bmp",
         {{kNum, "10"}, {kColon, ":"}, {kOffset, "-8"}, {kColon, ":"}, {kOffset, "16"}, {kName, "a b.bmp"}}},
        {"10::16 x.bmp", {{kNum, "10"}, {kColon, ":"}, {kColon, ":"}, {kOffset, "16"}, {kName, "x.bmp"}}},
        {"10:1:2:3 x.bmp",
         {{kNum, "10"},
          {kColon, ":"},
          {kOffset, "1"},
          {kColon, ":"},
          {kOffset, "2"},
          {kColon, ":"},
          {kOffset, "3"},
          {kName, "x.bmp"}}},
        {"10:1::", {{kNum, "10"}, {kColon, ":"}, {kOffset, "1"}, {ltError, "::"}}},
        {"10:::", {{kNum, "10"}, {kColon, ":"}, {ltError, "::"}}},
        {"10:1:2:3:4 x",
         {{kNum, "10"},
          {kColon, ":"},
          {kOffset, "1"},
          {kColon, ":"},
          {kOffset, "2"},
          {kColon, ":"},
          {ltError, "3:4 x"}}},
        {"10:x a", {{kNum, "10"}, {ltError, ":x a"}}},
        {"10:5x a", {{kNum, "10"}, {kColon, ":"}, {ltError, "5x a"}}},
        {"10x", {{ltError, "10x"}}},
        {"10", {{kNum, "10"}}},
        {"10:", {{kNum, "10"}, {kColon, ":"}}},
        {"10: a", {{kNum, "10"}, {kColon, ":"}, {kName, "a"}}},
        {"10\tname with\tblanks ", {{kNum, "10"}, {9, "\t"}, {kName, "name with\tblanks "}}},
        {"x 10 a", {{ltAnyItem, "x 10 a"}}},
        {"-1 a", {{ltAnyItem, "-1 a"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Bmp(c.row), c.toks) << c.row;
}

} // namespace
