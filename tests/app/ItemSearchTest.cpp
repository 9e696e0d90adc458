#include "ItemSearch.h"
#include "Cp932.h"
#include "ItemHints.h"
#include "ListKinds.h"
#include "MemorySettingsStore.h"
#include "MessageBox.h"
#include "MotionColourer.h"
#include "MotionTestLines.h"
#include "OrvColourer.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;
using quillon::testlines::Motion;

namespace {

enum TScan { sFirst, sNext, sPrev };

// Rows 0-2 are the template's header; frames follow.
std::vector<std::string> SampleList() {
    std::vector<std::string> lines;
    NewMotionList(lines);
    lines.push_back(Motion({.Num = "12", .Pic = "10", .Comment = Utf8ToCp932("立ちABC")}));    // row 3
    lines.push_back(Motion({.Num = "120", .To = "-1", .Pic = "1/10"}));                        // row 4
    lines.push_back(Motion({.Num = "312", .Pic = "110", .Comment = Utf8ToCp932("abc 攻撃")})); // row 5
    lines.push_back(Motion({.Num = "13", .Pic = "10", .Hit = "40", .Comment = "x_abc"}));      // row 6
    return lines;
}

struct Fixture : ::testing::Test {
    TMotionColourer Colourer{nullptr};
    TScriptedMessages Boxes;
    TMessageServiceScope Scope{Boxes};
    std::vector<std::string> Lines = SampleList();

