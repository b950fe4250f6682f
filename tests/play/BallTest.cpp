#include "play/Ball.h"
#include "play/BallColor.h"

#include <gtest/gtest.h>

TEST(Ball, KeepsWhatItWasMadeWithAndStartsAlive) {
    const Ball ball(0.5f, -0.25f, 1.3f, Blue);
    EXPECT_EQ(ball.getColor(), Blue);
    EXPECT_EQ(ball.getX(), -0.25f);
    EXPECT_EQ(ball.getY(), 1.3f);
    EXPECT_TRUE(ball.isAlive());
}

TEST(Ball, FallLowersYBySpeedTimesFactor) {
    Ball ball(0.2f, 0.0f, 1.0f, Red);
    ball.fall(0.01f);
    EXPECT_NEAR(ball.getY(), 0.998f, 1e-6);
    EXPECT_EQ(ball.getX(), 0.0f);
}

TEST(Ball, FallWorksInDoubleAndRoundsOnceToFloat) {
    // For these values the float-only product and difference round differently.
    const float speed = 2.91f;
    const float factor = 0.01f;
    const float start = 1.1f;
    const volatile float floatProduct = speed * factor;
    const float floatOnly = start - floatProduct;
    const float inDouble =
        static_cast<float>(static_cast<double>(start) - static_cast<double>(speed) * factor);
    ASSERT_NE(floatOnly, inDouble);

    Ball ball(speed, 0.0f, start, Red);
    ball.fall(factor);
    EXPECT_EQ(ball.getY(), inDouble);
}

TEST(Ball, ZeroFactorLeavesItWhereItIs) {
    Ball ball(3.0f, 0.1f, -0.4f, Red);
    ball.fall(0.0f);
    EXPECT_EQ(ball.getY(), -0.4f);
}
