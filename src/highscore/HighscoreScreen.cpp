#include "highscore/HighscoreScreen.h"

#include "highscore/HighscoreList.h"
#include "highscore/HighscoreTable.h"

void showHighscoreTable(TextDisplay& text, const BeginFrame& beginFrame) {
    // Leaving the screen releases the list, which writes the file back.
    HighscoreList list;
    runScreenLoop(
        beginFrame, [&] { drawHighscoreTable(text, list.getEntries()); },
        [](const SDL_Event& event) {
            const bool leaves = event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN;
            return leaves ? ScreenLeft : ScreenGoesOn;
        });
}
