#include "highscore/NameEntry.h"

#include "highscore/TextField.h"
#include "shell/Game.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

constexpr const char* Congratulation = "Congratulations, you made it to the highscore list!";
constexpr const char* Prompt = "Please enter your name:";
constexpr float CongratulationX = -0.9f;
constexpr float CongratulationY = 0.5f;
constexpr float NameColumnX = -0.6f;
constexpr float PromptY = 0.4f;
constexpr float NameY = 0.3f;

}  // namespace

void drawNameEntry(TextDisplay& display, const std::string& name) {
    // The congratulation's raster position takes this colour; the later ones
    // take the text colour that printString leaves current.
    glColor3f(0.2f, 0.2f, 0.3f);
    glRasterPos2f(CongratulationX, CongratulationY);
    display.printString(Congratulation);
    glRasterPos2f(NameColumnX, PromptY);
    display.printString(Prompt);
    glRasterPos2f(NameColumnX, NameY);
    display.printString(name);
    display.drawLastRound();
}

std::string Game::enterName() {
    nameField->clear();
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            drawFrame([this] { drawNameEntry(*textDisplay, nameField->getText()); });
            continue;
        }
        if (event.type == SDL_QUIT) {
            std::exit(0);
        }
        if (event.type != SDL_KEYDOWN) {
            continue;
        }
        // Return ends the entry and is never typed into the name.
        if (event.key.keysym.sym == SDLK_RETURN) {
            return nameField->getText();
        }
        nameField->handleKey(event.key.keysym);
    }
}
