#include "store/window_scale.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(FindScale, StopsAtTheFirstScaleThatNoLongerFits) {
    // 600 x 480 in 1000 x 700: the width stops at s = 1667 (1000 > 1000.2 fails),
    // the height at s = 1459 (700 > 700.32 fails); the height wins.
    EXPECT_EQ(FindScale(600, 480, 1000, 0.8, 700), 11664);
    EXPECT_EQ(FindScale(600, 480, 1000, 1.0, 700), 14580);
}

TEST(FindScale, ScaleOneWhenTheBaseFitsExactly) {
    // At s = 1000 the window is exactly as large as the area: that no longer fits.
    EXPECT_EQ(FindScale(600, 480, 600, 1.0, 10000), 9990);
}

TEST(FindScale, ATinyAreaGivesTheFirstScaleMinusOne) {
    EXPECT_EQ(FindScale(600, 480, 10, 1.0, 10), 990);
}

TEST(FindScale, AnAreaLargerThanTenTimesTheBaseGivesTheLargestScale) {
    EXPECT_EQ(FindScale(10, 10, 100000, 1.0, 100000), 100000);
}

}  // namespace
}  // namespace kelvo
