#include "play/BallSet.h"
#include "play/BallColor.h"
#include "play/Placement.h"
#include "shell/Game.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr float Still = 0.0f;  // a fall factor that keeps the balls where they are

// The BallSet builds display lists, so the window comes first.
class BallSetTest : public testing::Test {
protected:
    Game& game = testGame();
    BallSet world;

    void putBall(float x, float y, int color = Blue) { world.addBall(Ball(0.0f, x, y, color)); }
    // A shot that one step moves to (x, y).
    void putShotArrivingAt(float x, float y, int color = Blue) {
        world.addShot(Shot(color, x, y - Shot::Rise));
    }
    // Far from every shot the tests fire, so the level goes on.
    void putBystander() { putBall(-0.9f, 3.0f, Red); }
    void clearWorld() {
        world.spawnBalls(0, 0.0f, 1);
        world.dropShots();
    }
};

// The unseeded rand() sequence every test process starts with; rand() is left at its start.
std::vector<int> unseededSequence(int length) {
    std::srand(1);
    std::vector<int> values;
    for (int i = 0; i < length; ++i) {
        values.push_back(std::rand());
    }
    std::srand(1);
    return values;
}

FieldPosition positionOf(const Ball& ball) {
    return {ball.getX(), ball.getY()};
}

bool clashesWithAny(const FieldPosition& candidate, const std::vector<FieldPosition>& placed) {
    for (const FieldPosition& position : placed) {
        if (placementClash(candidate, position, 0.2f)) {
            return true;
        }
    }
    return false;
}

// Each ball must be the first candidate pair (x, y) that clashes with no ball
// before it; then come the colours, and nothing more is taken from rand().
void expectLayoutFromSequence(const std::list<Ball>& balls, const std::vector<int>& values,
                              int spread, int nextAfterSpawn) {
    std::vector<FieldPosition> placed;
    std::size_t next = 0;
    for (const Ball& ball : balls) {
        for (;;) {
            ASSERT_LT(next + 1, values.size()) << "ball " << placed.size() << " not found";
            const FieldPosition candidate{placementColumn(values[next]),
                                          placementRow(values[next + 1], spread)};
            next += 2;
            if (candidate.x == ball.getX() && candidate.y == ball.getY()) {
                ASSERT_FALSE(clashesWithAny(candidate, placed)) << "ball " << placed.size();
                break;
            }
            ASSERT_TRUE(clashesWithAny(candidate, placed))
                << "a fitting candidate was passed over before ball " << placed.size();
        }
        placed.push_back(positionOf(ball));
    }
    for (const Ball& ball : balls) {
        EXPECT_EQ(ball.getColor(), values[next] & 1);
        ++next;
    }
    EXPECT_EQ(nextAfterSpawn, values[next]);
}

}  // namespace

// ---- Placing the balls of a level ----

TEST_F(BallSetTest, ASecondCandidateIsTakenOnlyWhenMoreThanTwoTenthsAway) {
    struct Case {
        int thousandthsApart;
        int rowsApart;
        int spread;
        bool taken;
    };
    const Case cases[] = {{199, 0, 1, false}, {201, 0, 1, true}, {0, 1, 4, false}, {0, 3, 4, true}};
    for (const Case& c : cases) {
        // The first seed whose first two candidates (x, y, x, y) lie as the case wants.
        int draws[4] = {};
        for (unsigned seed = 1;; ++seed) {
            std::srand(seed);
            for (int& draw : draws) {
                draw = std::rand();
            }
            if (std::abs(draws[2] % 2000 - draws[0] % 2000) == c.thousandthsApart &&
                std::abs(draws[3] % c.spread - draws[1] % c.spread) == c.rowsApart) {
                std::srand(seed);
                break;
            }
        }
        world.spawnBalls(2, 0.2f, c.spread);
        ASSERT_EQ(world.getBalls().size(), 2u);
        const Ball& second = world.getBalls().back();
        EXPECT_EQ(second.getX() == placementColumn(draws[2]) &&
                      second.getY() == placementRow(draws[3], c.spread),
                  c.taken)
            << c.thousandthsApart << " thousandths and " << c.rowsApart << " rows apart";
    }
}

TEST_F(BallSetTest, SpawnTakesEachFirstFreeCandidateThenTheColoursFromTheUnseededSequence) {
    // Level 0, and level 40 of a game, where many candidates clash.
    const int counts[] = {10, 130};
    const int spreads[] = {30, 70};
    for (int i = 0; i < 2; ++i) {
        const std::vector<int> values = unseededSequence(200000);
        world.spawnBalls(counts[i], 0.2f, spreads[i]);
        ASSERT_EQ(world.getBalls().size(), std::size_t(counts[i]));
        expectLayoutFromSequence(world.getBalls(), values, spreads[i], std::rand());
    }
}

