#include "play/RoundState.h"

#include <gtest/gtest.h>

TEST(RoundState, AGameStartsWithNoPointsAndFiveLivesAndPointsAddUp) {
    RoundState round;
    EXPECT_EQ(round.getPoints(), 0);
    EXPECT_EQ(round.getLives(), 5);
    EXPECT_FALSE(round.isOver());
    round.addPoints(3);
    round.addPoints(0);
    round.addPoints(4);
    EXPECT_EQ(round.getPoints(), 7);
}

TEST(RoundState, OverAtExactlyNoLivesLeftWithThePointsKeptAndLivesCanGoBelowZero) {
    RoundState round;
    round.addPoints(12);
    round.loseLives(4);
    EXPECT_FALSE(round.isOver());
    round.loseLives(1);
    EXPECT_TRUE(round.isOver());
    EXPECT_EQ(round.getPoints(), 12);
    round.loseLives(2);
    EXPECT_EQ(round.getLives(), -2);
    EXPECT_TRUE(round.isOver());
}
