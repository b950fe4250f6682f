#include "play/BallSet.h"
#include "play/BallColor.h"
#include "play/Placement.h"
#include "shell/Game.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace {

constexpr float Still = 0.0f;  // a fall factor that keeps the balls where they are

// A world of its own: the BallSet builds display lists, so the window comes first.
class BallSetTest : public testing::Test {
protected:
    Game& game = testGame();
    BallSet world;

    // A ball that stays put under step(Still).
    void putBall(float x, float y, int color = Blue) { world.addBall(Ball(0.0f, x, y, color)); }
    // A shot that one step moves to (x, y).
    void putShotArrivingAt(float x, float y, int color = Blue) {
        world.addShot(Shot(color, x, y - Shot::Rise));
    }
    // Far from every shot the tests fire, so the level goes on.
    void putBystander() { putBall(-0.9f, 3.0f, Red); }
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

// Checks that the balls are exactly what the rand() values produce: each ball
// is the first candidate pair (x, y) that clashes with no ball before it,
// every pair passed over does clash, the colours are the values after the
// last pair, and nothing more was taken from the sequence.
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

// The first two candidates a seed gives, as rand() values: x, y, x, y.
struct TwoCandidates {
    unsigned seed;
    int firstX;
    int firstY;
    int secondX;
    int secondY;
};

// The first seed whose two first candidates fit `wanted`.
template <typename Wanted> TwoCandidates seedWhere(Wanted wanted) {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        TwoCandidates c{seed, 0, 0, 0, 0};
        c.firstX = std::rand();
        c.firstY = std::rand();
        c.secondX = std::rand();
        c.secondY = std::rand();
        if (wanted(c)) {
            std::srand(seed);
            return c;
        }
    }
}

bool isCandidate(const Ball& ball, int xDraw, int yDraw, int spread) {
    return ball.getX() == placementColumn(xDraw) && ball.getY() == placementRow(yDraw, spread);
}

int thousandthsApart(const TwoCandidates& c) {
    return std::abs(c.secondX % 2000 - c.firstX % 2000);
}

bool isRowOfSpread(float y, int spread) {
    for (int row = 0; row < spread; ++row) {
        if (y == placementRow(row, spread)) {
            return true;
        }
    }
    return false;
}

}  // namespace

// ---- Placing the balls of a level ----

TEST_F(BallSetTest, SpawnPlacesCountBallsInTheSpreadRowsNoTwoWithinTwoTenths) {
    world.spawnBalls(40, 0.3f, 30);
    ASSERT_EQ(world.getBalls().size(), 40u);
    for (auto a = world.getBalls().begin(); a != world.getBalls().end(); ++a) {
        EXPECT_TRUE(isRowOfSpread(a->getY(), 30)) << a->getY();
        EXPECT_GE(a->getX(), -1.0f);
        EXPECT_LT(a->getX(), 1.0f);
        for (auto b = world.getBalls().begin(); b != a; ++b) {
            const bool apartInX = std::abs(double(a->getX()) - b->getX()) > 0.2;
            const bool apartInY = std::abs(double(a->getY()) - b->getY()) > 0.2;
            EXPECT_TRUE(apartInX || apartInY) << "balls overlap";
        }
    }
}

TEST_F(BallSetTest, ACandidate0199AwayInTheSameRowIsDrawnAgain) {
    const TwoCandidates c =
        seedWhere([](const TwoCandidates& c) { return thousandthsApart(c) == 199; });
    world.spawnBalls(2, 0.2f, 1);
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getBalls().front().getX(), placementColumn(c.firstX));
    EXPECT_FALSE(isCandidate(world.getBalls().back(), c.secondX, c.secondY, 1));
}

TEST_F(BallSetTest, ACandidate0201AwayInTheSameRowIsTaken) {
    const TwoCandidates c =
        seedWhere([](const TwoCandidates& c) { return thousandthsApart(c) == 201; });
    world.spawnBalls(2, 0.2f, 1);
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getBalls().back().getX(), placementColumn(c.secondX));
}

TEST_F(BallSetTest, ACandidateThreeRowsAwayIsTakenRightAboveAnotherBall) {
    const TwoCandidates c = seedWhere([](const TwoCandidates& c) {
        return thousandthsApart(c) == 0 && std::abs(c.secondY % 4 - c.firstY % 4) == 3;
    });
    world.spawnBalls(2, 0.2f, 4);
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getBalls().back().getX(), world.getBalls().front().getX());
    EXPECT_EQ(world.getBalls().back().getY(), placementRow(c.secondY, 4));
}