TEST_F(BallSetTest, AnImpossibleDensityStillEndsWithEveryBallApart) {
    // A row holds at most ten balls; the rest must go to rows of their own.
    world.spawnBalls(60, 0.2f, 1);
    ASSERT_EQ(world.getBalls().size(), 60u);
    std::vector<FieldPosition> placed;
    for (const Ball& ball : world.getBalls()) {
        EXPECT_GE(ball.getY(), 1.1f);
        EXPECT_FALSE(clashesWithAny(positionOf(ball), placed));
        placed.push_back(positionOf(ball));
    }
}

TEST_F(BallSetTest, SpawnReplacesTheBallsKeepsTheShotsAndForNoBallsDrawsNoRandomNumber) {
    putBall(0.0f, 0.0f);
    world.fireShot(Red, 0.5f);
    world.spawnBalls(3, 0.2f, 30);
    EXPECT_EQ(world.getBalls().size(), 3u);
    for (const Ball& ball : world.getBalls()) {
        EXPECT_GE(ball.getY(), 1.1f);
    }
    const std::vector<int> values = unseededSequence(1);
    world.spawnBalls(0, 0.2f, 30);
    EXPECT_TRUE(world.getBalls().empty());
    EXPECT_EQ(std::rand(), values[0]);
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.getShots().front().getX(), 0.5f);
    world.dropShots();
    EXPECT_TRUE(world.getShots().empty());
}

// ---- One step ----

TEST_F(BallSetTest, AStepLowersEveryBallByItsSpeedAndRaisesTheShots) {
    world.spawnBalls(12, 0.5f, 30);
    std::vector<float> before;
    for (const Ball& ball : world.getBalls()) {
        before.push_back(ball.getY());
    }
    world.fireShot(Blue, -0.5f);
    const StepOutcome outcome = world.step(BallSet::LevelFallFactor);
    std::size_t i = 0;
    for (const Ball& ball : world.getBalls()) {
        EXPECT_EQ(ball.getY(), static_cast<float>(before[i++] - 0.5f * double(0.01f)));
    }
    EXPECT_EQ(world.getShots().front().getY(), -1.1f + 0.1f);
    EXPECT_EQ(outcome.livesLost, 0);
    EXPECT_FALSE(outcome.levelCleared);
}

TEST_F(BallSetTest, AShotReachesTheTopOnItsTwentyFirstStepAndCostsALife) {
    putBystander();
    world.fireShot(Blue, 0.9f);
    for (int step = 1; step <= 20; ++step) {
        ASSERT_EQ(world.step(BallSet::LevelFallFactor).livesLost, 0) << "step " << step;
    }
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.step(BallSet::LevelFallFactor).livesLost, 1);
    EXPECT_TRUE(world.getShots().empty());
}

TEST_F(BallSetTest, TheEdgesThemselvesAreChargedAndSeveralLivesGoInOneStep) {
    putBystander();
    putShotArrivingAt(0.5f, 1.0f);
    ASSERT_EQ(Shot(Blue, 0.5f, 1.0f - Shot::Rise).getY() + Shot::Rise, 1.0f);
    putBall(0.0f, -1.0f);
    putBall(0.5f, std::nextafter(-1.0f, 0.0f));
    // -0.99 less a hundredth rounds to exactly -1 as a float.
    world.addBall(Ball(1.0f, -0.5f, -0.99f, Red));
    putBall(-0.5f, 0.5f, Red);
    putShotArrivingAt(-0.5f, 0.5f, Blue);
    const StepOutcome outcome = world.step(BallSet::LevelFallFactor);
    EXPECT_EQ(outcome.livesLost, 4);
    EXPECT_FALSE(outcome.levelCleared);
    EXPECT_TRUE(world.getShots().empty());
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getBalls().back().getX(), 0.5f);
}

TEST_F(BallSetTest, TheHitSquareIncludesItsEdgesAsFloats) {
    struct Case {
        float x;
        float y;
        bool hits;
    };
    // Around a ball at (0, 0.5); 0.1f lies above 0.1 in double.
    const Case cases[] = {{0.1f, 0.5f, true},      {-0.1f, 0.5f, true},    {0.1001f, 0.5f, false},
                          {-0.1001f, 0.5f, false}, {0.0f, 0.6001f, false}, {0.0f, 0.3999f, false}};
    for (const Case& c : cases) {
        clearWorld();
        putBystander();
        putBall(0.0f, 0.5f);
        putShotArrivingAt(c.x, c.y);
        world.step(Still);
        EXPECT_EQ(world.getShots().empty(), c.hits) << c.x << ", " << c.y;
        EXPECT_EQ(world.getBalls().size(), c.hits ? 1u : 2u) << c.x << ", " << c.y;
    }
}

