#include "shell/LevelParameters.h"
#include "play/BallSet.h"
#include "play/Placement.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

namespace {

LevelParameters levelNumber(int number, int difficultyCode) {
    LevelParameters level = firstLevel(difficultyCode);
    while (level.number < number) {
        level = nextLevel(level, difficultyCode);
    }
    return level;
}

}  // namespace

TEST(LevelParameters, EveryGameStartsAtLevelZeroWithTenBallsInThirtyRows) {
    const float startSpeeds[] = {0.18f, 0.21f, 0.24f, 0.27f};
    for (int code = Easy; code <= Insane; ++code) {
        const LevelParameters level = firstLevel(code);
        EXPECT_EQ(level.number, 0);
        EXPECT_EQ(level.ballCount, 10);
        EXPECT_EQ(level.spread, 30);
        EXPECT_EQ(level.speed, startSpeeds[code - Easy]) << "difficulty " << code;
    }
}

TEST(LevelParameters, EachClearedLevelAddsOneThreeAStepAndARow) {
    const LevelParameters next = nextLevel(firstLevel(Hard), Hard);
    EXPECT_EQ(next.number, 1);
    EXPECT_EQ(next.ballCount, 13);
    EXPECT_EQ(next.spread, 31);
    EXPECT_NEAR(next.speed, 0.33f, 1e-6);
}

TEST(LevelParameters, NormalLevelTwoHasSixteenBallsInThirtyTwoRowsAtAboutAThird) {
    const LevelParameters level = levelNumber(2, Normal);
    EXPECT_EQ(level.ballCount, 16);
    EXPECT_EQ(level.spread, 32);
    EXPECT_NEAR(level.speed, 0.33, 1e-6);
}

TEST(LevelParameters, InsaneLevelFiveFallsAtAboutPointEightSeven) {
    EXPECT_NEAR(levelNumber(5, Insane).speed, 0.87, 1e-6);
}

TEST(LevelParameters, TheSpeedIsRoundedToFloatAfterEveryStep) {
    float speed = 0.18f;
    for (int level = 1; level <= 40; ++level) {
        speed = static_cast<float>(static_cast<double>(speed) + 0.03);
    }
    EXPECT_EQ(levelNumber(40, Easy).speed, speed);
}

TEST(LevelParameters, ASecondGameStartsAgainFromTheFirstLevel) {
    LevelParameters reached = levelNumber(9, Easy);
    ASSERT_EQ(reached.ballCount, 37);
    reached = firstLevel(Insane);
    EXPECT_EQ(reached.number, 0);
    EXPECT_EQ(reached.ballCount, 10);
    EXPECT_EQ(reached.spread, 30);
}

TEST(LevelParameters, TheGameFlowPlaysTheFirstLevelWithThem) {
    Game& game = testGame();
    game.startGame(Insane);
    pushKeyDown(SDLK_ESCAPE);
    game.playGame();
    EXPECT_EQ(game.getTextDisplay().getLevelText(), "Level: 0");
    ASSERT_EQ(game.getBallSet().getBalls().size(), 10u);
    for (const Ball& ball : game.getBallSet().getBalls()) {
        EXPECT_LE(ball.getY(), placementRow(29, 30));
    }
}
