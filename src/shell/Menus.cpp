#include "shell/Game.h"

#include "text/TextDisplay.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

enum MenuItem { NoItem = 0, FirstItem = 1, SecondItem = 2, ThirdItem = 3, FourthItem = 4 };

// The clickable area in click coordinates (x to the right, y downward, -1..1):
// the columns of the longest item and the rows from the first to the last.
constexpr double ColumnLeft = -0.21;
constexpr double ColumnRight = 0.21;
constexpr double AreaTop = -0.34;
constexpr double AreaBottom = 0.15;
// The rows of the four item texts; the gaps between them choose nothing.
constexpr double FirstRowBottom = -0.29;
constexpr double SecondRowTop = -0.19;
constexpr double SecondRowBottom = -0.14;
constexpr double ThirdRowTop = -0.05;
constexpr double ThirdRowBottom = 0.01;
constexpr double FourthRowTop = 0.11;

// The colour the menus set before their texts; the texts set their own.
void setMenuColor() {
    glColor3f(0.2f, 0.0f, 0.0f);
}

}  // namespace

int Game::menuItemAt(int x, int y) const {
    const double clickX = 2.0 * (x - 0.5 * screen->w) / screen->w;
    const double clickY = 2.0 * (y - 0.5 * screen->h) / screen->h;
    if (!(ColumnLeft < clickX && clickX < ColumnRight && AreaTop < clickY && clickY < AreaBottom)) {
        return NoItem;
    }
    if (clickY < FirstRowBottom) {
        return FirstItem;
    }
    if (SecondRowTop < clickY && clickY < SecondRowBottom) {
        return SecondItem;
    }
    if (ThirdRowTop < clickY && clickY < ThirdRowBottom) {
        return ThirdItem;
    }
    if (clickY > FourthRowTop) {
        return FourthItem;
    }
    return NoItem;
}

int Game::mainMenu() {
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            drawFrame([this] {
                setMenuColor();
                textDisplay->drawMainMenu();
                textDisplay->drawLastRound();
            });
            continue;
        }
        if (event.type == SDL_QUIT) {
            std::exit(0);
        }
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
            return MenuQuit;
        }
        if (event.type != SDL_MOUSEBUTTONDOWN || event.button.button != SDL_BUTTON_LEFT) {
            continue;
        }
        switch (menuItemAt(event.button.x, event.button.y)) {
        case FirstItem:
            return MenuNewGame;
        case SecondItem:
            showHighscoreScreen();
            break;
        case ThirdItem:
            showInstructions();
            break;
        case FourthItem:
            return MenuQuit;
        default:
            break;
        }
    }
}

int Game::difficultyMenu() {
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            drawFrame([this] {
                setMenuColor();
                textDisplay->drawDifficultyMenu();
            });
            continue;
        }
        if (event.type == SDL_QUIT) {
            std::exit(0);
        }
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
            return DifficultyEscape;
        }
        if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
            // The items are the difficulty codes in order, Easy first.
            const int item = menuItemAt(event.button.x, event.button.y);
            if (item != NoItem) {
                return item;
            }
        }
    }
}

void Game::showInstructions() {
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            drawFrame([this] { textDisplay->drawInstructions(); });
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