    bool Run(TScan Scan, int Caret, const TItemSearchRequest& Request, TItemHit& Hit) {
        switch (Scan) {
        case sFirst: return FindItemFirst(Lines, Caret, Colourer, Request, Hit);
        case sNext: return FindItemNext(Lines, Caret, Colourer, Request, Hit);
        case sPrev: return FindItemPrev(Lines, Caret, Colourer, Request, Hit);
        }
        return false;
    }
};

using ItemSearch = Fixture;

TEST_F(ItemSearch, FindsTheFieldInEveryOptionAndDirection) {
    struct Case {
        std::string Text;
        int Kind;
        int Options;
        int Direction;
        TScan Scan;
        int Caret;
        int Row; // -1 not found
    };
    const Case cases[] = {
        // Num: exact against partial
        {"12", 50, 0, idDown, sFirst, 0, 3},
        {"12", 50, 0, idDown, sFirst, 4, -1},
        {"12", 50, ioSubString, idDown, sFirst, 4, 4},
        {"12", 50, ioSubString, idDown, sNext, 4, 5},
        {"12", 50, ioSubString, idUp, sFirst, 6, 5},
        {"12", 50, ioSubString, idUp, sPrev, 5, 4},
        {"12", 50, 0, idUp, sFirst, 2, -1},
        {"12", 50, 0, 7, sFirst, 3, -1}, // no direction, nothing found
        // the caret row counts for First only
        {"12", 50, 0, idDown, sFirst, 3, 3},
        {"12", 50, 0, idDown, sNext, 3, -1},
        {"12", 50, 0, idUp, sPrev, 3, -1},
        // Next and Prev ignore the direction
        {"13", 50, 0, idUp, sNext, 3, 6},
        {"12", 50, 0, idDown, sPrev, 6, 3},
        // Pic: a part of "1/10" or "110"
        {"10", 53, 0, idDown, sFirst, 0, 3},
        {"10", 53, 0, idDown, sNext, 3, 6},
        {"10", 53, ioSubString, idDown, sNext, 3, 4},
        // regular expressions: whole field unless a part will do
        {"1", 52, ioRegExp, idDown, sFirst, 0, -1},
        {"1[0-9]*", 50, ioRegExp, idDown, sFirst, 4, 4},
        {"1", 53, ioRegExp, idDown, sFirst, 0, -1},
        {"1", 53, ioRegExp | ioSubString, idDown, sFirst, 0, 3},
        {"^1/", 53, ioRegExp | ioSubString, idDown, sFirst, 0, 4},
        // the comment: case and whole words
        {"abc", 7, 0, idDown, sFirst, 0, -1},
        {"abc", 7, ioSubString, idDown, sFirst, 0, 3},
        {"abc", 7, ioSubString | ioMatchCase, idDown, sFirst, 0, 5},
        {Utf8ToCp932("立ちabc"), 7, 0, idDown, sFirst, 0, 3},
        {Utf8ToCp932("立ちabc"), 7, ioMatchCase, idDown, sFirst, 0, -1},
        {"abc", 7, ioSubString | ioWholeWord, idDown, sFirst, 0, 3}, // kanji then letters: a boundary
        {"abc", 7, ioSubString | ioWholeWord | ioMatchCase, idDown, sFirst, 0, 5},
        {"abc", 7, ioSubString | ioWholeWord, idDown, sFirst, 6, 6}, // "x_abc": "_" is a delimiter
        {"ab", 7, ioSubString | ioWholeWord, idDown, sFirst, 0, -1},
        {"ABC", 7, ioRegExp | ioSubString, idDown, sFirst, 4, 5}, // the pattern is folded too
        {"ABC", 7, ioRegExp | ioSubString | ioMatchCase, idDown, sFirst, 4, -1},
        // Hit and To
        {"40", 67, 0, idUp, sFirst, 6, 6},
        {"-1", 51, 0, idDown, sFirst, 0, 4},
        {"-1", 51, ioWholeWord, idDown, sFirst, 0, 4}, // "-" belongs to a word

    };
    for (const Case& c : cases) {
        TItemSearchRequest request{c.Text, static_cast<std::uint8_t>(c.Kind), static_cast<std::uint8_t>(c.Options),
                                   static_cast<std::uint8_t>(c.Direction)};
        TItemHit hit{-5, -5, -5};
        const bool found = Run(c.Scan, c.Caret, request, hit);
        EXPECT_EQ(found, c.Row >= 0) << c.Text << " kind " << c.Kind << " options " << c.Options;
        EXPECT_EQ(found ? hit.Row : -1, c.Row) << c.Text << " kind " << c.Kind << " options " << c.Options;
    }
}

TEST_F(ItemSearch, MarksTheWholeFieldWhereItStands) {
    TItemHit hit;
    ASSERT_TRUE(FindItemFirst(Lines, 0, Colourer, {"1/", 53, ioSubString, idDown}, hit));
    EXPECT_EQ(hit.Row, 4);
    EXPECT_EQ(Lines[4].substr(static_cast<std::size_t>(hit.Col), static_cast<std::size_t>(hit.Length)), "1/10");
    ASSERT_TRUE(FindItemFirst(Lines, 0, Colourer, {"ABC", 7, ioSubString, idDown}, hit));
    EXPECT_EQ(Lines[3].substr(static_cast<std::size_t>(hit.Col)), Utf8ToCp932("立ちABC"));
    EXPECT_EQ(hit.Length, 7);
}

TEST_F(ItemSearch, OnlyFirstReportsANotFoundSearch) {
    TItemHit hit;
    EXPECT_FALSE(FindItemFirst(Lines, 0, Colourer, {Utf8ToCp932("無い"), 7, 0, idDown}, hit));
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "検索項目  ' 無い '\r\nは見つかりませんでした。");
    EXPECT_EQ(Boxes.Shown[0].Title, "項目検索");
    EXPECT_EQ(Boxes.Shown[0].Icon, TMsgIcon::Information);
    EXPECT_FALSE(FindItemNext(Lines, 0, Colourer, {"x", 7, 0, idDown}, hit));
    EXPECT_FALSE(FindItemPrev(Lines, 6, Colourer, {"x", 7, 0, idDown}, hit));
    EXPECT_EQ(Boxes.Shown.size(), 1u);
}

