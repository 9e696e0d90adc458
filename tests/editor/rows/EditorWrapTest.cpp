#include "EditorWrap.h"

#include "Cp932.h"
#include "EditorUtils.h"

#include <gtest/gtest.h>

#include <random>

namespace quillon {
namespace {

std::string J(std::string_view utf8) { return Utf8ToCp932(utf8); }
std::string A(int n) { return std::string(static_cast<std::size_t>(n), 'a'); }

const std::string kA = J("あ"), kComma = J("、"), kOpen = J("（"), kClose = J("」");

TEST(EditorWrapOptionTest, DefaultsAreTheShiftJisBytesOfTheRuleStrings) {
    TEditorWrapOption o;
    EXPECT_EQ(o.FollowStr(), J("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"));
    EXPECT_EQ(o.LeadStr(), J("（［｛「『([{｢"));
    EXPECT_EQ(o.PunctuationStr(), J("、。，．,.｡､"));
    EXPECT_EQ(o.WrapByte(), 80);
    EXPECT_FALSE(o.FollowRetMark() || o.FollowPunctuation() || o.Leading() || o.WordBreak());
}

TEST(EditorWrapOptionTest, WrapByteIsClampedAndChangesAreReported) {
    TEditorWrapOption o;
    int changes = 0;
    o.OnChange = [&](TPersistent*) { ++changes; };
    o.SetWrapByte(10);
    EXPECT_EQ(o.WrapByte(), 20);
    o.SetWrapByte(300);
    EXPECT_EQ(o.WrapByte(), 250);
    o.SetWrapByte(250);
    EXPECT_EQ(changes, 2) << "an unchanged value reports nothing";
    o.SetLeading(true);
    o.SetLeadStr("(");
    EXPECT_EQ(changes, 4);

    TEditorWrapOption copy;
    int copyChanges = 0;
    copy.OnChange = [&](TPersistent*) { ++copyChanges; };
    copy.Assign(o);
    EXPECT_EQ(copyChanges, 1);
    EXPECT_EQ(copy.WrapByte(), 250);
    EXPECT_TRUE(copy.Leading());
    EXPECT_EQ(copy.LeadStr(), "(");
    ASSERT_NE(TEditorWrapOption::StaticClassInfo().FindProp("WrapByte"), nullptr);
    EXPECT_EQ(TEditorWrapOption::StaticClassInfo().Props.size(), 8u);
}

TEST(ClassStringTest, ColumnsOfBytesTabsAndDoubleByteCharacters) {
    TColumnLayout layout;
    layout.TabSpaceCount = 4;
    EXPECT_EQ(ClassString("\tA", layout), "23331");
    EXPECT_EQ(ClassString("a," + kA + "b", layout), "12451");
    EXPECT_EQ(ClassString("ab\tc", layout), "11231");
    EXPECT_EQ(DisplayWidth("ab\tc", layout), 5);
    EXPECT_EQ(DisplayWidth("a" + kA, layout), 3);
    // With word wrap a tab fills only up to the margin.
    layout.WordWrap = true;
    layout.WrapByte = 20;
    layout.TabSpaceCount = 8;
    EXPECT_EQ(ClassString(A(18) + "\tb", layout), std::string(18, '1') + "231");
    EXPECT_EQ(DisplayWidth(A(18) + "\tb", layout), 21);
    // The layout stops at WrapByte + 3 columns.
    EXPECT_EQ(ClassString(A(100), layout).size(), 23u);
    layout.WordWrap = false;
    EXPECT_EQ(ClassString(A(2000), layout).size(), 1000u);
    EXPECT_EQ(DisplayWidth(A(2000), layout), 2000);
}

// Byte classes are looked up in a table kept for the last delimiter set: a call with another set,
// and a call with the first set again, must each see their own.
TEST(ClassStringTest, EachCallUsesItsOwnDelimiters) {
    TColumnLayout plain, commas;
    commas.Delimiters.reset();
    commas.Delimiters.set(',');
    commas.Delimiters.set(0x81); // a lead byte counts as a delimiter only where it stands alone
    const std::string text = "a, b" + kA + "\t\x81";
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(ClassString(text, plain), "122145231") << round;
        EXPECT_EQ(ClassString(text, commas), "121145132") << round;
    }
}

TEST(EditorAttributeArrayTest, PosNamesTheCharacterOfTheColumn) {
    TColumnLayout layout;
    layout.TabSpaceCount = 4;
    std::string text = "\tA";
    TEditorAttributeArray a(text, ClassString(text, layout));
    EXPECT_EQ(a.Count(), 5);
    a.MoveTo(5);
    EXPECT_EQ(a.Index(), 5);
    EXPECT_EQ(a.Pos(), 2);
    EXPECT_EQ(a.CurChar(), "A");
    a.MoveTo(1);
    EXPECT_EQ(a.Pos(), 1);
    EXPECT_EQ(a.CurChar(), "\t");
    EXPECT_EQ(a.NextChar(), "\t") << "a fill column belongs to the tab";

    std::string dbcs = "x" + kA;
    TEditorAttributeArray b(dbcs, ClassString(dbcs, layout));
    EXPECT_EQ(b.NextChar(), kA);
    b.MoveTo(3);
    EXPECT_EQ(b.Attr(), ccDoubleSecond);
    EXPECT_EQ(b.CurChar(), kA);
    b.Next();
    EXPECT_EQ(b.Attr(), ccNone);
    EXPECT_EQ(b.CurChar(), "");
    EXPECT_EQ(b.NextChar(), "");
}

struct WrapCase {
    const char* note;
    std::string line;
    std::vector<std::string> rows; // text/attribute
    bool followRetMark = false, followPunctuation = false, leading = false, wordBreak = false;
};

std::vector<std::string> Wrap(const WrapCase& c, int W, int TabSpaceCount = 8) {
    TEditorWrapOption o;
    o.SetWrapByte(W);
    o.SetFollowRetMark(c.followRetMark);
    o.SetFollowPunctuation(c.followPunctuation);
    o.SetLeading(c.leading);
    o.SetWordBreak(c.wordBreak);
    TColumnLayout layout;
    layout.TabSpaceCount = TabSpaceCount;
    std::vector<TWrappedRow> rows;
    WrapLine(c.line, o, layout, rows);
    std::vector<std::string> out;
    for (const TWrappedRow& r : rows) out.push_back(std::string(r.Text) + "/" + std::to_string(r.Attribute));
    return out;
}

class WrapTableTest : public ::testing::TestWithParam<int> {};

TEST_P(WrapTableTest, RowsFollowTheLineBreakRules) {
    const int W = GetParam();
    const WrapCase cases[] = {
        {"shorter than the margin", A(W - 1), {A(W - 1) + "/0"}},
        {"exactly the margin", A(W), {A(W) + "/1", "/0"}},
        {"exactly the margin, FollowRetMark", A(W), {A(W) + "/0"}, true},
        {"two rows and a rest", A(2 * W + 3), {A(W) + "/1", A(W) + "/1", "aaa/0"}},
        {"double-byte character straddling the margin", A(W - 1) + kA + "b", {A(W - 1) + "/1", kA + "b/0"}},
        {"double-byte character ending at the margin", A(W - 2) + kA + "b", {A(W - 2) + kA + "/1", "b/0"}},
        {"、 after the margin does not hang by default", A(W) + kComma + "b", {A(W) + "/1", kComma + "b/0"}},
        {"、 after the margin hangs", A(W) + kComma + "b", {A(W) + kComma + "/1", "b/0"}, false, true},
        {"、 straddling the margin hangs", A(W - 1) + kComma + "b", {A(W - 1) + kComma + "/1", "b/0"}, false, true},
        {"two commas hang no further than two columns",
         A(W) + kComma + kComma + "b",
         {A(W) + kComma + "/1", kComma + "b/0"},
         false,
         true},
        {"（ may end a row by default", A(W - 2) + kOpen + "bbbb", {A(W - 2) + kOpen + "/1", "bbbb/0"}},
        {"（ never ends a row with Leading",
         A(W - 2) + kOpen + "bbbb",
         {A(W - 2) + "/1", kOpen + "bbbb/0"},
         false,
         false,
         true},
        {"」 may start a row by default", A(W) + kClose + "b", {A(W) + "/1", kClose + "b/0"}},
        {"」 never starts a row with Leading",
         A(W) + kClose + "b",
         {A(W - 1) + "/1", "a" + kClose + "b/0"},
         false,
         false,
         true},
        {"（ before 」 moves together",
         A(W - 2) + kOpen + kClose + "b",
         {A(W - 2) + "/1", kOpen + kClose + "b/0"},
         false,
         false,
         true},
        // The last character of the line, one column past the margin, still may not start a row.
        {") alone past the margin with Leading", A(W) + ")", {A(W - 1) + "/1", "a)/0"}, false, false, true},
        {"」 alone past the margin with Leading",
         A(W) + kClose,
         {A(W - 1) + "/1", "a" + kClose + "/0"},
         false,
         false,
         true},
        // A row that an empty row follows ends there like any other.
        {"( at the margin before the empty row", A(W - 1) + "(", {A(W - 1) + "/1", "(/0"}, false, false, true},
        {"( at the margin ends the line with FollowRetMark", A(W - 1) + "(", {A(W - 1) + "(/0"}, true, false, true},
    };
    for (const WrapCase& c : cases) EXPECT_EQ(Wrap(c, W), c.rows) << c.note << " at WrapByte " << W;
}

INSTANTIATE_TEST_SUITE_P(Margins, WrapTableTest, ::testing::Values(20, 60));

TEST(WrapLineTest, WordBreakCutsAfterTheLastDelimiterWithinReach) {
    WrapCase longWord{"", A(61), {}, false, false, false, true};
    EXPECT_EQ(Wrap(longWord, 60), (std::vector<std::string>{A(20) + "/1", A(41) + "/0"}));
    WrapCase exact{"", A(60), {}, false, false, false, true};
    EXPECT_EQ(Wrap(exact, 60), (std::vector<std::string>{A(60) + "/1", "/0"}));
    WrapCase words{"", "abcde abcde abcde abcde abcde", {}, false, false, false, true};
    EXPECT_EQ(Wrap(words, 20), (std::vector<std::string>{"abcde abcde abcde /1", "abcde abcde/0"}));
    WrapCase kanji{"", A(10) + kA + A(15), {}, false, false, false, true};
    EXPECT_EQ(Wrap(kanji, 20), (std::vector<std::string>{A(10) + kA + "/1", A(15) + "/0"}));
}

TEST(WrapLineTest, TabsFillFromTheRowStart) {
    WrapCase tab{"", "\t" + A(19), {}};
    EXPECT_EQ(Wrap(tab, 20, 4), (std::vector<std::string>{"\t" + A(16) + "/1", "aaa/0"}));
}

TEST(WrapLineTest, RandomLinesKeepEveryRule) {
    const std::string pieces[] = {"a", "b", " ", "\t", kA, kComma, kOpen, kClose, "(", ")"};
    std::mt19937 rng(108);
    for (int round = 0; round < 2000; ++round) {
        WrapCase c{"", "", {}, rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0, rng() % 4 == 0};
        const int W = 20 + static_cast<int>(rng() % 30);
        for (int n = static_cast<int>(rng() % 200); n > 0; --n) c.line += pieces[rng() % std::size(pieces)];
        TEditorWrapOption o;
        o.SetWrapByte(W);
        o.SetFollowRetMark(c.followRetMark);
        o.SetFollowPunctuation(c.followPunctuation);
        o.SetLeading(c.leading);
        o.SetWordBreak(c.wordBreak);
        TColumnLayout layout;
        layout.TabSpaceCount = 4;
        layout.WordWrap = true;
        layout.WrapByte = W;
        std::vector<TWrappedRow> rows;
        WrapLine(c.line, o, layout, rows);

        std::string joined;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const TWrappedRow& r = rows[i];
            joined += r.Text;
            ASSERT_EQ(r.Attribute, i + 1 < rows.size() ? 1 : 0) << round;
            ASSERT_FALSE(!r.Text.empty() && IsDBCSLeadAt(r.Text, static_cast<int>(r.Text.size()) - 1))
                << "a row never splits a double-byte character, round " << round;
            if (r.Attribute != 1) continue;
            const int width = DisplayWidth(r.Text, layout);
            // A double-byte punctuation mark that starts at W + 2 hangs whole.
            ASSERT_LE(width, W + (c.followPunctuation ? 3 : 0)) << round;
            const std::string_view next = rows[i + 1].Text;
            const bool badEnd = r.Text.ends_with(kOpen) || r.Text.ends_with("("),
                       badStart = next.starts_with(kClose) || next.starts_with(")");
            if (c.leading && !c.wordBreak && (badEnd || badStart)) {
                ASSERT_LE(width, W / 5 * 4)
                    << "Leading gives up only at its floor, round " << round << " W " << W << " FP "
                    << c.followPunctuation << " row [" << Cp932ToUtf8(r.Text) << "] next [" << Cp932ToUtf8(next) << "]";
            }
        }
        ASSERT_EQ(joined, c.line) << round;
    }
}

} // namespace
} // namespace quillon
