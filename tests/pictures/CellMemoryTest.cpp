#include "CellMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace quillon {
namespace {

using TBytes = std::vector<std::uint8_t>;

// Distinct cells for distinct seeds; later seeds may sort before earlier ones.
template <class TList> TBytes Cell(int seed) {
    TBytes c(TList::CellBytes);
    for (std::size_t i = 0; i < c.size(); ++i) c[i] = static_cast<std::uint8_t>(seed * 31 + i * 7);
    c[0] = static_cast<std::uint8_t>(255 - seed);
    c[1] = static_cast<std::uint8_t>(seed >> 8);
    return c;
}

template <class TList> TBytes Blank() { return TBytes(TList::CellBytes, 9); }

template <class TList> std::unique_ptr<TList> MakeList(int capacity = 1799) {
    TBytes blank = Blank<TList>();
    if constexpr (TList::HasCapacity)
        return std::make_unique<TList>(static_cast<std::uint16_t>(capacity), blank.data());
    else
        return std::make_unique<TList>(blank.data());
}

template <class TList> class CellMemoryKinds : public ::testing::Test {};
using Kinds = ::testing::Types<TCellMemoryList, TCellMemory256List, TCellMemoryVantorList, TCellMemory256VantorList>;
TYPED_TEST_SUITE(CellMemoryKinds, Kinds);

TYPED_TEST(CellMemoryKinds, NumbersByFirstAppearanceBlankNotCounted) {
    using TNumber = typename TypeParam::TCellNumber;
    auto list = MakeList<TypeParam>();
    TNumber n = 7;
    auto add = [&](const TBytes& c) {
        EXPECT_TRUE(list->Add(c.data(), n));
        return n;
    };
    EXPECT_EQ(add(Cell<TypeParam>(1)), 0u);
    EXPECT_EQ(add(Cell<TypeParam>(2)), 1u);
    EXPECT_EQ(add(Cell<TypeParam>(1)), 0u);
    EXPECT_EQ(add(Blank<TypeParam>()), TypeParam::BlankNumber);
    EXPECT_EQ(add(Cell<TypeParam>(0)), 2u);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(TypeParam::BlankNumber, sizeof(TNumber) == 2 ? 65535u : 4294967295u);
}

TYPED_TEST(CellMemoryKinds, WritesEveryCellAtItsSheetPlace) {
    using TNumber = typename TypeParam::TCellNumber;
    constexpr int w = TypeParam::SheetCells;
    constexpr std::size_t rowBytes = TypeParam::RowBytes;
    auto list = MakeList<TypeParam>();
    const int cells = w + 1; // the last one starts the second cell row
    for (int k = 0; k < cells; ++k) {
        TNumber n;
        ASSERT_TRUE(list->Add(Cell<TypeParam>(k).data(), n));
        ASSERT_EQ(n, static_cast<TNumber>(k));
    }
    const std::size_t pitch = w * rowBytes + 4; // padded rows, as a bitmap has
    TBytes sheet(pitch * 32, 0xEE);
    // Bottom-up storage: the top row is the last in memory and the step is negative.
    list->WriteTo(sheet.data() + pitch * 31, -static_cast<std::ptrdiff_t>(pitch));
    auto row = [&](int y) { return sheet.data() + pitch * (31 - y); };
    for (int k = 0; k < cells; ++k) {
        TBytes c = Cell<TypeParam>(k);
        for (int r = 0; r < 16; ++r)
            ASSERT_EQ(0, std::memcmp(row(16 * (k / w) + r) + (k % w) * rowBytes, c.data() + r * rowBytes, rowBytes))
                << "cell " << k << " row " << r;
    }
    EXPECT_EQ(row(16)[0], Cell<TypeParam>(w)[0]); // cell w at y 16, x 0
    EXPECT_EQ(row(16)[rowBytes], 0xEE);           // nothing beside it
    EXPECT_EQ(row(0)[w * rowBytes], 0xEE);        // padding untouched
}

template <class TList> class CappedKinds : public ::testing::Test {};
using Capped = ::testing::Types<TCellMemoryList, TCellMemory256List>;
TYPED_TEST_SUITE(CappedKinds, Capped);

TYPED_TEST(CappedKinds, CapacityIsTheHighestNumber) {
    auto list = MakeList<TypeParam>(1799);
    std::uint16_t n = 0;
    for (int k = 0; k < 1800; ++k) ASSERT_TRUE(list->Add(Cell<TypeParam>(k).data(), n)) << k;
    EXPECT_EQ(n, 1799);
    EXPECT_FALSE(list->Add(Cell<TypeParam>(1800).data(), n));
    EXPECT_EQ(list->Count(), 1800);
    EXPECT_TRUE(list->Add(Cell<TypeParam>(5).data(), n)); // repeated cells still come through
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(list->Add(Blank<TypeParam>().data(), n));
    EXPECT_EQ(n, 65535);
}

} // namespace
} // namespace quillon

namespace quillon {
namespace {

// The hash lookup gives the numbers that a plain search over the cells in order of first
// appearance gives, for a long stream with many repeats.
TEST(CellMemory, NumbersMatchALinearReference) {
    std::mt19937 rng(17);
    TBytes blank = Blank<TCellMemory256VantorList>();
    TCellMemory256VantorList list(blank.data());
    std::vector<TBytes> seen;
    for (int i = 0; i < 3000; ++i) {
        int seed = static_cast<int>(rng() % 700);
        TBytes cell = seed == 0 ? blank : Cell<TCellMemory256VantorList>(seed);
        std::uint32_t expected = 0xFFFFFFFF;
        if (seed != 0) {
            auto it = std::find(seen.begin(), seen.end(), cell);
            expected = static_cast<std::uint32_t>(it - seen.begin());
            if (it == seen.end()) seen.push_back(cell);
        }
        std::uint32_t n = 0;
        ASSERT_TRUE(list.Add(cell.data(), n));
        ASSERT_EQ(n, expected) << i;
    }
    EXPECT_EQ(list.Count(), static_cast<int>(seen.size()));
}

} // namespace
} // namespace quillon
