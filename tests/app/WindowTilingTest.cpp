#include "WindowTiling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using namespace quillon;

namespace {

const TRect kArea{0, 40, 1280, 1024}; // a work area under a top panel, 1280 x 984

bool Inside(const TRect& r, const TRect& area) {
    return r.Left >= area.Left && r.Top >= area.Top && r.Right <= area.Right && r.Bottom <= area.Bottom;
}

bool Overlap(const TRect& a, const TRect& b) { return !Intersect(a, b).IsEmpty(); }

// Count windows of one minimum size.
std::vector<TMinimumSize> Same(int count, int width, int height) {
    return std::vector<TMinimumSize>(static_cast<size_t>(count), TMinimumSize{width, height});
}

// Windows in lanes (not cascaded): inside the area, none smaller than its own minimum, none over another.
void ExpectLanes(const std::vector<TRect>& r, const TRect& area, const std::vector<TMinimumSize>& minimums) {
    ASSERT_EQ(r.size(), minimums.size());
    for (size_t i = 0; i < r.size(); ++i) {
        EXPECT_TRUE(Inside(r[i], area)) << i;
        EXPECT_GE(r[i].Width(), minimums[i].Width) << i;
        EXPECT_GE(r[i].Height(), minimums[i].Height) << i;
        for (size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(r[i], r[j])) << i << " " << j;
    }
}

// Cascaded: each window shifted from the one before, or all at one place.
bool Cascaded(const std::vector<TRect>& r) {
    return r.size() > 1 && ((r[1].Left - r[0].Left == 24 && r[1].Top - r[0].Top == 24) || r[1] == r[0]);
}

// When every column gets the minimum width, the windows share the width evenly, whole height each,
// the first at the left; stacked, the height.
TEST(WindowTiling, WindowsThatFitShareTheAreaEvenly) {
    const std::vector<TRect> sides = TileRects(kArea, Same(3, 320, 236), true);
    EXPECT_EQ(sides, (std::vector<TRect>{{0, 40, 426, 1024}, {426, 40, 852, 1024}, {853, 40, 1279, 1024}}));
    const std::vector<TRect> stacked = TileRects(kArea, Same(3, 320, 236), false);
    EXPECT_EQ(stacked, (std::vector<TRect>{{0, 40, 1280, 368}, {0, 368, 1280, 696}, {0, 696, 1280, 1024}}));
}

// Seven windows of at least 320 pixels cannot stand side by side in 1280: four columns hold two
// each (the last one), filled from the top.
TEST(WindowTiling, TooManyForOneRowAreStackedInColumns) {
    const std::vector<TRect> r = TileRects(kArea, Same(7, 320, 236), true);
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0], (TRect{0, 40, 320, 532}));
    EXPECT_EQ(r[1], (TRect{0, 532, 320, 1024}));
    EXPECT_EQ(r[2], (TRect{320, 40, 640, 532}));
    EXPECT_EQ(r[6], (TRect{960, 40, 1280, 532}));
    // Stacked, five rows of 236 fit in 984: two columns of four rows, filled from the left.
    const std::vector<TRect> s = TileRects(kArea, Same(7, 320, 236), false);
    EXPECT_EQ(s[0], (TRect{0, 40, 640, 286}));
    EXPECT_EQ(s[1], (TRect{640, 40, 1280, 286}));
    EXPECT_EQ(s[6], (TRect{0, 778, 640, 1024}));
}

// Windows that get no cell of their minimum size in any grid cascade inside the area.
TEST(WindowTiling, WindowsThatFitNoGridCascade) {
    const std::vector<TRect> r = TileRects({0, 0, 800, 600}, Same(12, 500, 400), true);
    ASSERT_EQ(r.size(), 12u);
    EXPECT_EQ(r[0], (TRect{0, 0, 608, 408}));
    EXPECT_EQ(r[1], (TRect{24, 24, 632, 432}));
    EXPECT_EQ(r[8], (TRect{192, 192, 800, 600}));
    EXPECT_EQ(r[9], r[0]);
}

