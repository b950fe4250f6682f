#include "text/MenuLayout.h"
#include "text/TextDisplay.h"

namespace {

constexpr const char* MainMenuItems[MenuItemCount] = {"New game", "Highscore", "Instructions",
                                                      "Quit"};
constexpr const char* DifficultyItems[MenuItemCount] = {"Easy", "Normal", "Hard", "Insane"};

constexpr float InstructionsX = -0.95f;
constexpr float InstructionsFirstY = 0.9f;
constexpr float InstructionsLineStep = 0.1f;
constexpr const char* InstructionLines[] = {
    "The game consists of red and blue balls,",
    "and red and blue shoots. When the red ",
    "& blue balls fall from the top of the screen,",
    "you have to fire at them by pressing a mouse",
    "button. Your left mouse button fires blue shoots,",
    "your right mouse button fires red ones.Use red",
    "shoots to eliminate the red balls,blue shots ",
    "to eliminate blue balls. You lose a life if a ball ",
    "falls to the bottom, a shot reaches the top,",
    "or if you hit a ball which colour differs from your shot.",
};

constexpr float LastRoundX = -0.9f;
constexpr float LastRoundY = -0.9f;
constexpr const char* LastRoundPrefix = "Last round's ";

// The first raster position takes the colour set here, the later ones the
// colour that printString leaves current: the same text colour.
void drawMenuItems(TextDisplay& display, const char* const (&items)[MenuItemCount]) {
    glColor3fv(display.getTextColor());
    for (int i = 0; i < MenuItemCount; ++i) {
        glRasterPos2f(MenuTextX, MenuRows[i].baselineY);
        display.printString(items[i]);
    }
}

}  // namespace

void TextDisplay::drawMainMenu() {
    drawMenuItems(*this, MainMenuItems);
}

void TextDisplay::drawDifficultyMenu() {
    drawMenuItems(*this, DifficultyItems);
}

void TextDisplay::drawInstructions() {
    glColor3fv(textColor);
    // Stepped in single precision, as the lines have always been placed.
    float y = InstructionsFirstY;
    for (const char* line : InstructionLines) {
        glRasterPos2f(InstructionsX, y);
        printString(line);
        y -= InstructionsLineStep;
    }
}

void TextDisplay::drawLastRound() {
    if (pointsText.empty()) {
        return;
    }
    glColor3fv(textColor);
    glRasterPos2f(LastRoundX, LastRoundY);
    printString(LastRoundPrefix + pointsText);
}
