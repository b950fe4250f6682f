#include "shell/Game.h"

#include "highscore/HighscoreList.h"
#include "play/BallSet.h"
#include "play/LevelResult.h"
#include "play/RoundState.h"
#include "shell/LevelParameters.h"

#include <cstdlib>

void Game::run() {
    roundState = std::make_unique<RoundState>();
    difficulty = 0;
    for (;;) {
        if (mainMenu() != MenuNewGame) {
            std::exit(0);
        }
        difficulty = difficultyMenu();
        if (difficulty <= 0) {
            continue;
        }
        startGame(difficulty);
        playGame();
        endGame();
    }
}

void Game::startGame(int difficultyCode) {
    difficulty = difficultyCode;
    ballSet->setDifficulty(difficultyCode);
    roundState = std::make_unique<RoundState>();
    // Shots still rising from the last game must not cost lives in this one.
    ballSet->dropShots();
}

void Game::playGame() {
    LevelParameters level = firstLevel(difficulty);
    while (playLevel(level.number, level.ballCount, level.speed, level.spread) == LevelCleared) {
        level = nextLevel(level, difficulty);
    }
}

void Game::endGame() {
    {
        // The list writes "moon" when it goes, before the screen reads it again.
        HighscoreList list;
        const int points = roundState->getPoints();
        if (list.qualifies(points)) {
            list.insert(enterName(), points);
        }
    }
    showHighscoreScreen();
}
