#include "WindowTiling.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillon;

namespace {

const TRect kArea{0, 40, 1280, 1024}; // a work area under a top panel, 1280 x 984

bool Inside(const TRect& r, const TRect& area) {
    return r.Left >= area.Left && r.Top >= area.Top && r.Right <= area.Right && r.Bottom <= area.Bottom;
}

bool Overlap(const TRect& a, const TRect& b) { return !Intersect(a, b).IsEmpty(); }

// When every column gets the minimum width, the windows share the width evenly, whole height each,
// the first at the left; stacked, the height.
TEST(WindowTiling, WindowsThatFitShareTheAreaEvenly) {
    const std::vector<TRect> sides = TileRects(kArea, 3, 320, 236, true);
    EXPECT_EQ(sides, (std::vector<TRect>{{0, 40, 426, 1024}, {426, 40, 852, 1024}, {853, 40, 1279, 1024}}));
    const std::vector<TRect> stacked = TileRects(kArea, 3, 320, 236, false);
    EXPECT_EQ(stacked, (std::vector<TRect>{{0, 40, 1280, 368}, {0, 368, 1280, 696}, {0, 696, 1280, 1024}}));
}

// Seven windows of at least 320 pixels cannot stand side by side in 1280: four columns hold two
// each (the last one), filled from the top.
TEST(WindowTiling, TooManyForOneRowAreStackedInColumns) {
    const std::vector<TRect> r = TileRects(kArea, 7, 320, 236, true);
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0], (TRect{0, 40, 320, 532}));
    EXPECT_EQ(r[1], (TRect{0, 532, 320, 1024}));
    EXPECT_EQ(r[2], (TRect{320, 40, 640, 532}));
    EXPECT_EQ(r[6], (TRect{960, 40, 1280, 532}));
    // Stacked, five rows of 236 fit in 984: two columns of four rows, filled from the left.
    const std::vector<TRect> s = TileRects(kArea, 7, 320, 236, false);
    EXPECT_EQ(s[0], (TRect{0, 40, 640, 286}));
    EXPECT_EQ(s[1], (TRect{640, 40, 1280, 286}));
    EXPECT_EQ(s[6], (TRect{0, 778, 640, 1024}));
}

// Windows that get no cell of their minimum size in any grid cascade inside the area.
TEST(WindowTiling, WindowsThatFitNoGridCascade) {
    const std::vector<TRect> r = TileRects({0, 0, 800, 600}, 12, 500, 400, true);
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
                    const std::vector<TRect> r = TileRects(kArea, count, minWidth, minHeight, sideBySide);
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
                    const bool cascaded =
                        count > 1 && ((r[1].Left - r[0].Left == 24 && r[1].Top - r[0].Top == 24) || r[1] == r[0]);
                    if (!cascaded) {
                        EXPECT_FALSE(overlapping);
                    }
                }
}

} // namespace