TEST_F(BallSetTest, ACandidateInTheNextRowRightAboveAnotherBallIsDrawnAgain) {
    const TwoCandidates c = seedWhere([](const TwoCandidates& c) {
        return thousandthsApart(c) == 0 && std::abs(c.secondY % 4 - c.firstY % 4) == 1;
    });
    world.spawnBalls(2, 0.2f, 4);
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_FALSE(isCandidate(world.getBalls().back(), c.secondX, c.secondY, 4));
}

TEST_F(BallSetTest, SpawnTakesPositionsThenColoursFromTheUnseededSequence) {
    const std::vector<int> values = unseededSequence(5000);
    world.spawnBalls(10, 0.18f, 30);
    expectLayoutFromSequence(world.getBalls(), values, 30, std::rand());
}

TEST_F(BallSetTest, SpawnAtADenseLevelStillFollowsTheSequence) {
    // Level 40 of a game: 130 balls in 70 rows, so many candidates clash.
    const std::vector<int> values = unseededSequence(200000);
    world.spawnBalls(130, 1.0f, 70);
    ASSERT_EQ(world.getBalls().size(), 130u);
    expectLayoutFromSequence(world.getBalls(), values, 70, std::rand());
}

TEST_F(BallSetTest, SpawnWithCountZeroEmptiesTheLevelAndDrawsNoRandomNumber) {
    putBall(0.0f, 0.0f);
    const std::vector<int> values = unseededSequence(1);
    world.spawnBalls(0, 0.2f, 30);
    EXPECT_TRUE(world.getBalls().empty());
    EXPECT_EQ(std::rand(), values[0]);
}

TEST_F(BallSetTest, SpawnReplacesTheBallsAndKeepsTheShotsInFlight) {
    putBall(0.0f, 0.0f);
    world.fireShot(Red, 0.5f);
    world.spawnBalls(3, 0.2f, 30);
    EXPECT_EQ(world.getBalls().size(), 3u);
    for (const Ball& ball : world.getBalls()) {
        EXPECT_GE(ball.getY(), 1.1f);
    }
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.getShots().front().getX(), 0.5f);
}

