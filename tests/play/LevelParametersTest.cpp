#include "play/LevelParameters.h"

#include <gtest/gtest.h>

namespace {

LevelParameters levelNumber(int number, Difficulty difficulty) {
    LevelParameters level = firstLevel(difficulty);
    while (level.number < number) {
        level = nextLevel(level, difficulty);
    }
    return level;
}

}  // namespace

TEST(LevelParameters, EveryGameStartsAtLevelZeroAndEachLevelAddsThreeBallsARowAndTheSpeedStep) {
    struct Case {
        int number;
        Difficulty difficulty;
        int ballCount;
        int spread;
        double speed;
    };
    const Case cases[] = {{0, Easy, 10, 30, 0.18},   {0, Normal, 10, 30, 0.21},
                          {0, Hard, 10, 30, 0.24},   {0, Insane, 10, 30, 0.27},
                          {1, Hard, 13, 31, 0.33},   {2, Normal, 16, 32, 0.33},
                          {5, Insane, 25, 35, 0.87}, {9, Easy, 37, 39, 0.45}};
    for (const Case& c : cases) {
        const LevelParameters level = levelNumber(c.number, c.difficulty);
        EXPECT_EQ(level.number, c.number);
        EXPECT_EQ(level.ballCount, c.ballCount) << "level " << c.number << " at " << c.difficulty;
        EXPECT_EQ(level.spread, c.spread) << "level " << c.number << " at " << c.difficulty;
        EXPECT_NEAR(level.speed, c.speed, 1e-6) << "level " << c.number << " at " << c.difficulty;
    }
}

TEST(LevelParameters, TheSpeedIsRoundedToFloatAfterEveryStep) {
    float speed = 0.18f;
    for (int level = 1; level <= 40; ++level) {
        speed = static_cast<float>(static_cast<double>(speed) + 0.03);
    }
    EXPECT_EQ(levelNumber(40, Easy).speed, speed);
}
