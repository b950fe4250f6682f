#include "play/Ball.h"
#include "play/BallColor.h"

#include <gtest/gtest.h>

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
