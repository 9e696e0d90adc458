#include "motions.h"

#include "Cp932.h"
#include "MotionTestLines.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillon;

namespace {

const std::string kDataLine =
    "   0   1  3  10  0  0 9   0 0   0 0 9 0 0   0   -  0 0 000000000000 000000000000 000000000000 ";

std::string Join(const std::vector<std::string>& fields) {
    std::string line;
    for (const auto& f : fields) line += f;
    return line;
}

// A data line made of the given field texts, each after one blank, with a final comment.
std::string LineOf(std::initializer_list<const char*> first21) {
    std::string line;
    for (const char* f : first21) (line += ' ') += f;
    return line + " ;note";
}

std::vector<std::string> Split(std::string_view line) {
    std::vector<std::string> fields;
    SplitMotionLine(line, fields);
    return fields;
}

} // namespace

TEST(MotionLine, ADataLineHas22FieldsThatJoinBackExactly) {
    auto fields = Split(kDataLine);
    ASSERT_EQ(fields.size(), 22u);
    EXPECT_EQ(Join(fields), kDataLine);
    EXPECT_EQ(fields[mfComment], " ");
    // Without the final blank, Att1 ends the line and there is no comment field.
    EXPECT_EQ(Split(kDataLine.substr(0, kDataLine.size() - 1)).size(), 21u);
    TMotionLineObj obj;
    EXPECT_FALSE(ParseMotionLine(kDataLine.substr(0, kDataLine.size() - 1), obj));
    EXPECT_TRUE(obj.IsEmpty());
}