TEST_F(BallSetTest, AMatchingHitRemovesBothAndScoresTheDifficultyCodeForThatStepOnly) {
    for (int code = 1; code <= 4; ++code) {
        clearWorld();
        world.setDifficulty(static_cast<Difficulty>(code));
        putBystander();
        putBall(0.0f, 0.0f, Red);
        putShotArrivingAt(0.05f, 0.05f, Red);
        EXPECT_EQ(world.step(Still).livesLost, 0);
        EXPECT_EQ(world.pointsGained(), code);
        EXPECT_EQ(world.getBalls().size(), 1u);
        EXPECT_TRUE(world.getShots().empty());
        world.step(Still);
        EXPECT_EQ(world.pointsGained(), 0);
    }
}

TEST_F(BallSetTest, TheOldestShotOnABallAndTheFirstPlacedBallUnderAShotMeet) {
    putBystander();
    putBall(0.0f, 0.0f, Blue);
    putShotArrivingAt(-0.05f, 0.0f, Red);
    putShotArrivingAt(0.05f, 0.0f, Blue);
    // Under one blue shot: a red ball placed first, then a blue one.
    putBall(0.56f, 0.0f, Red);
    putBall(0.44f, 0.0f, Blue);
    putShotArrivingAt(0.5f, 0.0f, Blue);
    EXPECT_EQ(world.step(Still).livesLost, 2) << "the older red shot and the first red ball decide";
    EXPECT_EQ(world.pointsGained(), 0);
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.getShots().front().getX(), 0.05f);
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getBalls().back().getX(), 0.44f);
}

TEST_F(BallSetTest, AShotPastTheTopIsGoneBeforeItCouldHitABall) {
    putBall(0.0f, 1.05f, Blue);
    putShotArrivingAt(0.0f, 1.0f, Blue);
    EXPECT_EQ(world.step(Still).livesLost, 1);
    EXPECT_EQ(world.pointsGained(), 0);
    EXPECT_EQ(world.getBalls().size(), 1u);
}

// ---- The end of a level: whenever the last ball is gone ----

TEST_F(BallSetTest, TheLevelIsClearedWhateverRemovedTheLastBallWithTheStepsLivesAndPoints) {
    struct Case {
        const char* what;
        float lastBallY;
        int lastBallColor;
        bool blueShotAtIt;
        bool earlierLosses;  // a shot at the top and a ball at the bottom, placed first
        int livesLost;
        int points;
    };
    const Case cases[] = {{"a matching hit", 0.0f, Blue, true, false, 0, 3},
                          {"the bottom edge", -1.0f, Blue, false, false, 1, 0},
                          {"a wrong colour hit", 0.0f, Red, true, false, 1, 0},
                          {"a hit after lives were lost", 0.0f, Blue, true, true, 2, 3}};
    world.setDifficulty(Hard);
    for (const Case& c : cases) {
        clearWorld();
        if (c.earlierLosses) {
            putShotArrivingAt(0.8f, 1.0f);
            putBall(-0.5f, -1.0f);
        }
        putBall(0.0f, c.lastBallY, c.lastBallColor);
        if (c.blueShotAtIt) {
            putShotArrivingAt(0.0f, 0.0f);
        }
        const StepOutcome outcome = world.step(Still);
        EXPECT_TRUE(outcome.levelCleared) << c.what;
        EXPECT_EQ(outcome.livesLost, c.livesLost) << c.what;
        EXPECT_EQ(world.pointsGained(), c.points) << c.what;
        EXPECT_TRUE(world.getShots().empty()) << c.what;
    }
}

// ---- Drawing ----

namespace {

int pixelX(float x) {
    return static_cast<int>((x + 1.0f) * 300.0f);
}
int pixelRow(float y) {
    return static_cast<int>((1.0f - y) * 300.0f);
}

}  // namespace

TEST_F(BallSetTest, BallsAtOrBeyondOnePointOneAboveOrBelowAreNotDrawn) {
    for (const float side : {1.0f, -1.0f}) {
        putBall(-0.5f, 1.05f * side);
        putBall(0.5f, 1.1f * side);
    }
    for (const float side : {1.0f, -1.0f}) {
        game.beginOverlayFrame();
        game.beginOverlayFrame();
        // Bring the rows beyond the field into view.
        glTranslatef(0.0f, -0.5f * side, 0.0f);
        world.draw();
        EXPECT_FALSE(nearColor(readPixel(pixelX(-0.5f), pixelRow(0.55f * side)), Background, 10));
        EXPECT_TRUE(nearColor(readPixel(pixelX(0.5f), pixelRow(0.6f * side)), Background));
    }
}

TEST_F(BallSetTest, ShotsInFlightAreDrawn) {
    world.addShot(Shot(Red, 0.0f, 0.0f));
    game.beginOverlayFrame();
    game.beginOverlayFrame();
    world.draw();
    const Rgb dart = readPixel(pixelX(0.0f), pixelRow(0.01f));
    EXPECT_GT(dart.r, dart.b + 10);
}
