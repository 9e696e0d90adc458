#include "MotionColourer.h"
#include "ColourerTestUtils.h"
#include "motions.h"

#include <gtest/gtest.h>

#include <array>

using namespace quillon;
using namespace quillon::test;

namespace {

TMotionColourer& Colourer() {
    static TMotionColourer colourer(nullptr);
    return colourer;
}

TToks Motion(const std::string& row, int mode = pmFull) { return ParseRow(Colourer(), row, mode); }

// Default texts of the 21 fields of a data line; each is one token in both scans.
constexpr std::array<const char*, 21> kFields = {"1", "2", "3", "4", "5", "6", "1", "0",  "0",  "0", "0",
                                                 "9", "0", "0", "0", "-", "0", "0", "d1", "d2", "a1"};

std::string LineWith(int field, const std::string& value, const std::string& comment = ";c") {
    std::string line;
    for (int i = 0; i < 21; ++i) (line += i ? " " : "") += i == field ? value : kFields[i];
    return line + " " + comment;
}

// A value in one field of a data line, and where the case is told.
struct TFieldValue {
    int field;
    const char* value;
};

// The data line with Value in Field gives the fields before it and one error from Value's start.
void ExpectErrorFromValue(const TFieldValue& c, int mode = pmFull) {
    const std::string value = c.value;
    const std::string line = LineWith(c.field, value);
    const TToks toks = Motion(line, mode);
    ASSERT_EQ(toks.size(), static_cast<std::size_t>(c.field + 1)) << value << " " << mode;
    EXPECT_EQ(toks.back(), (TTok{mtError, line.substr(line.find(value, 2 * c.field))})) << value << " " << mode;
}

// The tokens that the text of one field gives within a data line.
TToks FieldTokens(int field, const std::string& value, int mode = pmFull) {
    TToks all = Motion(LineWith(field, value), mode);
    TToks toks;
    std::size_t length = 0;
    for (std::size_t i = field; i < all.size() && length < value.size(); ++i) {
        toks.push_back(all[i]);
        length += all[i].Text.size();
    }
    return toks;
}

TEST(MotionColourer, LinesThatAreNotDataAreOneItem) {
    for (const char* row : {"--R---G---B---G",
                            "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1"
                            "---------Def2---------Att1---------COMMENT",
                            "Title of the list", "10 0 5 -", "10 0 5 - x", "+1 2 3 4 5 6 7", "\x8c\xbe\x82\xa4 1 2"}) {
        for (int mode : {pmFull, pmSimple}) EXPECT_EQ(Motion(row, mode), (TToks{{mtAnyItem, row}})) << row;
    }
    // The colour line of a new list: four words after the leading blanks.
    EXPECT_EQ(Motion("  0   0 255  16"), (TToks{{mtAnyItem, "0   0 255  16"}}));
}

TEST(MotionColourer, ThreeOrSixWordsAreData) {
    EXPECT_EQ(Motion("10 0 5"), (TToks{{mtMotionNum, "10"}, {mtToNum, "0"}, {mtSp, "5"}}));
    EXPECT_EQ(Motion("10 0 5 0 C1 <2"),
              (TToks{{mtMotionNum, "10"}, {mtToNum, "0"}, {mtSp, "5"}, {mtPic, "0"}, {mtDe, "C1"}, {mtCi, "<2"}}));
}

TEST(MotionColourer, ADataLineGivesEveryFieldAndTheComment) {
    const std::string line = LineWith(-1, "", "; a comment, whatever it holds 1 2");
    TToks expected;
    const int kinds[] = {mtMotionNum, mtToNum, mtSp, mtPic, mtDe,  mtCi, mtV,    mtVx,   mtRx,   mtVy,  mtRy,
                         mtC,         mtCL,    mtG,  mtDa,  mtHit, mtH,  mtFlag, mtDef1, mtDef2, mtAtt1};
    for (int i = 0; i < 21; ++i) expected.push_back({kinds[i], kFields[i]});
    expected.push_back({mtComment, "; a comment, whatever it holds 1 2"});
    EXPECT_EQ(Motion(line, pmSimple), expected);
    expected[mfV].Kind = mtV; // 1
    expected[mfC].Kind = mtC; // 9
    EXPECT_EQ(Motion(line), expected);
    // A comment without a semicolon.
    EXPECT_EQ(Motion(LineWith(-1, "", "note")).back(), (TTok{mtComment, "note"}));
}

TEST(MotionColourer, TheFieldsOfALineFromTheListFormat) {
    const std::string line =
        "   0   1  3  10  0  0 9   0 0   0 0 9 0 0   0   -  0 0 000000000000 000000000000 000000000000 ";
    TToks toks = Motion(line);
    ASSERT_EQ(toks.size(), 21u);
    EXPECT_EQ(toks[mfV], (TTok{mtVNone, "9"}));
    EXPECT_EQ(toks[mfFlag], (TTok{mtFlag, "0"}));
    EXPECT_EQ(toks[mfAtt1], (TTok{mtAtt1, "000000000000"}));
}

TEST(MotionColourer, VValuesAndSeparators) {
    struct Case {
        const char* value;
        TToks full;
        bool simpleError = false; // an empty item makes the whole V list an error in the simple scan
    } cases[] = {
        {"9/1/+9", {{mtVNone, "9"}, {mtVNone, "/"}, {mtV, "1"}, {mtVNone, "/"}, {mtVNone, "+9"}}},
        {"95", {{mtV, "95"}}},
        {"+95", {{mtV, "+95"}}},
        {"+5", {{mtV, "+5"}}},
        {"-5", {{mtV, "-5"}}},
        {"-9", {{mtV, "-9"}}},
        {"+", {{mtV, "+"}}},
        {"1/", {{mtV, "1"}, {mtVNone, "/"}}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldTokens(mfV, c.value), c.full) << c.value;
        if (c.simpleError)
            EXPECT_EQ(FieldTokens(mfV, c.value, pmSimple)[0].Kind, mtError) << c.value;
        else
            EXPECT_EQ(FieldTokens(mfV, c.value, pmSimple), (TToks{{mtV, c.value}})) << c.value;
        // Whatever the V list, the fields after it keep their places.
        EXPECT_EQ(Motion(LineWith(mfV, c.value)).back().Kind, mtComment) << c.value;
    }
    // In the simple scan a value followed by a slash and a blank is an error to the end of the row.
    EXPECT_EQ(Motion(LineWith(mfV, "1/"), pmSimple).size(), 7u);
    EXPECT_EQ(FieldTokens(mfV, "x")[0].Kind, mtError);
}

// After a "/" the V list goes on only with a digit, or a sign and a digit, as the line model reads
// it; anything else is the Vx field right after the "/". So a list the model cuts is never shown as
// one: an empty item ("1//2") is an error from where it stands, a lone sign is Vx. The simple scan
// refuses such a list whole, as it refuses a list that ends in "/" before a blank.
TEST(MotionColourer, AVListGoesOnOnlyWhereTheLineModelReadsOn) {
    struct Case {
        const char* value;
        TToks list; // the tokens of the V list
        TTok next;  // the token after it; an error runs to the end of the row
    } cases[] = {
        {"1//2", {{mtV, "1"}, {mtVNone, "/"}}, {mtError, ""}},
        {"1/2//3", {{mtV, "1"}, {mtVNone, "/"}, {mtV, "2"}, {mtVNone, "/"}}, {mtError, ""}},
        {"9//-3/4", {{mtVNone, "9"}, {mtVNone, "/"}}, {mtError, ""}},
        {"1/-/2", {{mtV, "1"}, {mtVNone, "/"}}, {mtError, ""}},
        {"1/-", {{mtV, "1"}, {mtVNone, "/"}}, {mtVx, "-"}},
        {"1/+", {{mtV, "1"}, {mtVNone, "/"}}, {mtVx, "+"}},
        {"1/-2/+9", {{mtV, "1"}, {mtVNone, "/"}, {mtV, "-2"}, {mtVNone, "/"}, {mtVNone, "+9"}}, {mtVx, "0"}},
    };
    for (const auto& c : cases) {
        const std::string value = c.value, line = LineWith(mfV, value);
        const TToks toks = Motion(line);
        ASSERT_GT(toks.size(), mfV + c.list.size()) << value;
        EXPECT_EQ(TToks(toks.begin() + mfV, toks.begin() + mfV + c.list.size()), c.list) << value;
        std::size_t listLength = 0;
        for (const TTok& tok : c.list) listLength += tok.Text.size();
        const std::size_t end = line.find(value, 2 * mfV) + listLength;
        const TTok expected = c.next.Kind == mtError ? TTok{mtError, line.substr(end)} : c.next;
        EXPECT_EQ(toks[mfV + c.list.size()], expected) << value;
        if (listLength == value.size())
            EXPECT_EQ(FieldTokens(mfV, value, pmSimple), (TToks{{mtV, value}})) << value;
        else
            ExpectErrorFromValue({mfV, c.value}, pmSimple);
    }
}

TEST(MotionColourer, CIsNineOrOn) {
    EXPECT_EQ(FieldTokens(mfC, "9"), (TToks{{mtC, "9"}}));
    for (const char* value : {"90", "+9", "0", "-1", "09"}) {
        EXPECT_EQ(FieldTokens(mfC, value), (TToks{{mtCOn, value}})) << value;
        EXPECT_EQ(FieldTokens(mfC, value, pmSimple), (TToks{{mtC, value}})) << value;
    }
}

TEST(MotionColourer, FlagPieces) {
    EXPECT_EQ(FieldTokens(mfFlag, "0100"), (TToks{{mtFlag, "0"}, {mtFlagOn, "1"}, {mtFlag, "00"}}));
    EXPECT_EQ(FieldTokens(mfFlag, "ABC0"), (TToks{{mtFlagOn, "A"}, {mtFlagOn, "B"}, {mtFlagOn, "C"}, {mtFlag, "0"}}));
    EXPECT_EQ(FieldTokens(mfFlag, "0100", pmSimple), (TToks{{mtFlag, "0100"}}));
    EXPECT_EQ(Motion(LineWith(mfFlag, "0100")).back().Kind, mtComment);
}

TEST(MotionColourer, PictureGrammar) {
    for (const char* pic : {"12,1,A,128/13.5:2:3", "-", "0", "+3", "12*", "12a", "12-", "1.5", "1,", "1,,",
                            "1,-1,+,255,-FF", "1,1,A,0,abc", "1/2/3", "1:", "1:-", "1:2:+3:4", "12/"}) {
        EXPECT_EQ(FieldTokens(mfPic, pic), (TToks{{mtPic, pic}})) << pic;
        EXPECT_TRUE(Motion(LineWith(mfPic, pic)).back().Kind == mtComment) << pic;
    }
    // A failing picture is an error from the field's start to the end of the row.
    for (const char* pic : {"12x", "x", "12.", "12.a", "1,1,A,0,G", "12/x", "1:2x", "1.5.5", "1**"}) {
        std::string line = LineWith(mfPic, pic);
        TToks toks = Motion(line);
        ASSERT_EQ(toks.size(), 4u) << pic;
        EXPECT_EQ(toks[3], (TTok{mtError, line.substr(6)})) << pic;
    }
    // A slash at the very end of the row starts an item that is not there.
    const char* row = "12/";
    const char* p = row;
    EXPECT_FALSE(ScanPicField(p));
    EXPECT_EQ(p, row + 3);
    p = row = "12/ 4";
    EXPECT_TRUE(ScanPicField(p));
    EXPECT_EQ(p, row + 3);
}

TEST(MotionColourer, FieldsThatDoNotFitAreErrorsToTheEndOfTheRow) {
    const TFieldValue cases[] = {{mfTo, "x"}, {mfSp, "."},  {mfDe, "C"}, {mfDe, "X1"}, {mfCi, "<"},
                                 {mfVx, "x"}, {mfRx, "-1"}, {mfVy, "."}, {mfRy, "+1"}, {mfC, "x"},
                                 {mfCL, "x"}, {mfG, "-"},   {mfDa, "x"}, {mfHit, "x"}, {mfH, "-"}};
    for (const TFieldValue& c : cases) ExpectErrorFromValue(c);
    // A field that stops before a sign leaves the rest to the next field.
    EXPECT_EQ(Motion("1 2-3"), (TToks{{mtMotionNum, "1"}, {mtToNum, "2"}, {mtSp, "-3"}}));
    EXPECT_EQ(FieldTokens(mfG, "A1"), (TToks{{mtG, "A1"}}));
    EXPECT_EQ(FieldTokens(mfDe, "E-3"), (TToks{{mtDe, "E-3"}}));
    EXPECT_EQ(FieldTokens(mfCi, ">12"), (TToks{{mtCi, ">12"}}));
    EXPECT_EQ(FieldTokens(mfDa, "1.2.3"), (TToks{{mtDa, "1.2.3"}}));
}

// The line model reads a field on to the next blank or sign, and refuses a To below -1, a Hit
// below 0, a Ci that is only a mark and a sign, and numbers out of range. A field that the model reads
// otherwise is an error from its start in both scans, where the model reads it or stops.
TEST(MotionColourer, FieldsTheLineModelReadsOtherwiseAreErrorsFromTheirStart) {
    const TFieldValue cases[] = {
        {mfNum, "1a"}, {mfNum, "99999999999"}, {mfTo, "-2"},  {mfTo, "+"},  {mfTo, "2x"},
        {mfSp, "1."},  {mfDe, "E+5x"},         {mfCi, "-"},   {mfCi, "<+"}, {mfCi, "<5>3"},
        {mfVx, "1/2"}, {mfRx, "0U"},           {mfRy, "1,2"}, {mfC, "9x"},  {mfCL, "0U"},
        {mfG, "U/"},   {mfDa, "1.5x"},         {mfHit, "-1"}, {mfHit, "+"}, {mfHit, "99999999999"},
        {mfH, "1A"},   {mfH, "1\x82\x4f"}};
    for (const TFieldValue& c : cases)
        for (int mode : {pmFull, pmSimple}) ExpectErrorFromValue(c, mode);
    // What the model takes stays a field: a To of -1, a Hit of 0 and a De that ends before Ci's mark.
    EXPECT_EQ(FieldTokens(mfTo, "-1"), (TToks{{mtToNum, "-1"}}));
    EXPECT_EQ(FieldTokens(mfHit, "0"), (TToks{{mtHit, "0"}}));
    EXPECT_EQ(FieldTokens(mfDe, "E+5<3"), (TToks{{mtDe, "E+5"}, {mtCi, "<3"}}));
}

TEST(MotionColourer, ADoubleByteVIsAnErrorWhereTheLineModelStops) {
    for (const char* v : {"\x83\x5C", "\x83\x7C", "\x95\x5C\x31"}) {
        const std::string line = LineWith(mfV, v);
        for (int mode : {pmFull, pmSimple}) {
            TToks toks = Motion(line, mode);
            ASSERT_EQ(toks.size(), size_t{mfV} + 1) << line;
            EXPECT_EQ(toks.back(), (TTok{mtError, line.substr(line.find(v))})) << line;
        }
        std::vector<std::string> fields;
        SplitMotionLine(line, fields);
        EXPECT_EQ(fields.size(), size_t{mfV}) << line;
    }
}

TEST(MotionColourer, ATabIsATokenOfItsOwn) {
    EXPECT_EQ(Motion("1\t2 \t 3"), (TToks{{mtMotionNum, "1"}, {9, "\t"}, {mtToNum, "2"}, {9, "\t"}, {mtSp, "3"}}));
}

TEST(MotionColourer, TheSimpleScanGivesOneTokenPerField) {
    for (const char* v : {"9/1/+9", "1/2/3"}) {
        std::string line = LineWith(mfFlag, "01A0");
        line.replace(line.find(" 1 0 "), 3, std::string(" ") + v + " ");
        EXPECT_EQ(Motion(line, pmSimple).size(), 22u) << line;
    }
}

} // namespace
