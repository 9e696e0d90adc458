#include "Messages.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// Client points are signed 16-bit values: a point left of or above the window must come back negative.
TEST(Messages, PointsPackAndUnpackSigned) {
    struct {
        int X, Y;
    } cases[] = {{0, 0}, {12, 345}, {-1, 5}, {7, -20}, {32767, -32768}};
    for (const auto& c : cases) {
        const TLParam p = MakeLParam(c.X, c.Y);
        EXPECT_EQ(LowWord(p), c.X);
        EXPECT_EQ(HighWord(p), c.Y);
    }
    EXPECT_EQ(MakeLParam(SB_THUMBTRACK, 7), 0x00070005);
}

} // namespace
} // namespace quillon
