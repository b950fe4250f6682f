#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/LevelParameters.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// A directory that a death test's child, which re-runs the test from its
// start, finds again by name, so the parent can read what the child wrote.
std::string sharedWorkDir(const std::string& testName) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / testName;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string recordsWithScore(int count, const std::string& score) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "old " + std::to_string(i) + "\n" + score + "\n";
    }
    return text;
}

// Shots fired at once rise together and leave through the top on the 21st
// tick, before any ball has come down far enough to be hit.
void pushShotsThatAllMiss(int shots) {
    for (int i = 0; i < shots; ++i) {
        pushMouseDown(300, 300);
    }
    for (int tick = 0; tick < 21; ++tick) {
        pushTick();
    }
}

}  // namespace

TEST(StartGame, GivesAFreshRoundAndTheDifficultysPointsAndDropsOldShots) {
    Game& game = testGame();
    game.startGame(Insane);
    game.getRoundState()->addPoints(40);
    game.getRoundState()->loseLives(3);
    game.getBallSet().fireShot(Blue, 0.0f);

    game.startGame(Normal);
    EXPECT_EQ(game.getDifficulty(), Normal);
    EXPECT_EQ(game.getRoundState()->getPoints(), 0);
    EXPECT_EQ(game.getRoundState()->getLives(), RoundState::StartLives);
    EXPECT_TRUE(game.getBallSet().getShots().empty());
}

TEST(PlayGame, EveryGameStartsAtLevelZeroWithTenBalls) {
    Game& game = testGame();
    game.startGame(Hard);
    pushKeyDown(SDLK_ESCAPE);
    game.playGame();
    EXPECT_EQ(game.getBallSet().getBalls().size(), 10u);
    EXPECT_EQ(game.getTextDisplay().getLevelText(), "Level: 0");
    EXPECT_EQ(game.getTextDisplay().getLivesText(), "Lives: 5");
    for (const Ball& ball : game.getBallSet().getBalls()) {
        EXPECT_GE(ball.getY(), 1.1f - 1e-6f);
        EXPECT_LE(ball.getY(), 1.1f + 0.1f * 29 + 1e-5f);  // 30 rows
    }
}

TEST(PlayGame, FiveMissesEndTheGameWithItsPointsKept) {
    Game& game = testGame();
    game.startGame(Easy);
    pushShotsThatAllMiss(5);
    game.playGame();
    EXPECT_TRUE(game.getRoundState()->isOver());
    EXPECT_EQ(game.getRoundState()->getPoints(), 0);
    EXPECT_EQ(game.getTextDisplay().getLivesText(), "Lives: 0");
    EXPECT_EQ(game.getTextDisplay().getPointsText(), "Points: 0");
}

using WholeGameDeathTest = ::testing::Test;

TEST(WholeGameDeathTest, AQualifyingGameEndsWithTheNameStoredInItsPlace) {
    const std::string dir = sharedWorkDir("quendle-whole-game");
    std::filesystem::current_path(dir);
    // Scores below zero, so that a game of no hits still earns a place.
    writeFile("moon", recordsWithScore(10, "-1"));
    Game& game = testGame();
    EXPECT_EXIT(
        {
            pushMouseDown(300, 205);  // "New game"
            pushMouseDown(300, 205);  // "Easy"
            pushShotsThatAllMiss(5);
            pushKeyDown(SDLK_a, KMOD_LSHIFT);
            pushKeyDown(SDLK_n);
            pushKeyDown(SDLK_n);
            pushKeyDown(SDLK_SPACE);
            pushKeyDown(SDLK_l, KMOD_RSHIFT);
            pushKeyDown(SDLK_e);
            pushKeyDown(SDLK_e);
            pushKeyDown(SDLK_RETURN);
            pushKeyDown(SDLK_x);       // leaves the high-score screen
            pushKeyDown(SDLK_ESCAPE);  // quits from the main menu
            game.run();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readFile(dir + "/moon"), "Ann Lee\n0\n" + recordsWithScore(9, "-1"));
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
}

TEST(WholeGameDeathTest, AGameThatDoesNotQualifySkipsTheNameButStillWritesTheList) {
    const std::string dir = sharedWorkDir("quendle-no-place");
    std::filesystem::current_path(dir);
    writeFile("moon", recordsWithScore(9, "7") + "old 9\n7");  // no final newline
    Game& game = testGame();
    EXPECT_EXIT(
        {
            pushMouseDown(300, 205);
            pushMouseDown(300, 205);
            pushShotsThatAllMiss(5);
            pushKeyDown(SDLK_RETURN);  // leaves the high-score screen at once
            pushKeyDown(SDLK_ESCAPE);
            game.run();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readFile(dir + "/moon"), recordsWithScore(10, "7"));
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
}
