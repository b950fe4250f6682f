#include "play/Shot.h"
#include "play/BallColor.h"

#include <gtest/gtest.h>

TEST(Shot, StartsJustBelowTheBottomAndReachesTheTopOnItsTwentyFirstMove) {
    Shot shot(Red, 0.5f);
    EXPECT_EQ(shot.getY(), -1.1f);
    EXPECT_EQ(shot.color, Red);
    EXPECT_TRUE(shot.isAlive());
    for (int move = 1; move <= 20; ++move) {
        shot.move();
        ASSERT_LT(shot.getY(), 1.0f) << "after move " << move;
    }
    shot.move();
    EXPECT_GE(shot.getY(), 1.0f);
    EXPECT_EQ(shot.getX(), 0.5f);
}
