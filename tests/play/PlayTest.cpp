// The world of a level, its loop, its timer and the level parameters, with
// known values: the unseeded rand() sequence (srand(1)) places known balls.
#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/FrameTimer.h"
#include "play/LevelParameters.h"
#include "play/LevelResult.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Placed {
    float x, y;
    int color;
};

std::vector<Placed> placed(const BallSet& world) {
    std::vector<Placed> balls;
    for (const Ball& ball : world.getBalls()) {
        balls.push_back({ball.getX(), ball.getY(), ball.getColor()});
    }
    return balls;
}

bool operator==(const Placed& a, const Placed& b) {
    return a.x == b.x && a.y == b.y && a.color == b.color;
}

// The world's state after steps, each step's outcome summed.
struct Steps {
    int livesLost = 0, points = 0, balls = 0, shots = 0;
    bool cleared = false;
};

Steps stepped(BallSet& world, int steps) {
    Steps total;
    for (int i = 0; i < steps; ++i) {
        const StepOutcome outcome = world.step(BallSet::LevelFallFactor);
        total.livesLost += outcome.livesLost;
        total.points += world.pointsGained();
        total.cleared = outcome.levelCleared;
    }
    total.balls = static_cast<int>(world.getBalls().size());
    total.shots = static_cast<int>(world.getShots().size());
    return total;
}

class World : public testing::Test {
protected:
    Game& game = testGame();  // the OpenGL context, before the world builds its models
    BallSet world;
};

}  // namespace

TEST_F(World, AFirstLevelPlacesTheKnownBallsOfTheUnseededSequence) {
    std::srand(1);
    world.spawnBalls(10, 0.18f, 30);
    const std::vector<Placed> expected = {
        {0.383f, 2.7f, Blue}, {-0.223f, 3.6f, Blue}, {0.793f, 3.6f, Red},  {0.386f, 2.3f, Red},
        {-0.351f, 1.2f, Red}, {-0.638f, 1.8f, Blue}, {-0.31f, 3.0f, Blue}, {0.763f, 2.7f, Blue},
        {0.172f, 2.7f, Blue}, {0.211f, 1.9f, Red}};
    EXPECT_EQ(placed(world), expected);
    world.spawnBalls(0, 0.18f, 30);
    EXPECT_TRUE(world.getBalls().empty());
    EXPECT_EQ(std::rand(), 1315634022) << "no rand() for no balls: the sequence goes on";
}

// 200 balls in one row cannot all find room: every ball still ends up more
// than 0.2 from every other on some axis.
TEST_F(World, PlacementAlwaysEndsWithEveryBallApart) {
    world.spawnBalls(200, 0.18f, 1);
    const std::list<Ball>& balls = world.getBalls();
    for (auto a = balls.begin(); a != balls.end(); ++a) {
        for (auto b = std::next(a); b != balls.end(); ++b) {
            const bool apart =
                std::abs(a->getX() - b->getX()) > 0.2f || std::abs(a->getY() - b->getY()) > 0.2f;
            ASSERT_TRUE(apart) << a->getX() << "," << a->getY() << " " << b->getX() << ","
                               << b->getY();
        }
    }
}

