// The block row store against a plain vector of rows, with fixed seeds. The operations run on tens of
// thousands of rows, long and short, so that blocks fill, split, empty and merge.
#include "RowStringList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quillon {
namespace {

struct TPlainRow {
    std::string Text;
    std::string DataStr = "";
    std::int32_t Col = 0;
    std::uint32_t RowState = 0, TokenState = 0, RowFlags = 0;
};

// The list with the replacement that the row store's word wrap in steps uses.
class TTestList : public TRowStringList {
public:
    using TRowStringList::ReplaceItems;
    using TRowStringList::TRowItem;
};

class TReference {
public:
    explicit TReference(unsigned seed) : rng(seed) {}

    std::string Text() {
        // Mostly short rows, some long ones, now and then one far over a block's bytes.
        const int kind = Pick(100);
        const int length = kind < 70 ? Pick(40) : kind < 99 ? Pick(400) : 70000 + Pick(2000);
        std::string s(static_cast<std::size_t>(length), 'a');
        for (char& c : s) c = static_cast<char>('a' + Pick(26));
        return s;
    }
    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); }

    // Gives row i of both a state of its own.
    void Stamp(TRowStringList& list, int i) {
        TPlainRow& r = plain[static_cast<std::size_t>(i)];
        r.Col = Pick(1000) - 500;
        r.RowState = static_cast<std::uint32_t>(rng()) & 0xFFu; // the bits the list keeps
        r.TokenState = static_cast<std::uint32_t>(rng());
        r.RowFlags = static_cast<std::uint32_t>(Pick(4));
        r.DataStr = Pick(5) == 0 ? std::to_string(Pick(3)) : std::string();
        list.SetCol(i, r.Col);
        list.SetRowState(i, r.RowState);
        list.SetTokenState(i, r.TokenState);
        list.SetRowFlags(i, r.RowFlags);
        list.SetDataStr(i, r.DataStr);
    }

    void Check(const TRowStringList& list) {
        ASSERT_EQ(list.Count(), static_cast<int>(plain.size()));
        ASSERT_GE(list.Capacity(), list.Count());
        for (int i = 0; i < list.Count(); ++i) {
            const TPlainRow& r = plain[static_cast<std::size_t>(i)];
            const std::string_view text = list.Get(i);
            ASSERT_EQ(text, r.Text) << "row " << i;
            ASSERT_EQ(text.data()[text.size()], '\0') << "row " << i;
            ASSERT_EQ(list.Col(i), r.Col);
            ASSERT_EQ(list.RowState(i), r.RowState);
            ASSERT_EQ(list.TokenState(i), r.TokenState);
            ASSERT_EQ(list.RowFlags(i), r.RowFlags);
            ASSERT_EQ(list.DataStr(i), r.DataStr);
        }
    }

    std::mt19937 rng;
    std::vector<TPlainRow> plain;
};