TEST_F(ItemSearch, AnEmptyListEndsAtOnceWithoutAMessage) {
    TItemHit hit;
    for (const std::vector<std::string>& lines : {std::vector<std::string>{}, std::vector<std::string>{""}}) {
        Lines = lines;
        EXPECT_FALSE(Run(sFirst, 0, {"1", 50, 0, idDown}, hit));
    }
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(ItemSearch, ABadRegularExpressionIsReportedWithItsPositionByEveryScan) {
    for (TScan scan : {sFirst, sNext, sPrev}) {
        Boxes.Shown.clear();
        TItemHit hit;
        EXPECT_NO_THROW(EXPECT_FALSE(Run(scan, 4, {"1(2", 50, ioRegExp, idDown}, hit)));
        ASSERT_EQ(Boxes.Shown.size(), 1u) << scan;
        EXPECT_EQ(Boxes.Shown[0].Text.rfind("項目検索中にエラーが発生しました。\r\n", 0), 0u);
        EXPECT_NE(Boxes.Shown[0].Text.find("位置: "), std::string::npos) << Boxes.Shown[0].Text;
        EXPECT_EQ(Boxes.Shown[0].Title, "項目検索");
        EXPECT_EQ(Boxes.Shown[0].Icon, TMsgIcon::Error);
    }
}

TEST_F(ItemSearch, CaseFoldingLeavesTrailBytesAlone) {
    // ア is 0x83 0x41: its trail byte is "A" and must not be folded into "a" (which would make it
    // 0x83 0x61, a different character, and let "ａ"-like texts match).
    Lines.push_back(Motion({.Num = "8", .Comment = Utf8ToCp932("ア")}));
    TItemHit hit;
    EXPECT_TRUE(FindItemFirst(Lines, 0, Colourer, {Utf8ToCp932("ア"), 7, 0, idDown}, hit));
    EXPECT_EQ(hit.Row, 7);
    EXPECT_FALSE(FindItemFirst(Lines, 0, Colourer,
                               {"\x83"
                                "a",
                                7, 0, idDown},
                               hit));
}

TEST_F(ItemSearch, SubStringNeverStartsOnATrailByte) {
    // ア (0x83 0x41) then "A": "AA" exists bytewise from the trail byte only.
    Lines.push_back(Motion({.Num = "8",
                            .Comment = "\x83"
                                       "AA"}));
    TItemHit hit;
    EXPECT_FALSE(FindItemFirst(Lines, 7, Colourer, {"AA", 7, ioSubString | ioMatchCase, idDown}, hit));
}

TEST(ItemSearchChoices, FieldKindsAndOptionBits) {
    // The choices are the fields of a motion line, each once, in the order of the line.
    std::set<int> kinds;
    for (int i = 0; i < kItemTokenChoiceCount; ++i) {
        const int kind = ItemKindOfChoice(i);
        EXPECT_TRUE(kinds.insert(kind).second) << i;
        EXPECT_FALSE(ItemHintKeyword(lkMotion, kind).empty()) << i;
        if (i > 0 && kind != mtComment) {
            EXPECT_GT(kind, ItemKindOfChoice(i - 1)) << i;
        }
    }
    EXPECT_EQ(kinds.size(), static_cast<std::size_t>(kItemTokenChoiceCount));
    EXPECT_EQ(ItemKindOfChoice(kItemTokenChoiceCount), mtAnyItem);
    EXPECT_EQ(ItemKindOfChoice(-1), mtAnyItem);

    struct Case {
        TItemSearchOptions Options;
        int Bits;
    };
    const Case cases[] = {
        {{}, 0},
        {{.WholeWord = true}, 8},
        {{.WholeWord = true, .RegExp = true}, 2},
        {{.WholeWord = true, .RegExp = true, .Fuzzy = true}, 6},
        {{.Fuzzy = true}, 0},
        {{.MatchCase = true, .SubString = true}, 17},
        {{.WholeWord = true, .MatchCase = true, .SubString = true}, 25},
        {{.MatchCase = true, .RegExp = true, .Fuzzy = true, .SubString = true}, 23},
    };
    for (const Case& c : cases) EXPECT_EQ(ItemOptionsOf(c.Options), c.Bits);
    EXPECT_EQ(ItemDirectionOf(1), idDown);
    EXPECT_EQ(ItemDirectionOf(0), idUp);
}

TEST(ItemSearchChoices, RepeatingNeedsAMotionListAndAText) {
    EXPECT_TRUE(CanFindItemNext(lkMotion, {"1"}));
    EXPECT_FALSE(CanFindItemNext(lkMotion, {}));
    EXPECT_FALSE(CanFindItemNext(lkCommand, {"1"}));
}

TEST(ItemSearchSettings, OptionsRoundTripWithTheirDefaults) {
    TMemorySettingsStore store;
    TItemSearchOptions options = ReadItemSearchOptions(store);
    EXPECT_FALSE(options.WholeWord || options.MatchCase || options.RegExp || options.Fuzzy || options.SubString);
    EXPECT_EQ(options.SearchToken, 0);
    EXPECT_EQ(options.Direction, 1);
    WriteItemSearchOptions(store, {true, false, true, true, false, 15, 0});
    EXPECT_EQ(store.Values["SearchItemOptions/WholeWord"], "1");
    EXPECT_EQ(store.Values["SearchItemOptions/SearchToken"], "15");
    options = ReadItemSearchOptions(store);
    EXPECT_TRUE(options.WholeWord && options.RegExp && options.Fuzzy);
    EXPECT_FALSE(options.MatchCase || options.SubString);
    EXPECT_EQ(options.SearchToken, 15);
    EXPECT_EQ(options.Direction, 0);
    store.Values["SearchItemOptions/Direction"] = "2";
    EXPECT_EQ(ReadItemSearchOptions(store).Direction, 1);
}

TEST(ItemSearchSettings, HistoryKeepsThe32NewestDistinctTexts) {
    std::vector<std::string> history;
    for (int i = 1; i <= 33; ++i) AddItemHistory(history, "t" + std::to_string(i));
    ASSERT_EQ(history.size(), 32u);
    EXPECT_EQ(history.front(), "t33");
    EXPECT_EQ(history.back(), "t2");
    AddItemHistory(history, "t10");
    EXPECT_EQ(history.size(), 32u);
    EXPECT_EQ(history[0], "t10");
    EXPECT_EQ(history[1], "t33");
    AddItemHistory(history, "T10"); // exact comparison: a new entry
    EXPECT_EQ(history[1], "t10");

    TMemorySettingsStore store;
    WriteItemHistory(store, {"a", Utf8ToCp932("立ち")});
    EXPECT_EQ(ReadItemHistory(store), (std::vector<std::string>{"a", Utf8ToCp932("立ち")}));
    store.Values["SearchItems/ItemText"] = "a\r\n\r\nb\nc";
    EXPECT_EQ(ReadItemHistory(store), (std::vector<std::string>{"a", "b", "c"}));
    std::string many;
    for (int i = 0; i < 40; ++i) many += "t" + std::to_string(i) + "\r\n";
    store.Values["SearchItems/ItemText"] = many;
    EXPECT_EQ(ReadItemHistory(store).size(), 32u);
}

} // namespace

// The item search's choices are fields of the kind, each once, one for each choice of its dialog.
TEST(ListKindRecords, ItemSearchFieldsAreFieldsOfTheKind) {
    for (int kind = lkText + 1; kind < kListKindCount; ++kind) {
        const std::vector<int>& fields = ListKindInfo(kind).ItemSearchFields;
        if (fields.empty()) continue;
        const std::unique_ptr<TOrvColourer> colourer = ListKindInfo(kind).CreateColourer();
        EXPECT_EQ(fields.size(), static_cast<std::size_t>(kItemTokenChoiceCount)) << kind;
        EXPECT_EQ(std::set<int>(fields.begin(), fields.end()).size(), fields.size()) << kind;
        for (int field : fields) EXPECT_NE(colourer->KindColor(field), nullptr) << kind << ": " << field;
    }
    EXPECT_TRUE(ListKindInfo(lkText).ItemSearchFields.empty());
}
