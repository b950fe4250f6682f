#include "shell/Game.h"

#include "text/MenuLayout.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>

namespace {

enum MenuItem { NoItem = 0, FirstItem = 1, SecondItem = 2, ThirdItem = 3, FourthItem = 4 };

// The colour the menus set before their texts; the texts set their own.
void setMenuColor() {
    glColor3f(0.2f, 0.0f, 0.0f);
}

bool isEscape(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE;
}

bool isLeftClick(const SDL_Event& event) {
    return event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT;
}

}  // namespace

int Game::menuItemAt(int x, int y) const {
    const double clickX = 2.0 * (x - 0.5 * screen->w) / screen->w;
    const double clickY = 2.0 * (y - 0.5 * screen->h) / screen->h;
    if (!(MenuClickLeft < clickX && clickX < MenuClickRight)) {
        return NoItem;
    }
    for (int item = FirstItem; item <= FourthItem; ++item) {
        const MenuRow& row = MenuRows[item - FirstItem];
        if (row.clickTop < clickY && clickY < row.clickBottom) {
            return item;
        }
    }
    return NoItem;
}

int Game::mainMenu() {
    const auto draw = [this] {
        setMenuColor();
        textDisplay->drawMainMenu();
        textDisplay->drawLastRound();
    };
    return runScreenLoop(overlayFrame(), draw, [this](const SDL_Event& event) -> int {
        if (isEscape(event)) {
            return MenuQuit;
        }
        if (!isLeftClick(event)) {
            return ScreenGoesOn;
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
        return ScreenGoesOn;
    });
}

Difficulty Game::difficultyMenu() {
    const auto draw = [this] {
        setMenuColor();
        textDisplay->drawDifficultyMenu();
    };
    return static_cast<Difficulty>(
        runScreenLoop(overlayFrame(), draw, [this](const SDL_Event& event) -> int {
            if (isEscape(event)) {
                return DifficultyEscape;
            }
            const int item =
                isLeftClick(event) ? menuItemAt(event.button.x, event.button.y) : NoItem;
            // The items are the difficulties in order, Easy first.
            return item == NoItem ? ScreenGoesOn : item;
        }));
}

void Game::showInstructions() {
    runScreenLoop(
        overlayFrame(), [this] { textDisplay->drawInstructions(); }, leaveOnAnyPress);
}