TEST(MotionLine, SplitStopsAtTheFirstFieldThatFails) {
    struct Case {
        std::string line;
        size_t fields;
    } cases[] = {
        {"x 1 2", 0}, // Num must start with a digit
        {"--R---G---B---G", 0},
        {"  0   0 255  16", 4}, // colour line: Pic "255" then "16" as De
        {"1 -2 3", 1},          // To below -1
        {LineOf({"1",
                 "-",
                 "0",
                 "5",
                 "0",
                 "<",
                 "9",
                 "0",
                 "0",
                 "0",
                 "0",
                 "9",
                 "0",
                 "0",
                 "0",
                 "-",
                 "0",
                 "0",
                 "000000000000",
                 "000000000000",
                 "000000000000"}),
         5}, // "<" alone is no Ci
        {LineOf({"1",
                 "-",
                 "0",
                 "5",
                 "0",
                 "0",
                 "9",
                 "0",
                 "0",
                 "0",
                 "0",
                 "9",
                 "0",
                 "0",
                 "0",
                 "-1",
                 "0",
                 "0",
                 "000000000000",
                 "000000000000",
                 "000000000000"}),
         15}, // Hit below 0
        {LineOf({"1",
                 "-",
                 "0",
                 "5/",
                 "0",
                 "0",
                 "9",
                 "0",
                 "0",
                 "0",
                 "0",
                 "9",
                 "0",
                 "0",
                 "0",
                 "-",
                 "0",
                 "0",
                 "000000000000",
                 "000000000000",
                 "000000000000"}),
         22},
        {"", 0},
        {"   ", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Split(c.line).size(), c.fields) << c.line;
}

TEST(MotionLine, TokenRulesLetFieldsTouch) {
    // De "E+5" then Ci "<3"; "1-1" is two fields; V takes "/"-separated values with signs.
    auto fields = Split(" 10 11 1 5 E+5<3 9/-3/4 1-1 0 0 9 0 0 0 - 0 0 000000000000 000000000000 000000000000 x");
    ASSERT_EQ(fields.size(), 22u);
    EXPECT_EQ(fields[mfDe], " E+5");
    EXPECT_EQ(fields[mfCi], "<3");
    EXPECT_EQ(fields[mfV], " 9/-3/4");
    EXPECT_EQ(fields[mfVx], " 1");
    EXPECT_EQ(fields[mfRx], "-1");

    auto v = Split(" 10 11 1 5 T10 0 1/2+3 0 0 0 9 0 0 0 - 0 0 000000000000 000000000000 000000000000 x");
    ASSERT_EQ(v.size(), 22u);
    EXPECT_EQ(v[mfDe], " T10");
    EXPECT_EQ(v[mfV], " 1/2");
    EXPECT_EQ(v[mfVx], "+3");

    auto slash = Split(" 10 11 1 5 0 0 1/ 0 0 0 0 9 0 0 0 - 0 0 000000000000 000000000000 000000000000 x");
    ASSERT_EQ(slash.size(), 22u);
    EXPECT_EQ(slash[mfV], " 1/");

    // After a "/" the list goes on only with a digit, or a sign and a digit: anything else starts
    // Vx right after the "/", and every later field moves one on.
    const struct {
        const char* list;
        const char *v, *vx, *rx;
    } splits[] = {
        {"1//2", " 1/", "/2", " 4"},   {"1/-", " 1/", "-", " 4"},       {"1/+", " 1/", "+", " 4"},
        {"1/-/2", " 1/", "-/2", " 4"}, {"1/2//3", " 1/2/", "/3", " 4"}, {"1/+/3", " 1/", "+/3", " 4"},
        {"9//", " 9/", "/", " 4"},     {"9//-3/4", " 9/", "/", "-3/4"}, {"1/-2/+3", " 1/-2/+3", " 4", " 0"},
    };
    for (const auto& c : splits) {
        auto fields =
            Split(" 10 11 1 5 0 0 " + std::string(c.list) + " 4 0 0 0 9 0 0 0 - 0 0 000000000000 000000000000 x y");
        ASSERT_EQ(fields.size(), 22u) << c.list;
        EXPECT_EQ(fields[mfV], c.v) << c.list;
        EXPECT_EQ(fields[mfVx], c.vx) << c.list;
        EXPECT_EQ(fields[mfRx], c.rx) << c.list;
    }
}

// Lines of stored lists whose V list ends in a "/" before an empty item or a lone sign: the
// fields after V are read where the list's own tools put them.
TEST(MotionLine, AVListEndingInASlashLeavesTheLaterFieldsInPlace) {
    const std::string box = " 000000000000";
    const struct {
        const std::string& line;
        std::vector<std::string> fields;
        std::int32_t hit;
    } cases[] = {
        {testlines::kEmptyVItemLine,
         {"   2", "   -", "  4", "  -", "  E-1", "  >3", " 1/", "/2",    " 0", " 0", " 0",
          " 0",   " 9",   " 0",  " 0",  " 0",    " -",   " 0",  " ABC0", box,  box,  box},
         0},
        {testlines::kLoneSignVItemLine,
         {"4880", " 3479", " 31", " +146,", " 0",  " >-3", " 1/", "-",  " 74",   " -90", " 0",
          " 0",   " 9",    " 0",  " 0",     " 90", " 31",  " -2", " 0", " ABC0", box,    box + box},
         90},
    };
    for (const auto& c : cases) {
        TMotionLineObj obj;
        ASSERT_TRUE(ParseMotionLine(c.line, obj)) << c.line;
        EXPECT_EQ(std::vector<std::string>(obj.Items.begin(), obj.Items.end()), c.fields);
        EXPECT_EQ(obj.Hit, c.hit);
    }
}

TEST(MotionLine, ParseFillsTheObject) {
    TMotionLineObj obj;
    ASSERT_TRUE(ParseMotionLine(
        "  12  -  2 3,1/4.5:2 0 >-3 9 0 0 0 0 9 0 0 0 7 0 0100 1FF0EF00A010 000000000000 010020000030 ;c", obj));
    EXPECT_TRUE(obj.Valid);
    EXPECT_EQ(obj.Num, 12);
    EXPECT_EQ(obj.ToNum, -2);
    EXPECT_EQ(obj.CiMode, -1);
    EXPECT_EQ(obj.CiValue, -3);
    EXPECT_EQ(obj.Hit, 7);
    EXPECT_EQ(obj.Def1, (TMotionBox{-255, 239, 10, 16}));
    EXPECT_EQ(obj.Att1, (TMotionBox{16, 32, 0, 48}));
    ASSERT_EQ(obj.Pictures.Items.size(), 2u);
    EXPECT_EQ(obj.Pictures.Items[0], (TPicItemInfo{3, 1, 0, 0, 0}));
    EXPECT_EQ(obj.Pictures.Items[1], (TPicItemInfo{4, 0, 2, 127, 0}));
    EXPECT_EQ(obj.Pictures.Param1, 2);
    EXPECT_EQ(obj.Items[mfComment], " ;c");
    EXPECT_FALSE(obj.IsEmpty());

    TMotionLineObj ci;
    ASSERT_TRUE(ParseMotionLine(" 1 - 0 5 0 <12 9 0 0 0 0 9 0 0 0 - 0 0 000000000000 000000000000 000000000000 ", ci));
    EXPECT_EQ(ci.CiMode, 1);
    EXPECT_EQ(ci.CiValue, 12);
    EXPECT_EQ(ci.Hit, -1);
}

TEST(MotionLine, EqualsAssignAndClear) {
    TMotionLineObj a, b, c;
    EXPECT_TRUE(TMotionLineObj().IsEmpty());
    ParseMotionLine(kDataLine, a);
    ParseMotionLine(kDataLine, b);
    EXPECT_TRUE(a.Equals(b));
    std::string other = kDataLine;
    other[3] = '1';
    ParseMotionLine(other, c);
    EXPECT_FALSE(a.Equals(c));
    c.Assign(a);
    EXPECT_TRUE(c.Equals(a));
    c.Clear();
    EXPECT_TRUE(c.IsEmpty());
}

TEST(MotionLine, ParseMotionLinesKeepsEveryLine) {
    auto list = ParseMotionLines({"--R---G---B---G", kDataLine, "; note"});
    ASSERT_EQ(list.size(), 3u);
    EXPECT_FALSE(list[0].Obj.Valid);
    EXPECT_TRUE(list[1].Obj.Valid);
    EXPECT_EQ(list[2].Line, "; note");
}

TEST(MotionLine, ADoubleByteCharacterStartingVMakesNoDataLine) {
    // Whatever its trail byte ("\\", "|", "@", a letter), the character is never cut: the split
    // ends before V, as the colourer shows it as an error from there.
    const std::string before = " 1 - 0 5 0 0 ";
    const std::string after = " 0 0 0 0 9 0 0 0 - 0 0 000000000000 000000000000 000000000000 ;note";
    for (const char* v : {"\x83\x5C", "\x83\x7C", "\x83\x40", "\x95\x5C", "\xE0\x41", "\x83\x5C\x31", "\x83"}) {
        const std::string line = before + v + after;
        EXPECT_EQ(Split(line).size(), size_t{mfV}) << line;
        TMotionLineObj obj;
        EXPECT_FALSE(ParseMotionLine(line, obj)) << line;
    }
    // The same line with a V of 9 is a data line.
    EXPECT_EQ(Split(before + "9" + after).size(), 22u);
}

TEST(MotionLine, RandomLinesNeverBreakTheJoinRule) {
    // Whatever the bytes, the fields that split off join back into a prefix of the line, and no
    // field begins with the trail byte of a double-byte character.
    std::mt19937 rng(7);
    const std::string alphabet = " 0123456789-+/<>.,:ETCa*\x83\x4B\x5C";
    auto isTrail = [](unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); };
    for (int n = 0; n < 20000; ++n) {
        std::string line;
        int length = static_cast<int>(rng() % 60);
        for (int i = 0; i < length; ++i) line += alphabet[rng() % alphabet.size()];
        auto fields = Split(line);
        ASSERT_LE(fields.size(), 22u);
        std::string joined = Join(fields);
        ASSERT_EQ(line.compare(0, joined.size(), joined), 0) << line;
        if (fields.size() == 22) {
            ASSERT_EQ(joined, line);
        }
        auto charSize = [&](size_t p) {
            return p + 1 < line.size() && IsLeadByte(line[p]) && isTrail(line[p + 1]) ? 2 : 1;
        };
        std::vector<bool> starts(line.size() + 1, false);
        for (size_t p = 0; p <= line.size(); p += charSize(p)) starts[p] = true;
        size_t at = 0;
        for (const std::string& field : fields) {
            ASSERT_TRUE(starts[at]) << line;
            at += field.size();
        }
    }
}