// Whatever the number of windows and their minimum size, each keeps it and stays in the work area,
// and windows in a grid never overlap.
TEST(WindowTiling, EveryWindowInsideTheAreaAtItsMinimumSize) {
    for (int count = 1; count <= 16; ++count)
        for (int minWidth : {1, 320, 500, 700, 1280})
            for (int minHeight : {1, 236, 480, 984})
                for (bool sideBySide : {true, false}) {
                    SCOPED_TRACE(std::to_string(count) + " windows of " + std::to_string(minWidth) + "x" +
                                 std::to_string(minHeight) + (sideBySide ? " side by side" : " stacked"));
                    const std::vector<TRect> r = TileRects(kArea, Same(count, minWidth, minHeight), sideBySide);
                    ASSERT_EQ(r.size(), static_cast<size_t>(count));
                    bool overlapping = false;
                    for (int i = 0; i < count; ++i) {
                        EXPECT_TRUE(Inside(r[i], kArea));
                        EXPECT_GE(r[i].Width(), minWidth);
                        EXPECT_GE(r[i].Height(), minHeight);
                        for (int j = 0; j < i; ++j) overlapping = overlapping || Overlap(r[i], r[j]);
                    }
                    // Cascaded windows overlap by design; a window as large as the area cannot even be
                    // shifted, and every one takes the whole area.
                    if (!Cascaded(r)) {
                        EXPECT_FALSE(overlapping);
                    }
                }
}

// One window showing its frame preview needs more height than the others: arranging once took
// that minimum for every window and cascaded all seven. Now the windows stay in lanes: side by side
// the larger one gets the height it needs and the window above or below it the rest; stacked, its
// row is taller than the others.
TEST(WindowTiling, ALargerMinimumGetsALargerCellInsteadOfACascade) {
    const TRect area{0, 0, 1478, 855};
    for (int larger = 0; larger < 7; ++larger)
        for (bool sideBySide : {true, false}) {
            SCOPED_TRACE(std::to_string(larger) + (sideBySide ? " side by side" : " stacked"));
            std::vector<TMinimumSize> minimums = Same(7, 330, 270);
            minimums[static_cast<size_t>(larger)] = {330, 560};
            const std::vector<TRect> r = TileRects(area, minimums, sideBySide);
            EXPECT_FALSE(Cascaded(r));
            ExpectLanes(r, area, minimums);
        }
    std::vector<TMinimumSize> minimums = Same(7, 320, 236);
    minimums[1] = {320, 600};
    const std::vector<TRect> r = TileRects(kArea, minimums, true);
    EXPECT_EQ(r[0], (TRect{0, 40, 320, 424})); // the window above it gives up its height
    EXPECT_EQ(r[1], (TRect{0, 424, 320, 1024}));
    EXPECT_EQ(r[2], (TRect{320, 40, 640, 532}));
    // Stacked, its row is 600 high and the others share the rest.
    const std::vector<TRect> s = TileRects(kArea, minimums, false);
    EXPECT_EQ(s[1].Height(), 600);
    EXPECT_FALSE(Cascaded(s));
    ExpectLanes(s, kArea, minimums);
}

// Whether some cut of the windows into runs fits lanes side by side: each run's minimum heights
// adding up to at most the area's height, the runs' widest minimums to at most its width. Tried
// over every cut.
bool SomeCutFits(const TRect& area, const std::vector<TMinimumSize>& minimums) {
    const int count = static_cast<int>(minimums.size());
    for (unsigned cuts = 0; cuts < (1u << (count - 1)); ++cuts) {
        int used = 0, widest = 0, width = 0;
        bool fits = true;
        for (int i = 0; i < count && fits; ++i) {
            if (i > 0 && (cuts >> (i - 1) & 1u)) width += widest, used = 0, widest = 0;
            used += minimums[static_cast<size_t>(i)].Height;
            widest = std::max(widest, minimums[static_cast<size_t>(i)].Width);
            fits = used <= area.Height();
        }
        if (fits && width + widest <= area.Width()) return true;
    }
    return false;
}

// Against every cut into lanes: windows of random minimum sizes cascade only when no cut fits, and
// otherwise stand in lanes, each at least its own minimum.
TEST(WindowTiling, CascadesOnlyWhenNoCutIntoLanesFits) {
    std::mt19937 random(39);
    std::uniform_int_distribution<int> count(1, 9), width(200, 700), height(150, 700);
    const TRect area{0, 30, 1400, 1000};
    for (int round = 0; round < 3000; ++round) {
        std::vector<TMinimumSize> minimums(static_cast<size_t>(count(random)));
        for (TMinimumSize& m : minimums) m = {width(random), height(random)};
        SCOPED_TRACE(round);
        const std::vector<TRect> r = TileRects(area, minimums, true);
        if (SomeCutFits(area, minimums))
            ExpectLanes(r, area, minimums);
        else
            EXPECT_TRUE(Cascaded(r) || minimums.size() == 1);
    }
}

} // namespace