TEST_F(BallSetTest, EveryBallOfALevelFallsAtItsSpeed) {
    world.spawnBalls(12, 0.5f, 30);
    std::vector<float> before;
    for (const Ball& ball : world.getBalls()) {
        before.push_back(ball.getY());
    }
    world.step(BallSet::LevelFallFactor);
    std::size_t i = 0;
    for (const Ball& ball : world.getBalls()) {
        EXPECT_EQ(ball.getY(), static_cast<float>(before[i] - 0.5f * double(0.01f)));
        ++i;
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

// ---- Firing ----

TEST_F(BallSetTest, FireAppendsAShotAtTheBottomAsTheYoungest) {
    world.fireShot(Blue, -0.25f);
    world.fireShot(Red, 0.75f);
    ASSERT_EQ(world.getShots().size(), 2u);
    const Shot& youngest = world.getShots().back();
    EXPECT_EQ(youngest.getX(), 0.75f);
    EXPECT_EQ(youngest.getY(), -1.1f);
    EXPECT_EQ(youngest.color, Red);
    EXPECT_EQ(world.getShots().front().color, Blue);
}

TEST_F(BallSetTest, DropShotsLeavesTheBalls) {
    putBall(0.0f, 0.0f);
    world.fireShot(Blue, 0.0f);
    world.dropShots();
    EXPECT_TRUE(world.getShots().empty());
    EXPECT_EQ(world.getBalls().size(), 1u);
}

// ---- One step ----

TEST_F(BallSetTest, AStepLowersTheBallsAndRaisesTheShots) {
    world.addBall(Ball(0.3f, 0.5f, 0.5f, Red));
    world.fireShot(Blue, -0.5f);
    const StepOutcome outcome = world.step(BallSet::LevelFallFactor);
    EXPECT_EQ(world.getBalls().front().getY(), static_cast<float>(0.5 - 0.3f * double(0.01f)));
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

TEST_F(BallSetTest, AShotAtExactlyTheTopEdgeIsCharged) {
    putBystander();
    putShotArrivingAt(0.5f, 1.0f);
    ASSERT_EQ(Shot(Blue, 0.5f, 1.0f - Shot::Rise).getY() + Shot::Rise, 1.0f);
    EXPECT_EQ(world.step(Still).livesLost, 1);
    EXPECT_TRUE(world.getShots().empty());
}

TEST_F(BallSetTest, ABallAtExactlyTheBottomEdgeIsChargedAndOneAboveIsNot) {
    putBystander();
    putBall(0.0f, -1.0f);
    putBall(0.5f, std::nextafter(-1.0f, 0.0f));
    EXPECT_EQ(world.step(Still).livesLost, 1);
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getBalls().back().getX(), 0.5f);
}

TEST_F(BallSetTest, ABallFallingOntoTheBottomEdgeIsCharged) {
    putBystander();
    // -0.99 less a hundredth rounds to exactly -1 as a float.
    world.addBall(Ball(1.0f, 0.0f, -0.99f, Red));
    EXPECT_EQ(world.step(BallSet::LevelFallFactor).livesLost, 1);
    EXPECT_EQ(world.getBalls().size(), 1u);
}

TEST_F(BallSetTest, TheHitSquareIncludesItsEdgesAsFloats) {
    putBystander();
    putBall(0.0f, 0.5f);
    putShotArrivingAt(0.1f, 0.5f);
    world.step(Still);
    EXPECT_EQ(world.getBalls().size(), 1u) << "a shot at x 0.1 hits a ball at x 0";
    EXPECT_TRUE(world.getShots().empty());
}

TEST_F(BallSetTest, AShotJustOutsideTheSquareMisses) {
    putBystander();
    putBall(0.0f, 0.5f);
    putShotArrivingAt(0.1001f, 0.5f);
    putShotArrivingAt(-0.1001f, 0.5f);
    putShotArrivingAt(0.0f, 0.6001f);
    world.step(Still);
    EXPECT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getShots().size(), 3u);
}

TEST_F(BallSetTest, AMatchingHitScoresAndRemovesBoth) {
    putBystander();
    putBall(0.0f, 0.0f, Blue);
    putShotArrivingAt(0.05f, 0.05f, Blue);
    const StepOutcome outcome = world.step(Still);
    EXPECT_EQ(world.pointsGained(), 1);
    EXPECT_EQ(outcome.livesLost, 0);
    EXPECT_EQ(world.getBalls().size(), 1u);
    EXPECT_TRUE(world.getShots().empty());
}

TEST_F(BallSetTest, AWrongColourHitCostsALifeAndRemovesBoth) {
    putBystander();
    putBall(0.0f, 0.0f, Red);
    putShotArrivingAt(0.0f, 0.0f, Blue);
    const StepOutcome outcome = world.step(Still);
    EXPECT_EQ(world.pointsGained(), 0);
    EXPECT_EQ(outcome.livesLost, 1);
    EXPECT_EQ(world.getBalls().size(), 1u);
    EXPECT_TRUE(world.getShots().empty());
}

TEST_F(BallSetTest, PointsGainedAreThoseOfTheLastStepOnly) {
    putBystander();
    putBall(0.0f, 0.0f);
    putShotArrivingAt(0.0f, 0.0f);
    world.step(Still);
    ASSERT_EQ(world.pointsGained(), 1);
    world.step(Still);
    EXPECT_EQ(world.pointsGained(), 0);
}

TEST_F(BallSetTest, AMatchingHitIsWorthTheDifficultyCode) {
    EXPECT_EQ(world.getPointsPerHit(), 1);
    for (int code = 1; code <= 4; ++code) {
        world.setDifficulty(code);
        putBystander();
        putBall(0.0f, 0.0f, Red);
        putShotArrivingAt(0.0f, 0.0f, Red);
        world.step(Still);
        EXPECT_EQ(world.pointsGained(), code);
    }
}

TEST_F(BallSetTest, TheOldestShotOnABallHitsItAndTheYoungerFliesOn) {
    putBystander();
    putBall(0.0f, 0.0f, Blue);
    putShotArrivingAt(-0.05f, 0.0f, Red);
    putShotArrivingAt(0.05f, 0.0f, Blue);
    const StepOutcome outcome = world.step(Still);
    EXPECT_EQ(outcome.livesLost, 1) << "the older, red shot decides";
    EXPECT_EQ(world.pointsGained(), 0);
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.getShots().front().getX(), 0.05f);
}

TEST_F(BallSetTest, AShotOverTwoBallsTakesTheFirstPlacedOnly) {
    putBystander();
    putBall(0.06f, 0.0f, Red);
    putBall(-0.06f, 0.0f, Blue);
    putShotArrivingAt(0.0f, 0.0f, Blue);
    world.step(Still);
    EXPECT_EQ(world.pointsGained(), 0);
    ASSERT_EQ(world.getBalls().size(), 2u);
    EXPECT_EQ(world.getBalls().back().getX(), -0.06f);
}

