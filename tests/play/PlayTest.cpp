// A level's world, loop, timer and parameters, by known values: srand(1) places known balls.
#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/FrameTimer.h"
#include "play/LevelParameters.h"
#include "play/LevelResult.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "support/Scenes.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

std::string layout(const BallSet& world) {
    std::ostringstream out;
    for (const Ball& ball : world.getBalls()) {
        out << ball.getX() << "," << ball.getY() << (ball.getColor() == Blue ? "b " : "r ");
    }
    return out.str();
}

// Lives lost and points over the steps; balls and shots left; the last step's clearing.
std::string stepped(BallSet& world, int steps) {
    int lives = 0;
    int points = 0;
    bool cleared = false;
    for (int i = 0; i < steps; ++i) {
        const StepOutcome outcome = world.step(BallSet::LevelFallFactor);
        lives += outcome.livesLost;
        points += world.pointsGained();
        cleared = outcome.levelCleared;
    }
    std::ostringstream out;
    out << "lives " << lives << " points " << points << " balls " << world.getBalls().size()
        << " shots " << world.getShots().size() << (cleared ? " cleared" : "");
    return out.str();
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
    EXPECT_EQ(layout(world), "0.383,2.7b -0.223,3.6b 0.793,3.6r 0.386,2.3r -0.351,1.2r "
                             "-0.638,1.8b -0.31,3b 0.763,2.7b 0.172,2.7b 0.211,1.9r ");
    world.spawnBalls(0, 0.18f, 30);
    EXPECT_EQ(std::rand(), 1315634022) << "no rand() for no balls: the sequence goes on";
    // 25 balls cannot all find room in one row: the placement still ends,
    // every ball more than 0.2 from every other on some axis.
    world.spawnBalls(25, 0.18f, 1);
    for (const Ball& a : world.getBalls()) {
        for (const Ball& b : world.getBalls()) {
            ASSERT_TRUE(&a == &b || std::abs(a.getX() - b.getX()) > 0.2f ||
                        std::abs(a.getY() - b.getY()) > 0.2f);
        }
    }
}

TEST_F(World, StepsChargeLivesScoreHitsAndClearTheLevel) {
    const struct {
        std::vector<Ball> balls;
        std::vector<Shot> shots;
        Difficulty difficulty;
        int steps;
        const char* after;
    } cases[] = {
        {{{1.0f, 0.0f, 0.5f, Red}}, {}, Easy, 50, "lives 0 points 0 balls 1 shots 0"},
        {{{0.0f, 0.0f, -1.0f, Red}}, {}, Easy, 1, "lives 1 points 0 balls 0 shots 0 cleared"},
        {{{0.0f, 0.0f, -0.9999f, Red}}, {}, Easy, 1, "lives 0 points 0 balls 1 shots 0"},
        {{}, {{Red, 0.0f}}, Easy, 20, "lives 0 points 0 balls 0 shots 1 cleared"},
        {{}, {{Red, 0.0f}}, Easy, 21, "lives 1 points 0 balls 0 shots 0 cleared"},
        {{{0.0f, 0.0f, 0.0f, Blue}},
         {{Blue, 0.1f, -0.1f}},
         Normal,
         1,
         "lives 0 points 2 balls 0 "
         "shots 0 cleared"},
        // The hit square is closed on its left edge too.
        {{{0.0f, 0.0f, 0.0f, Blue}},
         {{Blue, -0.1f, -0.1f}},
         Normal,
         1,
         "lives 0 points 2 balls 0 "
         "shots 0 cleared"},
        {{{0.0f, 0.0f, 0.0f, Blue}},
         {{Blue, 0.1001f, -0.1f}},
         Normal,
         1,
         "lives 0 points 0 "
         "balls 1 shots 1"},
        {{{0.0f, 0.0f, 0.0f, Red}},
         {{Red, 0.0f, -0.1f}},
         Insane,
         1,
         "lives 0 points 4 balls 0 "
         "shots 0 cleared"},
        {{{0.0f, 0.0f, 0.0f, Red}, {0.0f, 0.5f, 3.0f, Red}},
         {{Blue, 0.0f, -0.1f}},
         Hard,
         1,
         "lives 1 points 0 balls 1 shots 0"},
        // A shot past the top is gone before it could hit.
        {{{0.0f, 0.0f, 1.0f, Red}},
         {{Red, 0.0f, 0.95f}},
         Easy,
         1,
         "lives 1 points 0 balls 1 "
         "shots 0"},
        {{{0.0f, -0.5f, -1.0f, Red}, {0.0f, 0.5f, -1.0f, Red}, {0.0f, 0.0f, 0.0f, Red}},
         {{Blue, 0.0f, -0.1f}, {Blue, 0.8f, 0.95f}},
         Easy,
         1,
         "lives 4 points 0 balls 0 shots 0 cleared"},
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
        EXPECT_EQ(stepped(world, c.steps), c.after) << &c - cases;
    }
    world.addBall({0.5f, 0.0f, 0.5f, Red});
    stepped(world, 50);
    EXPECT_EQ(world.getBalls().back().getY(), 0.250000238f) << "0.5 - 50 x 0.005, as floats";
}

