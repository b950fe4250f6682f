#include "play/Shot.h"
#include "play/BallColor.h"

#include <gtest/gtest.h>

TEST(Shot, StartsJustBelowTheBottomEdgeAtItsX) {
    const Shot shot(Red, 0.5f);
    EXPECT_EQ(shot.getX(), 0.5f);
    EXPECT_EQ(shot.getY(), -1.1f);
    EXPECT_EQ(shot.color, Red);
    EXPECT_TRUE(shot.isAlive());
}

TEST(Shot, RisesATenthPerMove) {
    Shot shot(Blue, 0.0f);
    shot.move();
    EXPECT_NEAR(shot.getY(), -1.0f, 1e-6);
    shot.move();
    EXPECT_NEAR(shot.getY(), -0.9f, 1e-6);
    EXPECT_EQ(shot.getX(), 0.0f);
}

TEST(Shot, ReachesTheTopOnItsTwentyFirstMove) {
    Shot shot(Blue, 0.0f);
    for (int move = 1; move <= 20; ++move) {
        shot.move();
        ASSERT_LT(shot.getY(), 1.0f) << "after move " << move;
    }
    shot.move();
    EXPECT_GE(shot.getY(), 1.0f);
}

TEST(Shot, CanBePlacedAnywhere) {
    Shot shot(Red, -0.3f, 0.9f);
    EXPECT_EQ(shot.getY(), 0.9f);
    shot.move();
    // 0.9f + 0.1f rounds to exactly 1: the top edge itself.
    EXPECT_EQ(shot.getY(), 1.0f);
}
