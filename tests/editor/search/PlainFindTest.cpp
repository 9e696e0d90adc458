#include "PlainFind.h"
#include "FindMatchText.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

using test::Sj;

TEST(CharClasses, ByTable) {
    const struct {
        const char* Utf8;
        int Index;
        char Class;
    } cases[] = {
        {"a", 1, '1'},  {"-", 1, '1'},  {"9", 1, '1'},  {" ", 1, '0'},  {"_", 1, '0'},  {"@", 1, '0'},  {"a", 0, '0'},
        {"a", 2, '0'},  {"ｱ", 1, '2'},  {"｡", 1, '0'},  {"Ａ", 1, '3'}, {"Ａ", 2, '3'}, {"１", 1, '3'}, {"ア", 1, '4'},
        {"ア", 2, '4'}, {"あ", 1, '5'}, {"漢", 2, '6'}, {"　", 1, '0'}, {"ー", 1, '0'}, {"々", 1, '0'}, {"\t", 1, '0'},
    };
    for (const auto& c : cases) EXPECT_EQ(CharClassAt(Sj(c.Utf8), c.Index), c.Class) << c.Utf8 << " " << c.Index;
    EXPECT_EQ(CharClassAt(std::string("\0a", 2), 1), '0');
}

TEST(CharClasses, WholeWords) {
    const struct {
        const char* Utf8;
        int Pos, Len;
        bool Whole;
    } cases[] = {
        {"the cat.", 5, 3, true},  {"concat", 4, 3, false}, {"x-ab ab", 3, 2, false}, {"x-ab ab", 6, 2, true},
        {"cat", 1, 3, true},       {"cat", 0, 3, false},    {"cat", 4, 1, false},     {"カタカナ漢字", 9, 4, true},
        {"漢字カナ", 1, 2, false}, {"ab", 1, 1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWholeWord(Sj(c.Utf8), c.Pos, c.Len), c.Whole) << c.Utf8 << " " << c.Pos;
}

} // namespace
} // namespace quillon