TEST_F(BallSetTest, AShotPastTheTopIsGoneBeforeItCouldHitABall) {
    putBall(0.0f, 1.05f, Blue);
    putShotArrivingAt(0.0f, 1.0f, Blue);
    const StepOutcome outcome = world.step(Still);
    EXPECT_EQ(outcome.livesLost, 1);
    EXPECT_EQ(world.pointsGained(), 0);
    EXPECT_EQ(world.getBalls().size(), 1u);
}

TEST_F(BallSetTest, SeveralLivesCanGoInOneStep) {
    putBystander();
    putShotArrivingAt(0.5f, 1.0f);
    putShotArrivingAt(0.7f, 1.0f);
    putBall(-0.5f, -1.0f);
    putBall(0.0f, -1.0f);
    putBall(0.5f, 0.0f, Red);
    putShotArrivingAt(0.5f, 0.0f, Blue);
    const StepOutcome outcome = world.step(Still);
    EXPECT_EQ(outcome.livesLost, 5);
    EXPECT_FALSE(outcome.levelCleared);
}

// ---- The end of a level: whenever the last ball is gone ----

TEST_F(BallSetTest, BallsLeftKeepTheLevelGoing) {
    putBall(0.0f, 0.0f);
    putBall(0.5f, 2.0f);
    putShotArrivingAt(0.0f, 0.0f);
    EXPECT_FALSE(world.step(Still).levelCleared);
}

TEST_F(BallSetTest, AMatchingHitOnTheLastBallClearsTheLevelWithItsPoints) {
    world.setDifficulty(3);
    putBall(0.0f, 0.0f);
    putShotArrivingAt(0.0f, 0.0f);
    const StepOutcome outcome = world.step(Still);
    EXPECT_TRUE(outcome.levelCleared);
    EXPECT_EQ(outcome.livesLost, 0);
    EXPECT_EQ(world.pointsGained(), 3);
}

TEST_F(BallSetTest, TheLastBallLeavingThroughTheBottomClearsTheLevelAndCostsALife) {
    putBall(0.0f, -1.0f);
    const StepOutcome outcome = world.step(Still);
    EXPECT_TRUE(outcome.levelCleared);
    EXPECT_EQ(outcome.livesLost, 1);
}

TEST_F(BallSetTest, AWrongColourHitOnTheLastBallClearsTheLevelAndCostsALife) {
    putBall(0.0f, 0.0f, Red);
    putShotArrivingAt(0.0f, 0.0f, Blue);
    const StepOutcome outcome = world.step(Still);
    EXPECT_TRUE(outcome.levelCleared);
    EXPECT_EQ(outcome.livesLost, 1);
}

TEST_F(BallSetTest, LivesCountedBeforeTheClearingHitStillCount) {
    putShotArrivingAt(0.8f, 1.0f);
    putBall(-0.5f, -1.0f);
    putBall(0.0f, 0.0f);
    putShotArrivingAt(0.0f, 0.0f);
    const StepOutcome outcome = world.step(Still);
    EXPECT_TRUE(outcome.levelCleared);
    EXPECT_EQ(outcome.livesLost, 2);
    EXPECT_EQ(world.pointsGained(), 1);
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

TEST_F(BallSetTest, BallsWaitingAtOrAboveOnePointOneAreNotDrawn) {
    putBall(-0.5f, 1.05f, Red);
    putBall(0.5f, 1.1f, Red);
    game.beginOverlayFrame();
    game.beginOverlayFrame();
    // Bring the rows above the field into view.
    glTranslatef(0.0f, -0.5f, 0.0f);
    world.draw();
    EXPECT_FALSE(nearColor(readPixel(pixelX(-0.5f), pixelRow(0.55f)), Background, 10));
    EXPECT_TRUE(nearColor(readPixel(pixelX(0.5f), pixelRow(0.6f)), Background));
}

TEST_F(BallSetTest, BallsAtOrBelowMinusOnePointOneAreNotDrawn) {
    putBall(-0.5f, -1.05f, Blue);
    putBall(0.5f, -1.1f, Blue);
    game.beginOverlayFrame();
    game.beginOverlayFrame();
    glTranslatef(0.0f, 0.5f, 0.0f);
    world.draw();
    EXPECT_FALSE(nearColor(readPixel(pixelX(-0.5f), pixelRow(-0.55f)), Background, 10));
    EXPECT_TRUE(nearColor(readPixel(pixelX(0.5f), pixelRow(-0.6f)), Background));
}

TEST_F(BallSetTest, ShotsInFlightAreDrawn) {
    world.addShot(Shot(Red, 0.0f, 0.0f));
    game.beginOverlayFrame();
    game.beginOverlayFrame();
    world.draw();
    const Rgb dart = readPixel(pixelX(0.0f), pixelRow(0.01f));
    EXPECT_GT(dart.r, dart.b + 10);
}
