#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/LevelResult.h"
#include "play/Placement.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "shell/LevelParameters.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

// Events pushed before playLevel is called are all handled before the first
// real tick: the level's timer starts inside playLevel, so its ticks queue
// up behind them. Every test ends its level with a pushed Escape or a rule.

namespace {

// A level of one ball in one row: where rand() puts it, as the game will.
struct LoneBall {
    float x;
    int color;
};

LoneBall nextLoneBall() {
    std::srand(1);
    const int xDraw = std::rand();
    std::rand();  // the row: a spread of 1 has only one
    const int colorDraw = std::rand();
    std::srand(1);
    return {placementColumn(xDraw), colorDraw & 1};
}

int pixelUnder(float fieldX) {
    const long pixel = std::lround(300.0 + 300.0 * fieldX);
    return static_cast<int>(std::min(599L, std::max(0L, pixel)));
}

void pushTicks(int count) {
    for (int i = 0; i < count; ++i) {
        pushTick();
    }
}

// True when a pushed Escape is still waiting: the level ended before it.
bool escapeStillQueued() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
            return true;
        }
    }
    return false;
}

std::array<GLfloat, 4> clearColor() {
    std::array<GLfloat, 4> color{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, color.data());
    return color;
}

// Stands in for the player pressing Escape later, from SDL's timer thread.
Uint32 pressEscapeOnce(Uint32, void*) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&event);
    return 0;
}

constexpr float SlowFall = 0.2f;
constexpr float OneTenthPerTick = 10.0f;  // at the fall factor 0.01
constexpr float OneUnitPerTick = 100.0f;

class PlayLevelTest : public testing::Test {
protected:
    PlayLevelTest() { game.startGame(Normal); }

    int playFirstLevel() { return game.playLevel(0, 10, SlowFall, 30); }
    int playLoneBall(float speed) { return game.playLevel(0, 1, speed, 1); }

    Game& game = testGame();
    BallSet& world = game.getBallSet();
    RoundState& round() { return *game.getRoundState(); }
    TextDisplay& status = game.getTextDisplay();
};

}  // namespace

// ---- Clicks and keys ----

TEST_F(PlayLevelTest, ALeftClickFiresBlueFromThePixelsFieldX) {
    pushMouseDown(0, 300, SDL_BUTTON_LEFT);
    pushMouseDown(300, 100, SDL_BUTTON_LEFT);
    pushMouseDown(599, 599, SDL_BUTTON_LEFT);
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    ASSERT_EQ(world.getShots().size(), 3u);
    auto shot = world.getShots().begin();
    EXPECT_EQ(shot->getX(), -1.0f);
    EXPECT_EQ(shot->color, Blue);
    EXPECT_EQ((++shot)->getX(), 0.0f);
    EXPECT_NEAR((++shot)->getX(), 0.9967f, 1e-4);
    EXPECT_EQ(shot->getX(), static_cast<float>(2.0 * (599 - 300) / 600));
    EXPECT_EQ(shot->getY(), -1.1f);
}

TEST_F(PlayLevelTest, ARightClickFiresRed) {
    pushMouseDown(450, 300, SDL_BUTTON_RIGHT);
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.getShots().front().color, Red);
    EXPECT_EQ(world.getShots().front().getX(), 0.5f);
}

TEST_F(PlayLevelTest, OtherButtonsKeysAndUserEventsChangeNothing) {
    pushMouseDown(300, 300, SDL_BUTTON_LEFT);
    pushMouseDown(300, 300, SDL_BUTTON_MIDDLE);
    pushMouseDown(300, 300, SDL_BUTTON_WHEELUP);
    pushMouseDown(300, 300, SDL_BUTTON_WHEELDOWN);
    pushMouseUp(300, 300, SDL_BUTTON_LEFT);
    pushMotion(100, 100);
    pushKeyDown(SDLK_a);
    pushKeyDown(SDLK_SPACE);
    pushKeyDown(SDLK_RETURN);
    pushKeyUp(SDLK_ESCAPE);
    pushUserEvent(1);
    pushUserEvent(-1);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playFirstLevel(), GameOver);
    ASSERT_EQ(world.getShots().size(), 1u) << "only the left click fired";
    EXPECT_EQ(world.getShots().front().getY(), -1.1f) << "the world did not advance";
    EXPECT_EQ(world.getBalls().size(), 10u);
    for (const Ball& ball : world.getBalls()) {
        EXPECT_GE(ball.getY(), 1.1f);
    }
    EXPECT_EQ(round().getLives(), 5);
    EXPECT_EQ(round().getPoints(), 0);
}