TEST(PictureField, Items) {
    struct Case {
        const char* text;
        bool result;
        int none;
        std::vector<TPicItemInfo> items;
        int param1;
    } cases[] = {
        {"12", true, 0, {{12, 0, 0, 0, 0}}, -2},
        {"-12", true, 0, {{-12, 0, 0, 0, 0}}, -2},
        {"12.5", true, 0, {{12, 0, 2, 127, 0}}, -2},
        {"12.999", true, 0, {{12, 0, 2, 254, 0}}, -2},
        {"12.x", true, 0, {{12, 0, 0, 0, 0}}, -2},
        {"12.1e5", true, 0, {{12, 0, 2, 254, 0}}, -2}, // clamped: the fraction reads as 10000
        {"12+", true, 0, {{12, 0, 3, 0, 0}}, -2},
        {"12*", true, 0, {{12, 0, 5, 0, 0}}, -2},
        {"12-", true, 0, {{12, 0, 4, 0, 0}}, -2},
        {"12,1", true, 0, {{12, 1, 0, 0, 0}}, -2},
        {"12,2", true, 0, {{12, 0, 0, 0, 0}}, -2},
        {"12,0,A,128", true, 0, {{12, 0, 2, 128, 0}}, -2},
        {"12,0,a,-5", true, 0, {{12, 0, 2, 0, 0}}, -2},
        {"12,0,A,255", true, 0, {{12, 0, 0, 0, 0}}, -2},
        {"12.5,0,+", true, 0, {{12, 0, 3, 127, 0}}, -2}, // part 3 overrides the mode of part 1
        {"12,0,0,0,7", true, 0, {{12, 0, 0, 0, 7}}, -2},
        {"12,0,0,0,-7", true, 0, {{12, 0, 0, 0, -1}}, -2},
        {"12,0,0,0,x", true, 0, {{12, 0, 0, 0, -1}}, -2},
        {"3/4:2", true, 0, {{3, 0, 0, 0, 0}, {4, 0, 0, 0, 0}}, 2},
        {"3:x", true, 0, {{3, 0, 0, 0, 0}}, -2},
        {"-", true, 1, {}, -2},
        {"-/5", true, 1, {}, -2},
        {"5/-", true, 0, {{5, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}, -2},
        {"5/,3", true, 0, {{5, 0, 0, 0, 0}}, -2},
        {"abc", true, 1, {}, -2},
        {"", false, 0, {}, -2},
        {"/", true, 1, {}, -2}, // an empty first item text names no picture
        {"5//6", true, 0, {{5, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {6, 0, 0, 0, 0}}, -2},
    };
    for (const auto& c : cases) {
        TGroupPictures group;
        EXPECT_EQ(ParsePictureField(c.text, group), c.result) << c.text;
        EXPECT_EQ(group.None, c.none) << c.text;
        EXPECT_EQ(group.Items, c.items) << c.text;
        EXPECT_EQ(group.Param1, c.param1) << c.text;
    }
    TGroupPictures params;
    ParsePictureField("1:2:3:4", params);
    EXPECT_EQ(params.Param2, 3);
    EXPECT_EQ(params.Param3, 4);
}

TEST(PictureField, SplitByChar) {
    std::vector<std::string> list;
    EXPECT_EQ(SplitByChar(list, "a::b:", ':'), 3);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitByChar(list, ":a", ':'), 2);
    EXPECT_EQ(SplitByChar(list, "", ':'), 0);
}

TEST(BoxCode, DigitsAndDecoding) {
    EXPECT_EQ(BoxDigitValue('0'), 0);
    EXPECT_EQ(BoxDigitValue('9'), 9);
    EXPECT_EQ(BoxDigitValue('F'), 15);
    EXPECT_EQ(BoxDigitValue('G'), 16);
    EXPECT_EQ(BoxDigitValue('a'), 42);
    EXPECT_EQ(BoxDigitValue('\xA1'), -150);
    TMotionBox box;
    DecodeBox("1FF0EF00A010", box);
    EXPECT_EQ(box, (TMotionBox{-255, 239, 10, 16}));
    DecodeBox("0A", box); // a short code adds nothing for the characters it lacks
    EXPECT_EQ(box, (TMotionBox{160, 0, 0, 0}));
}

TEST(BoxCode, Encoders) {
    struct Case {
        bool size;
        std::int32_t value;
        const char* code; // nullptr: cannot be written
    } cases[] = {
        {false, 255, "0FF"},  {false, -1, "101"},     {false, 300, "0Fs"}, {false, -300, "1Fs"}, {false, 256, "0Cw"},
        {false, 1207, "0~~"}, {false, 1208, nullptr}, {false, 0, "000"},   {true, 4095, "FFF"},  {true, 4096, "G00"},
        {true, 18431, "~FF"}, {true, 18432, "{sw"},   {true, -1, "01&"},   {true, -2048, "/00"}, {true, 0, "000"},
    };
    for (const auto& c : cases) {
        std::string code = "junk";
        bool ok = c.size ? EncodeBoxSize(c.value, code) : EncodeBoxCoord(c.value, code);
        EXPECT_EQ(ok, c.code != nullptr) << c.value;
        EXPECT_EQ(code, c.code ? c.code : "") << c.value;
    }
}

TEST(BoxCode, EveryWritableValueDecodesBack) {
    // Coordinates go in characters 0-2 (X1), sizes in 3-5 (Y1) of a full code.
    for (std::int32_t v = -2600; v <= 2600; ++v) {
        std::string code;
        if (!EncodeBoxCoord(v, code)) continue;
        TMotionBox box;
        DecodeBox(code + "000000000", box);
        ASSERT_EQ(box.X1, v) << code;
    }
    for (std::int32_t v = -41000; v <= 19400; v += 7) {
        std::string code;
        if (!EncodeBoxSize(v, code)) continue;
        TMotionBox box;
        DecodeBox("000" + code + "000000", box);
        ASSERT_EQ(box.Y1, v) << code;
    }
}