void RunReference(unsigned seed, int steps) {
    TReference ref(seed);
    TTestList list;
    auto at = [&](int i) { return ref.plain.begin() + i; };
    for (int step = 0; step < steps; ++step) {
        const int count = list.Count();
        const int op = ref.Pick(100);
        if (op < 25 || count == 0) {
            const int index = ref.Pick(count + 1);
            std::string s = ref.Text();
            list.Insert(index, s);
            ref.plain.insert(at(index), TPlainRow{s});
            ref.Stamp(list, index);
        } else if (op < 40) {
            const int index = ref.Pick(count);
            std::string s = ref.Text();
            list.Put(index, s);
            ref.plain[static_cast<std::size_t>(index)].Text = s;
        } else if (op < 50) {
            // A row's own text, and its neighbour's, written back into the list.
            const int index = ref.Pick(count), other = ref.Pick(count);
            list.Put(index, list.Get(other));
            ref.plain[static_cast<std::size_t>(index)].Text = ref.plain[static_cast<std::size_t>(other)].Text;
            list.Insert(index, list.Get(other));
            ref.plain.insert(at(index), TPlainRow{ref.plain[static_cast<std::size_t>(other)].Text});
        } else if (op < 62) {
            const int index = ref.Pick(count);
            list.Delete(index);
            ref.plain.erase(at(index));
        } else if (op < 66) {
            // Changes inside rows some way apart, many in a block or one in each: texts grow and
            // shrink, now and then past a block's bytes.
            std::vector<std::string> texts;
            std::vector<TRowSplice> splices;
            const int gap = ref.Pick(2) == 0 ? 3 : 600;
            for (int row = ref.Pick(count); row < count && splices.size() < 300; row += 1 + ref.Pick(gap)) {
                const int size = static_cast<int>(ref.plain[static_cast<std::size_t>(row)].Text.size());
                const int pos = ref.Pick(size + 1), length = ref.Pick(std::min(size - pos, 50) + 1);
                texts.push_back(ref.Pick(10) == 0 ? ref.Text()
                                                  : std::string(static_cast<std::size_t>(ref.Pick(9)), 'z'));
                splices.push_back({row, static_cast<std::size_t>(pos), static_cast<std::size_t>(length), {}});
            }
            for (std::size_t k = 0; k < splices.size(); ++k) {
                splices[k].Text = texts[k];
                ref.plain[static_cast<std::size_t>(splices[k].Row)].Text.replace(splices[k].Pos, splices[k].Length,
                                                                                 texts[k]);
            }
            list.SpliceRows(splices);
        } else if (op < 70) {
            const int a = ref.Pick(count), b = ref.Pick(count);
            list.Exchange(a, b);
            std::swap(ref.plain[static_cast<std::size_t>(a)], ref.plain[static_cast<std::size_t>(b)]);
        } else if (op < 78) {
            const int index = ref.Pick(count + 1), n = ref.Pick(3000);
            list.InsertBlank(index, n);
            ref.plain.insert(at(index), static_cast<std::size_t>(n), TPlainRow{});
        } else if (op < 88) {
            const int index = ref.Pick(count), n = ref.Pick(std::min(count - index, 4000) + 1);
            list.Erase(index, n);
            ref.plain.erase(at(index), at(index + n));
        } else if (op < 92) {
            // Rows cut from the list's own rows, the replaced ones and their neighbours, put in place of
            // a range (now and then an empty one, or by no rows).
            const int index = ref.Pick(count + 1), n = ref.Pick(std::min(count - index, 4000) + 1);
            std::vector<TTestList::TRowItem> items;
            std::vector<std::string_view> texts;
            std::vector<TPlainRow> rows;
            const int from = std::max(index - 2, 0), to = ref.Pick(4) == 0 ? from : std::min(index + n + 2, count);
            for (int r = from; r < to; ++r)
                for (std::string_view rest = list.Get(r); !rest.empty() || ref.Pick(2) == 0;) {
                    const std::size_t size = static_cast<std::size_t>(ref.Pick(static_cast<int>(rest.size()) + 1));
                    TTestList::TRowItem item;
                    item.Attribute = static_cast<std::uint8_t>(ref.Pick(4));
                    item.Marks = static_cast<std::uint16_t>(ref.Pick(1 << 16));
                    item.Flags = static_cast<std::uint8_t>(ref.Pick(4));
                    items.push_back(item);
                    texts.push_back(rest.substr(0, size));
                    rows.push_back({std::string(texts.back()), "", 0, item.Attribute,
                                    static_cast<std::uint32_t>(item.Marks) << 16, item.Flags});
                    rest.remove_prefix(size);
                    if (rest.empty()) break;
                }
            list.ReplaceItems(index, n, items.data(), texts.data(), static_cast<int>(items.size()));
            ref.plain.erase(at(index), at(index + n));
            ref.plain.insert(at(index), rows.begin(), rows.end());
        } else if (op < 97) {
            TRowStringList source;
            std::vector<TPlainRow> rows;
            for (int i = 0, n = ref.Pick(2500); i < n; ++i) {
                rows.push_back({ref.Text(), ref.Pick(3) == 0 ? "x" : "", ref.Pick(9), 7, 8, 1});
                source.Add(rows.back().Text);
                source.SetDataStr(i, rows.back().DataStr);
                source.SetCol(i, rows.back().Col);
                source.SetRowState(i, 7);
                source.SetTokenState(i, 8);
                source.SetRowFlags(i, 1);
            }
            const int index = ref.Pick(count + 1);
            const int from = ref.Pick(source.Count() + 1), n = ref.Pick(source.Count() - from + 1);
            list.InsertRows(index, source, from, n);
            ref.plain.insert(at(index), rows.begin() + from, rows.begin() + from + n);
            // A row of the source written over a row of the list, state and all.
            if (count > 0 && source.Count() > 0) {
                const int to = ref.Pick(list.Count()), what = ref.Pick(source.Count());
                list.CopyRow(to, source, what);
                ref.plain[static_cast<std::size_t>(to)] = rows[static_cast<std::size_t>(what)];
            }
        } else {
            TRowStringList other;
            for (int i = 0, n = ref.Pick(5000); i < n; ++i) other.Add(ref.Text());
            std::vector<TPlainRow> rows;
            for (int i = 0; i < other.Count(); ++i) rows.push_back({std::string(other.Get(i))});
            list.TakeRows(other);
            ref.plain = rows;
            EXPECT_EQ(other.Count(), 0);
        }
        if (ref.Pick(3) == 0 && list.Count() > 0) ref.Stamp(list, ref.Pick(list.Count()));
        if (step % 50 == 0) ref.Check(list);
        if (::testing::Test::HasFatalFailure()) {
            ADD_FAILURE() << "seed " << seed << " step " << step << " op " << op;
            return;
        }
    }
    ref.Check(list);
}