TEST_F(World, StepsChargeLivesScoreHitsAndClearTheLevel) {
    const struct {
        const char* what;
        std::vector<Ball> balls;
        std::vector<Shot> shots;
        Difficulty difficulty;
        int steps;
        Steps after;
    } cases[] = {
        {"a ball falls by speed x 0.01", {{1.0f, 0.0f, 0.5f, Red}}, {}, Easy, 50, {0, 0, 1, 0}},
        {"a ball at exactly -1 is charged",
         {{0.0f, 0.0f, -1.0f, Red}},
         {},
         Easy,
         1,
         {1, 0, 0, 0, true}},
        {"not just above it", {{0.0f, 0.0f, -0.9999f, Red}}, {}, Easy, 1, {0, 0, 1, 0}},
        {"a shot reaches the top on its 21st step",
         {},
         {{Red, 0.0f}},
         Easy,
         20,
         {0, 0, 0, 1, true}},
        {"and costs a life", {}, {{Red, 0.0f}}, Easy, 21, {1, 0, 0, 0, true}},
        {"a hit on the square's edge",
         {{0.0f, 0.0f, 0.0f, Blue}},
         {{Blue, 0.1f, -0.1f}},
         Normal,
         1,
         {0, 2, 0, 0, true}},
        {"just outside it",
         {{0.0f, 0.0f, 0.0f, Blue}},
         {{Blue, 0.1001f, -0.1f}},
         Normal,
         1,
         {0, 0, 1, 1}},
        {"Insane scores four",
         {{0.0f, 0.0f, 0.0f, Red}},
         {{Red, 0.0f, -0.1f}},
         Insane,
         1,
         {0, 4, 0, 0, true}},
        {"a wrong colour costs a life",
         {{0.0f, 0.0f, 0.0f, Red}, {0.0f, 0.5f, 3.0f, Red}},
         {{Blue, 0.0f, -0.1f}},
         Insane,
         1,
         {1, 0, 1, 0}},
        {"a shot past the top is gone first",
         {{0.0f, 0.0f, 1.0f, Red}},
         {{Red, 0.0f, 0.95f}},
         Easy,
         1,
         {1, 0, 1, 0}},
        {"several lives in one step",
         {{0.0f, -0.5f, -1.0f, Red}, {0.0f, 0.5f, -1.0f, Red}, {0.0f, 0.0f, 0.0f, Red}},
         {{Blue, 0.0f, -0.1f}, {Blue, 0.8f, 0.95f}},
         Easy,
         1,
         {4, 0, 0, 0, true}},
    };
    for (const auto& c : cases) {
        world.spawnBalls(0, 0.0f, 1);
        world.dropShots();
        world.setDifficulty(c.difficulty);
        for (const Ball& ball : c.balls) {
            world.addBall(ball);
        }
        for (const Shot& shot : c.shots) {
            world.addShot(shot);
        }
        const Steps after = stepped(world, c.steps);
        EXPECT_EQ(after.livesLost, c.after.livesLost) << c.what;
        EXPECT_EQ(after.points, c.after.points) << c.what;
        EXPECT_EQ(after.balls, c.after.balls) << c.what;
        EXPECT_EQ(after.shots, c.after.shots) << c.what;
        EXPECT_EQ(after.cleared, c.after.cleared) << c.what;
    }
    world.addBall({0.5f, 0.0f, 0.5f, Red});
    stepped(world, 50);
    EXPECT_EQ(world.getBalls().back().getY(), 0.250000238f) << "0.5 - 50 x 0.005, as floats";
}

// Two shots fired in turn rise together: the older meets the ball. Of two
// balls under one shot, the first placed is hit.
TEST_F(World, TheOldestShotAndTheFirstPlacedBallMeet) {
    world.setDifficulty(Easy);
    world.addBall({0.0f, 0.0f, -0.6f, Blue});
    world.fireShot(Red, 0.0f);
    world.fireShot(Blue, 0.0f);
    EXPECT_EQ(stepped(world, 5).livesLost, 1) << "the red shot, fired first, met the blue ball";
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.getShots().front().color, Blue);

    world.addBall({0.0f, 0.0f, -0.5f, Blue});
    world.addBall({0.0f, 0.05f, -0.5f, Blue});
    EXPECT_EQ(stepped(world, 1).points, 1);
    ASSERT_EQ(world.getBalls().size(), 1u);
    EXPECT_EQ(world.getBalls().front().getX(), 0.05f);
}

// Balls in their colours and lit, darts in front of balls, balls half in
// the window at its edges.
TEST_F(World, TheWorldLooksAsItsReference) {
    for (const Ball& ball : {Ball(0.0f, -0.5f, 0.5f, Red), Ball(0.0f, 0.5f, 0.5f, Blue),
                             Ball(0.0f, -0.5f, 1.05f, Blue), Ball(0.0f, 0.5f, -1.05f, Red)}) {
        world.addBall(ball);
    }
    world.addShot({Blue, -0.5f, 0.45f});
    world.addShot({Red, 0.0f, -0.5f});
    EXPECT_EQ(differenceFromReference(drawnFrame([&] { world.draw(); }), "world"), "");
}