TEST_F(PlayLevelTest, EscapeEndsTheGameWithLivesLeft) {
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playFirstLevel(), GameOver);
    EXPECT_EQ(round().getLives(), 5);
}

TEST_F(PlayLevelTest, ClosingTheWindowEndsTheProgramWithStatusZero) {
    EXPECT_EXIT(
        {
            pushQuit();
            playFirstLevel();
        },
        testing::ExitedWithCode(0), "");
}

// ---- Ticks and frames ----

TEST_F(PlayLevelTest, QueuedTicksAreAllAppliedBeforeTheNextFrame) {
    // A frame would replace this clear colour with the background's.
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    pushMouseDown(300, 300);
    pushTicks(5);
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    Shot expected(Blue, 0.0f);
    for (int tick = 0; tick < 5; ++tick) {
        expected.move();
    }
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_EQ(world.getShots().front().getY(), expected.getY());
    EXPECT_EQ(clearColor(), (std::array<GLfloat, 4>{1.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(PlayLevelTest, AnEmptyQueueDrawsAFrame) {
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    SDL_AddTimer(30, pressEscapeOnce, nullptr);
    EXPECT_EQ(playFirstLevel(), GameOver);
    EXPECT_EQ(clearColor(), (std::array<GLfloat, 4>{0.6f, 0.6f, 0.7f, 1.0f}));
}

TEST_F(PlayLevelTest, ATickMovesTheWorldOnlyOnce) {
    pushMouseDown(300, 300);
    pushTick();
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    EXPECT_EQ(world.getShots().front().getY(), -1.1f + 0.1f);
}

// ---- How a level ends ----

TEST_F(PlayLevelTest, AHitOnTheLastBallClearsTheLevelAndKeepsItsPoints) {
    const LoneBall ball = nextLoneBall();
    // The ball falls a tenth per tick and meets the shot at mid-field on tick 11.
    pushMouseDown(pixelUnder(ball.x), 300, ball.color == Blue ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
    pushTicks(15);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playLoneBall(OneTenthPerTick), LevelCleared);
    EXPECT_TRUE(escapeStillQueued());
    EXPECT_EQ(round().getPoints(), Normal);
    EXPECT_EQ(round().getLives(), 5);
    EXPECT_EQ(status.getPointsText(), "Points: 2");
}

TEST_F(PlayLevelTest, TheLastBallFallingOutClearsTheLevelAfterTakingALife) {
    pushTicks(5);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playLoneBall(OneUnitPerTick), LevelCleared);
    EXPECT_TRUE(escapeStillQueued());
    EXPECT_EQ(round().getLives(), 4);
    EXPECT_EQ(status.getLivesText(), "Lives: 4");
}

TEST_F(PlayLevelTest, TheLastBallFallingOutWithTheLastLifeEndsTheGame) {
    round().loseLives(4);
    pushTicks(5);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playLoneBall(OneUnitPerTick), GameOver);
    EXPECT_TRUE(escapeStillQueued());
    EXPECT_EQ(round().getLives(), 0);
    EXPECT_EQ(status.getLivesText(), "Lives: 0");
}

TEST_F(PlayLevelTest, AWrongColourHitOnTheLastBallWithTheLastLifeEndsTheGame) {
    round().loseLives(4);
    const LoneBall ball = nextLoneBall();
    pushMouseDown(pixelUnder(ball.x), 300, ball.color == Blue ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
    pushTicks(15);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playLoneBall(OneTenthPerTick), GameOver);
    EXPECT_TRUE(escapeStillQueued());
    EXPECT_EQ(round().getLives(), 0);
    EXPECT_TRUE(world.getBalls().empty());
}

TEST_F(PlayLevelTest, FiveLivesLostEndTheGameAndKeepThePoints) {
    round().addPoints(7);
    for (int pixel = 50; pixel < 600; pixel += 110) {
        pushMouseDown(pixel, 300);
    }
    pushTicks(21);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playFirstLevel(), GameOver);
    EXPECT_TRUE(escapeStillQueued());
    EXPECT_EQ(round().getLives(), 0);
    EXPECT_EQ(round().getPoints(), 7);
    EXPECT_EQ(status.getPointsText(), "Points: 7");
}

TEST_F(PlayLevelTest, ThreeLivesLostWithTwoLeftEndAtMinusOne) {
    round().loseLives(3);
    for (int pixel = 100; pixel <= 500; pixel += 200) {
        pushMouseDown(pixel, 300);
    }
    pushTicks(21);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playFirstLevel(), GameOver);
    EXPECT_EQ(round().getLives(), -1);
    EXPECT_EQ(status.getLivesText(), "Lives: -1");
}