TEST(RowStringListReference, RandomEditsAgreeWithAPlainVector) {
    for (unsigned seed : {1u, 2u, 3u}) RunReference(seed, 300);
}

// Splices out of order, twice in a row or outside a row's text change nothing.
TEST(RowStringListReference, SplicesThatDoNotFitChangeNothing) {
    TRowStringList list;
    for (int i = 0; i < 3000; ++i) list.Add("row " + std::to_string(i));
    const std::vector<std::vector<TRowSplice>> wrong = {
        {{2000, 0, 1, "x"}, {10, 0, 1, "y"}},
        {{10, 0, 1, "x"}, {10, 2, 1, "y"}},
        {{10, 0, 1, "x"}, {2000, 4, 6, "y"}},
        {{10, 0, 1, "x"}, {3000, 0, 0, "y"}},
    };
    for (const std::vector<TRowSplice>& splices : wrong) {
        EXPECT_THROW(list.SpliceRows(splices), EStringListError);
        EXPECT_EQ(list.Get(10), "row 10");
    }
}

// A row's words are kept in the widths TRowAttributeStringList packs into them: RowState and RowFlags
// bits 0-7, TokenState whole. The bits beyond are dropped, and a word of zero leaves the row as new.
TEST(RowStringListReference, StateWordsKeepTheirPackedWidths) {
    TRowStringList list;
    for (int i = 0; i < 3; ++i) list.Add("row");
    list.SetRowState(1, 0xABCDEF12u);
    list.SetTokenState(1, 0xFEDCBA98u);
    list.SetRowFlags(1, 0x1234u);
    EXPECT_EQ(list.RowState(1), 0x12u);
    EXPECT_EQ(list.TokenState(1), 0xFEDCBA98u);
    EXPECT_EQ(list.RowFlags(1), 0x34u);
    list.SetRowState(1, 0);
    list.SetTokenState(1, 0);
    EXPECT_EQ(list.RowState(1), 0u);
    EXPECT_EQ(list.TokenState(1), 0u);
    for (int i : {0, 2}) EXPECT_EQ(list.RowState(i) | list.TokenState(i) | list.RowFlags(i), 0u) << i;
}

// Appending row by row, as a load does, and then reading every row back.
TEST(RowStringListReference, AppendedRowsReadBackInOrder) {
    TRowStringList list;
    for (int i = 0; i < 50000; ++i) list.Add(std::to_string(i));
    ASSERT_EQ(list.Count(), 50000);
    for (int i = 0; i < 50000; i += 7) EXPECT_EQ(list.Get(i), std::to_string(i));
    list.Erase(100, 49800);
    EXPECT_EQ(list.Count(), 200);
    EXPECT_EQ(list.Get(99), "99");
    EXPECT_EQ(list.Get(100), "49900");
}

} // namespace
} // namespace quillon