// One known blue ball at (0.383, 1.1), falling 0.1 a tick (speed 10): a shot
// fired under it at pixel 415 meets it on the 11th tick.
TEST(LevelLoop, ClicksTicksAndKeysPlayTheLevelToItsEnd) {
    Game& game = testGame();
    const SDL_Event tick = userEvent(0);
    const auto ticks = [&](int n) { return std::vector<SDL_Event>(n, tick); };
    const auto then = [](std::vector<SDL_Event> a, const std::vector<SDL_Event>& b) {
        a.insert(a.end(), b.begin(), b.end());
        a.push_back(userEvent(MarkerCode));
        return a;
    };
    const struct {
        const char* what;
        int livesBefore;
        std::vector<SDL_Event> events;
        int result;
        const char* status;  // points, lives
    } cases[] = {
        {"a hit", 5, then({mouseDown(415, 0)}, ticks(11)), LevelCleared, "Points: 1Lives: 5"},
        {"a wrong colour", 5, then({mouseDown(415, 0, SDL_BUTTON_RIGHT)}, ticks(11)), LevelCleared,
         "Points: 0Lives: 4"},
        {"the last life with the last ball", 1,
         then({mouseDown(415, 0, SDL_BUTTON_RIGHT)}, ticks(11)), GameOver, "Points: 0Lives: 0"},
        {"five misses as the ball lands", 5,
         then(std::vector<SDL_Event>(5, mouseDown(0, 0)), ticks(21)), GameOver,
         "Points: 0Lives: -1"},
        {"Escape", 5,
         then({mouseDown(415, 0, SDL_BUTTON_MIDDLE), keyDown(SDLK_a), keyUp(SDLK_ESCAPE),
               userEvent(1), motion(415, 0), mouseUp(415, 0)},
              {keyDown(SDLK_ESCAPE)}),
         GameOver, "Lives: 5"},
    };
    for (const auto& c : cases) {
        game.startGame(Easy);
        game.getRoundState()->loseLives(5 - c.livesBefore);
        std::srand(1);
        pushEvents(c.events);
        EXPECT_EQ(game.playLevel(7, 1, 10.0f, 1), c.result) << c.what;
        EXPECT_TRUE(markerIsNext()) << c.what;
        const TextDisplay& text = game.getTextDisplay();
        const std::string status = text.getPointsText() + text.getLivesText();
        EXPECT_NE(status.find(c.status), std::string::npos) << c.what << ": " << status;
        EXPECT_EQ(text.getLevelText(), "Level: 7");
    }
    EXPECT_EQ(game.getBallSet().getBalls().front().getY(), 1.1f) << "only ticks move the world";
}

TEST(LevelLoop, LeftFiresBlueRightFiresRedAtTheClicksFieldXAndShotsCarryOver) {
    Game& game = testGame();
    game.startGame(Easy);
    pushEvents({mouseDown(0, 9), mouseDown(300, 9, SDL_BUTTON_RIGHT), mouseDown(599, 9),
                keyDown(SDLK_ESCAPE)});
    game.playLevel(0, 1, 0.18f, 30);
    pushEvents({keyDown(SDLK_ESCAPE)});
    game.playLevel(1, 1, 0.18f, 30);
    std::vector<std::pair<int, float>> shots;
    for (const Shot& shot : game.getBallSet().getShots()) {
        shots.emplace_back(shot.color, shot.getX());
        EXPECT_EQ(shot.getY(), -1.1f);
    }
    const std::vector<std::pair<int, float>> expected = {
        {Blue, -1.0f}, {Red, 0.0f}, {Blue, 0.99666667f}};
    EXPECT_EQ(shots, expected);
}

TEST(LevelParameters, EachLevelAddsThreeBallsARowAndTheSpeedStepRoundedToFloat) {
    const struct {
        Difficulty difficulty;
        int levels;
        LevelParameters expected;
    } cases[] = {
        {Easy, 0, {0, 10, 0.18f, 30}},
        {Normal, 0, {0, 10, 0.21f, 30}},
        {Hard, 0, {0, 10, 0.24f, 30}},
        {Insane, 0, {0, 10, 0.27f, 30}},
        {Normal, 2, {2, 16, 0.329999983f, 32}},
        {Hard, 10, {10, 40, 1.13999987f, 40}},
        {Insane, 60, {60, 190, 7.46999502f, 90}},
    };
    for (const auto& c : cases) {
        LevelParameters level = firstLevel(c.difficulty);
        for (int i = 0; i < c.levels; ++i) {
            level = nextLevel(level, c.difficulty);
        }
        EXPECT_EQ(level.number, c.expected.number);
        EXPECT_EQ(level.ballCount, c.expected.ballCount) << c.difficulty << " " << c.levels;
        EXPECT_EQ(level.speed, c.expected.speed) << c.difficulty << " " << c.levels;
        EXPECT_EQ(level.spread, c.expected.spread) << c.difficulty << " " << c.levels;
    }
}

TEST(FrameTimer, TicksFollowTheClockToTheNearestTickCatchingUpAtMostTen) {
    const struct {
        Uint32 elapsed, counted, due;
    } cases[] = {
        {10, 0, 1}, {20, 1, 1}, {9, 0, 1},    {24, 1, 1},   {4, 0, 0},      {15, 0, 2},
        {30, 3, 0}, {50, 1, 4}, {100, 0, 10}, {110, 0, 10}, {60000, 5, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameTimer::ticksDue(c.elapsed, c.counted, 10), c.due)
            << c.elapsed << " ms, " << c.counted << " counted";
    }
}
