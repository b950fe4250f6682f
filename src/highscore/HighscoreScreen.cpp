#include "highscore/HighscoreList.h"
#include "shell/Game.h"
#include "text/TextDisplay.h"

#include <cstdlib>

void Game::showHighscoreScreen() {
    // Leaving the screen releases the list, which writes the file back; a
    // window-close request ends the program before that, leaving it as it was.
    HighscoreList list;
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            drawFrame([this, &list] { textDisplay->drawHighscoreTable(list.getEntries()); });
            continue;
        }
        if (event.type == SDL_QUIT) {
            std::exit(0);
        }
        if (event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN) {
            return;
        }
    }
}
