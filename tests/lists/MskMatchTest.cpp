#include "MskMatch.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(MskMatch, NormalizeMask) {
    struct Case {
        const char* mask;
        bool cut;
        const char* normal;
    } cases[] = {
        {"*?*", false, "?*"},
        {"**", false, "*"},
        {"a??b", false, "a??b"},
        {"*.*", true, "*"},
        {"*.*", false, "*.*"},
        {"a*?b", false, "a?*b"},
        {"?*?x*", false, "??*x*"},
        {"", true, ""},
        {"\x95\x5C*", false, "\x95\x5C*"}, // a trail byte 0x5C is no literal of its own
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeMask(c.mask, c.cut), c.normal) << c.mask;
}

TEST(MskMatch, MatchesMask) {
    struct Case {
        const char* name;
        const char* mask;
        bool raw;
        bool match;
    } cases[] = {
        {"ZCOMMAND1.LST", "*ZCOMMAND*.LST", false, true},
        {"command1.lst", "*COMMAND*.LST", false, true},
        {"COMMAND1.TXT", "*COMMAND*.LST", false, false},
        {"a.qes", "*.QES", false, true},
        {"a.qes.bak", "*.QES", false, false},
        {"", "*", false, true},
        {"anything", "*", false, true},
        {"A.LST", "?.LST", false, true},
        {"\x83\x4B.LST", "?.LST", false, true}, // one double-byte character is one "?"
        {"AB.LST", "?.LST", false, false},
        {"MOTION", "*.*", false, true},
        {"MOTION", "*.*", true, false},
        {"AxA", "*A", false, true},
        {"MOTION", "MOTION.LST", false, false},
        {"MOTION.LST", "MOTION", false, false},
        {"zmotion1.lst", "*MOTION*.LST", false, true},
        {"ENEMY.QES", "*ENEMY*.LST", false, false},
        {"\x83\x4B", "\x83\x6B", false, false}, // double-byte characters compare exactly
        {"x.lst", "?", false, false},
        {"ab", "a?", false, true},
        {"abc", "a?", false, false},
        {"MOTIONMOTION.LST", "*MOTION*.LST", false, true},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask, c.raw), c.match) << c.name << " / " << c.mask;
}

TEST(MskMatch, EmptyMaskEnds) {
    EXPECT_TRUE(MatchesMask("", "", true));
    EXPECT_FALSE(MatchesMask("a", "", true));
}
