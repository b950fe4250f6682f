#include "shell/Game.h"

#include "highscore/HighscoreList.h"
#include "play/BallSet.h"
#include "play/LevelParameters.h"
#include "play/RoundState.h"

#include <cstdlib>

void Game::run() {
    roundState = std::make_unique<RoundState>();
    difficulty = NoDifficulty;
    for (;;) {
        if (mainMenu() != MenuNewGame) {
            std::exit(0);
        }
        difficulty = difficultyMenu();
        if (difficulty <= NoDifficulty) {
            continue;
        }
        startGame(difficulty);
        playGame();
        endGame();
    }
}

void Game::startGame(Difficulty chosen) {
    difficulty = chosen;
    ballSet->setDifficulty(chosen);
    roundState = std::make_unique<RoundState>();
    // Shots still rising from the last game must not cost lives in this one.
    ballSet->dropShots();
}

void Game::playGame() {
    playLevelsUntilOver(difficulty, [this](const LevelParameters& level) {
        return playLevel(level.number, level.ballCount, level.speed, level.spread);
    });
}

void Game::endGame() {
    {
        // The list writes "moon" when it goes, before the screen reads it again.
        HighscoreList list;
        const int points = roundState->getPoints();
        if (!list.keepsResults()) {
            list.sayResultNotKept();
        } else if (list.qualifies(points)) {
            list.insert(enterName(), points);
        }
    }
    showHighscoreScreen();
}
