#include "shell/Game.h"

#include "highscore/HighscoreScreen.h"
#include "highscore/NameEntry.h"
#include "play/PlayLevel.h"

int Game::playLevel(int level, int count, float speed, int spread) {
    return playOneLevel(
        {*ballSet, *roundState, *textDisplay, *tickClock, screen->w, overlayFrame()},
        {level, count, speed, spread});
}

void Game::showHighscoreScreen() {
    showHighscoreTable(*textDisplay, overlayFrame());
}

std::string Game::enterName() {
    return typeName(*nameField, *textDisplay, overlayFrame());
}
