#include "highscore/ScoreFiles.h"
#include "highscore/ScreenPixels.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* Moon = "moon";

// Pushed after the key that leaves the high-score screen; still queued when
// the game end used exactly the keys meant for it.
constexpr SDLKey Sentinel = SDLK_F12;

Game& gameWithPoints(int points) {
    Game& game = testGame();
    game.startGame(1);
    game.getRoundState()->addPoints(points);
    return game;
}

void pushName() {
    pushKeyDown(SDLK_z, KMOD_LSHIFT);
    pushKeyDown(SDLK_o);
    pushKeyDown(SDLK_e);
    pushKeyDown(SDLK_RETURN);
}

TEST(GameEnd, QualifyingPointsAreEnteredByNameAndStoredInPlace) {
    ScopedWorkDir dir;
    writeFile(Moon, fileOf(tenDescending()));
    Game& game = gameWithPoints(55);
    pushName();
    pushKeyDown(SDLK_SPACE);
    pushKeyDown(Sentinel);
    game.endGame();
    Records expected = tenDescending();
    expected.pop_back();
    expected.insert(expected.begin() + 5, {"Zoe", 55});
    EXPECT_EQ(readFile(Moon), fileOf(expected));
    EXPECT_TRUE(nextIsKeyDown(Sentinel));
}

TEST(GameEnd, NewEntryGoesInFrontOfAnEqualScore) {
    ScopedWorkDir dir;
    writeFile(Moon, fileOf(tenDescending()));
    Game& game = gameWithPoints(50);
    pushName();
    pushMouseDown(300, 300);
    game.endGame();
    Records expected = tenDescending();
    expected.pop_back();
    expected.insert(expected.begin() + 5, {"Zoe", 50});
    EXPECT_EQ(readFile(Moon), fileOf(expected));
}

TEST(GameEnd, PointsThatDoNotQualifySkipTheNameEntry) {
    // Were the name entry run, it would take the Return meant for the screen
    // and the screen the sentinel.
    ScopedWorkDir dir;
    writeFile(Moon, fileOf(tenDescending()));
    Game& game = gameWithPoints(10);
    pushKeyDown(SDLK_RETURN);
    pushKeyDown(Sentinel);
    game.endGame();
    EXPECT_EQ(readFile(Moon), fileOf(tenDescending()));
    EXPECT_TRUE(nextIsKeyDown(Sentinel));
}

TEST(GameEnd, FirstGameWithoutAFileStartsTheList) {
    ScopedWorkDir dir;
    Game& game = gameWithPoints(3);
    pushName();
    pushKeyDown(SDLK_SPACE);
    game.endGame();
    // The screen reads the one record back as a full list and writes that.
    EXPECT_EQ(readFile(Moon), fileOf(joined({{"Zoe", 3}}, blanks(9))));
}

TEST(GameEnd, NoPointsWithoutAFileLeaveAnEmptyList) {
    ScopedWorkDir dir;
    Game& game = gameWithPoints(0);
    pushKeyDown(SDLK_RETURN);
    pushKeyDown(Sentinel);
    game.endGame();
    EXPECT_EQ(readFile(Moon), fileOf(blanks(10)));
    EXPECT_TRUE(nextIsKeyDown(Sentinel));
}

}  // namespace
