#include "play/RoundState.h"

#include <gtest/gtest.h>

TEST(RoundState, AGameStartsWithNoPointsAndFiveLives) {
    const RoundState round;
    EXPECT_EQ(round.getPoints(), 0);
    EXPECT_EQ(round.getLives(), 5);
    EXPECT_FALSE(round.isOver());
}

TEST(RoundState, PointsAddUpOneForOne) {
    RoundState round;
    round.addPoints(3);
    round.addPoints(0);
    round.addPoints(4);
    EXPECT_EQ(round.getPoints(), 7);
}

TEST(RoundState, LosingLivesCountsDown) {
    RoundState round;
    round.loseLives(1);
    round.loseLives(2);
    EXPECT_EQ(round.getLives(), 2);
    EXPECT_FALSE(round.isOver());
}

TEST(RoundState, OverAtExactlyNoLivesLeft) {
    RoundState round;
    round.loseLives(4);
    EXPECT_FALSE(round.isOver());
    round.loseLives(1);
    EXPECT_EQ(round.getLives(), 0);
    EXPECT_TRUE(round.isOver());
}

TEST(RoundState, ThreeLivesLostWithTwoLeftGoesBelowZero) {
    RoundState round;
    round.loseLives(3);
    round.loseLives(3);
    EXPECT_EQ(round.getLives(), -1);
    EXPECT_TRUE(round.isOver());
}

TEST(RoundState, PointsSurviveTheEndOfTheGame) {
    RoundState round;
    round.addPoints(12);
    round.loseLives(5);
    EXPECT_EQ(round.getPoints(), 12);
}
