#include "RowAttrStrings.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

class RowAttrStrings : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* s : {"zero", "one", "two"}) rows.Add(s);
    }
    TRowAttributeStringList rows;
};

TEST_F(RowAttrStrings, NewRowIsNotComputed) {
    TRowAttributeData d = rows.GetRowAttributeData(1);
    EXPECT_EQ(d.RowAttribute, raLineBreak);
    EXPECT_EQ(d.BracketIndex, biNotComputed);
    EXPECT_EQ(d.ContinuedToken, 0);
    EXPECT_EQ(rows.RowMarks(1), 0);
    EXPECT_FALSE(rows.RowModified(1));
}

TEST_F(RowAttrStrings, PackedFieldsStayApart) {
    rows.SetBracketIndex(0, -1);
    EXPECT_EQ(rows.RowState(0) >> 4 & 0xF, 1u);
    rows.SetBracketIndex(0, 13);
    EXPECT_EQ(rows.RowState(0) >> 4 & 0xF, 15u);
    EXPECT_EQ(rows.BracketIndex(0), 13);

    rows.SetRowAttribute(0, raWrapped);
    rows.SetPrevRowAttribute(0, raEndOfText);
    rows.SetContinuedToken(0, 25);
    rows.SetParseFlag(0, 7);
    rows.SetRowMarks(0, (1 << 3) | (1 << 9));
    EXPECT_EQ(rows.TokenState(0) & ((1u << 19) | (1u << 25)), (1u << 19) | (1u << 25));
    EXPECT_EQ(rows.ContinuedToken(0), 25);
    EXPECT_EQ(rows.ParseFlag(0), 7);
    EXPECT_EQ(rows.RowAttribute(0), raWrapped);
    EXPECT_EQ(rows.PrevRowAttribute(0), raEndOfText);
    EXPECT_EQ(rows.BracketIndex(0), 13);
    rows.SetRowModified(0, true);
    EXPECT_EQ(rows.RowFlags(0), 1u);
    rows.SetRowModified(0, false);
    EXPECT_EQ(rows.RowFlags(0), 0u);
}

// Rows reach 1000 bytes: carried positions must not be cut to 8 bits.
TEST_F(RowAttrStrings, CarriedNumbersKeepTheirFullWidth) {
    TRowAttributeData d;
    d.FieldIndex = 300;
    d.Remain = 999;
    d.ParseValue = -70000;
    d.DataStr = "x";
    rows.PutRowState(2, d);
    TRowAttributeData back = rows.GetRowAttributeData(2);
    EXPECT_TRUE(SameRowState(back, d));
    EXPECT_EQ(back.Remain, 999);
}

// Marking rows as not computed is one pass over the records; it must leave what the wrapping and the
// user own, and be the same as storing the not-computed state row by row.
TEST_F(RowAttrStrings, MarkNotComputedKeepsAttributeAndMarks) {
    TRowAttributeData d;
    d.PrevRowAttribute = raWrapped;
    d.FieldIndex = 4;
    d.Remain = 2;
    d.ContinuedToken = 25;
    d.DataStr = "carried";
    for (int i = 0; i < 3; ++i) rows.PutRowState(i, d);
    rows.SetRowAttribute(2, raEndOfText);
    rows.SetRowMarks(2, 1 << 5);
    rows.SetRowModified(2, true);
    EXPECT_EQ(rows.FirstNotComputed(0), 3);
    rows.MarkNotComputed(1);
    EXPECT_EQ(rows.FirstNotComputed(0), 1);
    EXPECT_TRUE(SameRowState(rows.GetRowAttributeData(0), d));
    for (int i : {1, 2}) EXPECT_TRUE(SameRowState(rows.GetRowAttributeData(i), NotComputedRowState())) << i;
    EXPECT_EQ(rows.RowAttribute(2), raEndOfText);
    EXPECT_EQ(rows.RowMarks(2), 1 << 5);
    EXPECT_TRUE(rows.RowModified(2));
}

// A row's column shares its carry with the colouring state, which marking rows not computed clears in
// one pass over the blocks: the column is not colouring state and must stay, in every block.
TEST(RowAttrStringsBlocks, MarkNotComputedKeepsTheColumns) {
    TRowAttributeStringList rows;
    for (int i = 0; i < 3000; ++i) rows.Add("row");
    TRowAttributeData d;
    d.FieldIndex = 7;
    for (int i = 0; i < 3000; ++i) rows.PutRowState(i, d);
    for (int i : {5, 2500}) rows.SetCol(i, i);
    rows.MarkNotComputed(0);
    EXPECT_EQ(rows.FirstNotComputed(0), 0);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(SameRowState(rows.GetRowAttributeData(i), NotComputedRowState())) << i;
        ASSERT_EQ(rows.Col(i), i == 5 || i == 2500 ? i : 0) << i;
    }
    rows.PutRowState(2999, d);
    EXPECT_EQ(rows.FirstNotComputed(2999), 3000);
    EXPECT_EQ(rows.FirstNotComputed(1000), 1000);
}

TEST_F(RowAttrStrings, PutRowStateLeavesTheRowAttribute) {
    rows.SetRowAttribute(1, raWrapped);
    TRowAttributeData d;
    d.RowAttribute = raEndOfText;
    rows.PutRowState(1, d);
    EXPECT_EQ(rows.RowAttribute(1), raWrapped);
}

TEST_F(RowAttrStrings, ExchangeMovesTheStateWithTheText) {
    rows.SetRowMarks(0, 1 << 4);
    rows.SetRowModified(0, true);
    rows.SetRemain(0, 500);
    rows.Exchange(0, 2);
    EXPECT_EQ(rows[2], "zero");
    EXPECT_EQ(rows.RowMarks(2), 1 << 4);
    EXPECT_TRUE(rows.RowModified(2));
    EXPECT_EQ(rows.Remain(2), 500);
    EXPECT_EQ(rows.RowMarks(0), 0);
}

TEST_F(RowAttrStrings, IndexErrors) {
    EXPECT_THROW(rows.Get(3), EStringListError);
    EXPECT_THROW(rows.SetRowMarks(-1, 1), EStringListError);
    EXPECT_THROW(rows.Insert(4, "x"), EStringListError);
    EXPECT_THROW(rows.Delete(3), EStringListError);
    try {
        rows.Get(3);
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "リストのインデックスが範囲を超えています");
    }
    EXPECT_EQ(rows.Count(), 3);
    rows.Insert(3, "three");
    EXPECT_EQ(rows[3], "three");
}

TEST_F(RowAttrStrings, PutAndDeleteKeepNeighbouringState) {
    rows.SetRowMarks(1, 2);
    rows.Put(1, "uno");
    EXPECT_EQ(rows[1], "uno");
    EXPECT_EQ(rows.RowMarks(1), 2);
    rows.Delete(0);
    EXPECT_EQ(rows[0], "uno");
    EXPECT_EQ(rows.RowMarks(0), 2);
}

TEST(RowStringList, UpdateBracketFiresEachEventOnce) {
    TRowStringList list;
    std::string log;
    list.OnChanging = [&](TRowStringList&) { log += '<'; };
    list.OnChange = [&](TRowStringList&) { log += '>'; };
    list.Add("a");
    EXPECT_EQ(log, "<>");
    log.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Exchange(0, 1);
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(log, "<");
    list.EndUpdate();
    EXPECT_EQ(log, "<>");
}

TEST(RowStringList, CapacityGrowsInSteps) {
    TRowStringList list;
    std::vector<int> capacities;
    for (int i = 0; i < 90; ++i) {
        list.Add("");
        if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

} // namespace
} // namespace quillon
