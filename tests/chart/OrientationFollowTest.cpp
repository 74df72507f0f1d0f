#include <gtest/gtest.h>

#include "chart/OrientationFollow.h"

namespace norq::chart {
namespace {

TEST(OrientationFollow, TurnsAtTenDegreesTheShortWayAcrossNorth) {
    OrientationFollow follow;
    follow.restart(355.0f, 90.0f);
    EXPECT_FALSE(follow.step(true, 4.0f, 90.0f));  // 9° across north
    EXPECT_TRUE(follow.step(true, 5.0f, 90.0f));   // 10°
    EXPECT_FALSE(follow.armed());                  // until the chart is turned
    EXPECT_FALSE(follow.step(true, 40.0f, 90.0f));
    follow.arm();
    // Course up looks at the course only: the heading swings freely.
    EXPECT_FALSE(follow.step(false, 200.0f, 99.0f));
    EXPECT_TRUE(follow.step(false, 200.0f, 100.0f));
    EXPECT_EQ(AngleBetween(10.0f, 350.0f), 20.0f);
    EXPECT_EQ(AngleBetween(0.0f, 180.0f), 180.0f);
}

TEST(OrientationFollow, ASlowSwingIsFollowedAtFiveDegreesAfterTwentyQuietSteps) {
    OrientationFollow follow;
    follow.restart(0.0f, 0.0f);
    for (int i = 0; i < OrientationFollow::kSkipLimit; ++i) {
        ASSERT_FALSE(follow.step(true, 6.0f, 0.0f)) << i;
    }
    EXPECT_TRUE(follow.step(true, 6.0f, 0.0f));
    follow.arm();
    // The count starts again after a turn: 5° alone is not enough now.
    EXPECT_FALSE(follow.step(true, 11.0f, 0.0f));
    // A change of mode restarts the counting from the new direction.
    follow.restart(11.0f, 0.0f);
    EXPECT_FALSE(follow.step(true, 20.0f, 0.0f));
}

}  // namespace
}  // namespace norq::chart