// Two shots fired in turn rise together: the older meets the ball. Of two
// balls under one shot, the first placed is hit.
TEST_F(World, TheOldestShotAndTheFirstPlacedBallMeet) {
    world.addBall({0.0f, 0.0f, -0.6f, Blue});
    world.fireShot(Red, 0.0f);
    world.fireShot(Blue, 0.0f);
    EXPECT_EQ(stepped(world, 5), "lives 1 points 0 balls 0 shots 1 cleared");
    EXPECT_EQ(world.getShots().front().color, Blue);
    world.addBall({0.0f, 0.0f, -0.5f, Blue});
    world.addBall({0.0f, 0.05f, -0.5f, Blue});
    EXPECT_EQ(stepped(world, 1), "lives 0 points 1 balls 1 shots 0");
    EXPECT_EQ(layout(world), "0.05,-0.5b ");
}

TEST_F(World, TheWorldLooksAsItsReference) {
    const Scene scene = worldScene();
    EXPECT_EQ(differenceFromReference(drawnFrame([&] { scene.draw(game); }), scene.name), "");
}

// One known blue ball at (0.383, 1.1) falling 0.1 a tick (speed 10): a shot
// fired under it at pixel 415 meets it on the 11th tick.
TEST(LevelLoop, ClicksTicksAndKeysPlayTheLevelToItsEnd) {
    const auto events = [](std::vector<SDL_Event> clicks, int ticks, SDL_Event last) {
        clicks.insert(clicks.end(), ticks, userEvent(0));
        clicks.push_back(last);
        clicks.push_back(userEvent(MarkerCode));
        return clicks;
    };
    const SDL_Event tick = userEvent(0);
    const SDL_Event blue = mouseDown(415, 0);
    const SDL_Event red = mouseDown(415, 0, SDL_BUTTON_RIGHT);
    const struct {
        int lives;
        std::vector<SDL_Event> events;
        int result;
        const char* status;
    } cases[] = {
        {5, events({blue}, 10, tick), LevelCleared, "Points: 1 Lives: 5 Level: 7"},
        {5, events({red}, 10, tick), LevelCleared, "Points: 0 Lives: 4 Level: 7"},
        {1, events({red}, 10, tick), GameOver, "Points: 0 Lives: 0 Level: 7"},
        // Five misses leave the top on the tick the ball lands.
        {5, events(std::vector<SDL_Event>(5, mouseDown(0, 0)), 20, tick), GameOver,
         "Points: 0 Lives: -1 Level: 7"},
        {5,
         events({mouseDown(415, 0, SDL_BUTTON_MIDDLE), keyDown(SDLK_a), keyUp(SDLK_ESCAPE),
                 userEvent(1), mouseUp(415, 0)},
                0, keyDown(SDLK_ESCAPE)),
         GameOver, "Points: 0 Lives: 5 Level: 7"},
    };
    Game& game = testGame();
    const TextDisplay& text = game.getTextDisplay();
    for (const auto& c : cases) {
        game.startGame(Easy);
        game.getRoundState()->loseLives(5 - c.lives);
        std::srand(1);
        pushEvents(c.events);
        EXPECT_EQ(game.playLevel(7, 1, 10.0f, 1), c.result) << c.status;
        EXPECT_TRUE(markerIsNext()) << c.status;
        EXPECT_EQ(text.getPointsText() + " " + text.getLivesText() + " " + text.getLevelText(),
                  c.status);
    }
    EXPECT_EQ(layout(game.getBallSet()), "0.383,1.1b ") << "only ticks move the world";
}

// A game goes on from level to level while each is cleared.
TEST(LevelParameters, EachClearedLevelLeadsToTheNextWithThreeBallsARowAndTheSpeedStepMore) {
    const struct {
        Difficulty difficulty;
        int levels;
        LevelParameters expected;
    } cases[] = {
        {Easy, 0, {0, 10, 0.18f, 30}},
        {Insane, 0, {0, 10, 0.27f, 30}},
        {Normal, 2, {2, 16, 0.329999983f, 32}},
        {Hard, 10, {10, 40, 1.13999987f, 40}},
        {Insane, 60, {60, 190, 7.46999502f, 90}},
    };
    for (const auto& c : cases) {
        LevelParameters level{};
        int played = 0;
        playLevelsUntilOver(c.difficulty, [&](const LevelParameters& next) {
            level = next;
            return ++played <= c.levels ? LevelCleared : GameOver;
        });
        const LevelParameters& e = c.expected;
        EXPECT_TRUE(level.number == e.number && level.ballCount == e.ballCount &&
                    level.speed == e.speed && level.spread == e.spread)
            << c.difficulty << " " << c.levels << ": " << level.ballCount << " " << level.speed;
        EXPECT_EQ(played, c.levels + 1) << "the game ends with the first level not cleared";
    }
}

TEST(FrameTimer, TicksFollowTheClockToTheNearestTickCatchingUpAtMostTen) {
    const Uint32 cases[][3] = {
        // elapsed ms, ticks counted, ticks due
        {10, 0, 1}, {20, 1, 1}, {9, 0, 1},    {24, 1, 1},   {4, 0, 0},      {15, 0, 2},
        {30, 3, 0}, {50, 1, 4}, {100, 0, 10}, {110, 0, 10}, {60000, 5, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameTimer::ticksDue(c[0], c[1], 10), c[2]) << c[0] << " ms, " << c[1];
    }
    // After a stall of 300 ms ten ticks are posted and the other twenty
    // forgiven: from then on only what the clock adds is owed.
    TickClock clock;
    clock.start(10, 1000);
    const Uint32 calls[][2] = {{1300, 10}, {1300, 0}, {1310, 1}, {1320, 1}};
    for (const auto& call : calls) {
        EXPECT_EQ(clock.takeDue(call[0]), call[1]) << "at " << call[0] << " ms";
    }
}