TEST_F(PlayLevelTest, ShotsInFlightCarryOverToTheNextLevel) {
    const LoneBall ball = nextLoneBall();
    // Fired on the far side, so it cannot meet the ball.
    pushMouseDown(ball.x > 0.0f ? 30 : 570, 300);
    pushTicks(5);
    EXPECT_EQ(playLoneBall(OneUnitPerTick), LevelCleared);
    drainEvents();
    ASSERT_EQ(world.getShots().size(), 1u);
    const float height = world.getShots().front().getY();
    pushKeyDown(SDLK_ESCAPE);
    game.playLevel(1, 13, SlowFall, 31);
    ASSERT_EQ(world.getShots().size(), 1u);
    EXPECT_GE(world.getShots().front().getY(), height);
}

// ---- The status line ----

TEST_F(PlayLevelTest, TheStatusLineStartsWithTheRoundAndTheLevelNumber) {
    round().addPoints(12);
    round().loseLives(1);
    pushKeyDown(SDLK_ESCAPE);
    game.playLevel(7, 31, SlowFall, 37);
    EXPECT_EQ(status.getPointsText(), "Points: 12");
    EXPECT_EQ(status.getLivesText(), "Lives: 4");
    EXPECT_EQ(status.getLevelText(), "Level: 7");
}

TEST_F(PlayLevelTest, AFreshGameShowsZeroFiveAndZero) {
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    EXPECT_EQ(status.getPointsText(), "Points: 0");
    EXPECT_EQ(status.getLivesText(), "Lives: 5");
    EXPECT_EQ(status.getLevelText(), "Level: 0");
}

namespace {

bool cellIsEmpty(int left) {
    for (const std::uint8_t row : readGlyphCell(left, 30)) {
        if (row != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST_F(PlayLevelTest, TheStatusLineIsDrawnAtThirtyOneFiftyAndTwoSeventyOnTheBaseline) {
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    game.beginOverlayFrame();
    game.beginOverlayFrame();
    world.draw();
    status.drawStatusLine();
    // A lone "0" with its baseline at window pixel 300, to compare against.
    glRasterPos2f(0.0f, 0.0f);
    status.printString("0");
    const std::vector<std::uint8_t> zero = readGlyphCell(300, 300);
    ASSERT_NE(zero, std::vector<std::uint8_t>(13, 0));

    EXPECT_TRUE(cellIsEmpty(20));
    EXPECT_FALSE(cellIsEmpty(30)) << "P";
    EXPECT_EQ(readGlyphCell(110, 30), zero) << "the 0 of \"Points: 0\"";
    EXPECT_TRUE(cellIsEmpty(130));
    EXPECT_TRUE(cellIsEmpty(140));
    EXPECT_FALSE(cellIsEmpty(150)) << "L of Lives";
    EXPECT_FALSE(cellIsEmpty(220)) << "the 5 of \"Lives: 5\"";
    EXPECT_TRUE(cellIsEmpty(250));
    EXPECT_TRUE(cellIsEmpty(260));
    EXPECT_FALSE(cellIsEmpty(270)) << "L of Level";
    EXPECT_EQ(readGlyphCell(340, 30), zero) << "the 0 of \"Level: 0\"";
    EXPECT_TRUE(cellIsEmpty(350));
}
