#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/LevelParameters.h"
#include "play/LevelResult.h"
#include "play/Placement.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

// Events pushed before playLevel are all handled before its timer's first
// tick. Every test ends its level with a pushed Escape or a rule.

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
    pushKeyDown(SDLK_ESCAPE);
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

TEST_F(PlayLevelTest, ALeftClickFiresBlueAndARightClickRedFromThePixelsFieldX) {
    struct Click {
        int pixel;
        Uint8 button;
        float x;
        int color;
    };
    const Click clicks[] = {{0, SDL_BUTTON_LEFT, -1.0f, Blue},
                            {300, SDL_BUTTON_LEFT, 0.0f, Blue},
                            {599, SDL_BUTTON_LEFT, static_cast<float>(2.0 * 299 / 600), Blue},
                            {450, SDL_BUTTON_RIGHT, 0.5f, Red}};
    for (const Click& click : clicks) {
        pushMouseDown(click.pixel, 100 + click.pixel / 2, click.button);  // the row plays no part
    }
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    ASSERT_EQ(world.getShots().size(), 4u);
    const Click* click = clicks;
    for (const Shot& shot : world.getShots()) {
        EXPECT_EQ(shot.getX(), click->x) << "pixel " << click->pixel;
        EXPECT_EQ(shot.color, click->color) << "pixel " << click->pixel;
        EXPECT_EQ(shot.getY(), -1.1f);
        ++click;
    }
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

TEST_F(PlayLevelTest, OnlyTicksAdvanceTheWorldAndQueuedOnesAllComeBeforeTheNextFrame) {
    // A frame would replace this clear colour with the background's.
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    for (const Uint8 button :
         {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN}) {
        pushMouseDown(300, 300, button);
    }
    pushMouseUp(300, 300, SDL_BUTTON_LEFT);
    pushMotion(100, 100);
    for (const SDLKey key : {SDLK_a, SDLK_SPACE, SDLK_RETURN}) {
        pushKeyDown(key);
    }
    pushKeyUp(SDLK_ESCAPE);
    pushUserEvent(1);
    pushUserEvent(-1);
    pushTicks(5);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playFirstLevel(), GameOver);
    Shot expected(Blue, 0.0f);
    for (int tick = 0; tick < 5; ++tick) {
        expected.move();
    }
    ASSERT_EQ(world.getShots().size(), 1u) << "only the left click fired";
    EXPECT_EQ(world.getShots().front().getY(), expected.getY());
    EXPECT_EQ(world.getBalls().size(), 10u);
    EXPECT_EQ(round().getLives(), 5);
    EXPECT_EQ(round().getPoints(), 0);
    EXPECT_EQ(clearColor(), (std::array<GLfloat, 4>{1.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(PlayLevelTest, AnEmptyQueueDrawsAFrame) {
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    SDL_AddTimer(30, pressEscapeOnce, nullptr);
    EXPECT_EQ(playFirstLevel(), GameOver);
    EXPECT_EQ(clearColor(), (std::array<GLfloat, 4>{0.6f, 0.6f, 0.7f, 1.0f}));
}

// ---- How a level ends ----

TEST_F(PlayLevelTest, AHitOnTheLastBallClearsTheLevelAndKeepsItsPoints) {
    const LoneBall ball = nextLoneBall();
    // The ball falls a tenth per tick and meets the shot at mid-field on tick 11.
    pushMouseDown(static_cast<int>(std::min(599L, std::lround(300.0 + 300.0 * ball.x))), 300,
                  ball.color == Blue ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
    pushTicks(15);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(playLoneBall(OneTenthPerTick), LevelCleared);
    EXPECT_TRUE(escapeStillQueued());
    EXPECT_EQ(round().getPoints(), Normal);
    EXPECT_EQ(round().getLives(), 5);
    EXPECT_EQ(status.getPointsText(), "Points: 2");
}

TEST_F(PlayLevelTest, LivesLostAreChargedFirstThenTheLevelEndsGameOverWhenNoneAreLeft) {
    struct Case {
        const char* what;
        int livesLostBefore;
        int misses;  // shots that reach the top; with none, a lone ball falls out
        int result;
        int livesAfter;
    };
    const Case cases[] = {{"last ball out, lives left", 0, 0, LevelCleared, 4},
                          {"last ball out with the last life", 4, 0, GameOver, 0},
                          {"five misses", 0, 5, GameOver, 0},
                          {"three misses with two lives left", 3, 3, GameOver, -1}};
    for (const Case& c : cases) {
        game.startGame(Normal);
        round().addPoints(7);
        round().loseLives(c.livesLostBefore);
        for (int shot = 0; shot < c.misses; ++shot) {
            pushMouseDown(50 + 110 * shot, 300);
        }
        pushTicks(21);
        pushKeyDown(SDLK_ESCAPE);
        EXPECT_EQ(c.misses > 0 ? playFirstLevel() : playLoneBall(OneUnitPerTick), c.result)
            << c.what;
        EXPECT_TRUE(escapeStillQueued()) << c.what;
        EXPECT_EQ(round().getLives(), c.livesAfter) << c.what;
        EXPECT_EQ(status.getLivesText(), "Lives: " + std::to_string(c.livesAfter)) << c.what;
        EXPECT_EQ(status.getPointsText(), "Points: 7") << c.what;
    }
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

TEST_F(PlayLevelTest, AFreshGamesStatusLineIsDrawnAtThirtyOneFiftyAndTwoSeventyOnTheBaseline) {
    pushKeyDown(SDLK_ESCAPE);
    playFirstLevel();
    EXPECT_EQ(status.getPointsText(), "Points: 0");
    EXPECT_EQ(status.getLivesText(), "Lives: 5");
    EXPECT_EQ(status.getLevelText(), "Level: 0");
    game.beginOverlayFrame();
    game.beginOverlayFrame();
    world.draw();
    status.drawStatusLine();
    // A lone "0" with its baseline at window pixel 300, to compare against.
    glRasterPos2f(0.0f, 0.0f);
    status.printString("0");
    const std::vector<std::uint8_t> zero = readGlyphCell(300, 300);
    const std::vector<std::uint8_t> blank(13, 0);
    ASSERT_NE(zero, blank);
    for (const int left : {20, 130, 140, 250, 260, 350}) {
        EXPECT_EQ(readGlyphCell(left, 30), blank) << left;
    }
    // "P", the "L" of Lives, the 5 of "Lives: 5", the "L" of Level.
    for (const int left : {30, 150, 220, 270}) {
        EXPECT_NE(readGlyphCell(left, 30), blank) << left;
    }
    EXPECT_EQ(readGlyphCell(110, 30), zero) << "the 0 of \"Points: 0\"";
    EXPECT_EQ(readGlyphCell(340, 30), zero) << "the 0 of \"Level: 0\"";
}
