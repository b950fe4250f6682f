#include "text/TextDisplay.h"

#include <cstddef>

namespace {

struct PlacedText {
    float y;
    const char* text;
};

constexpr float MenuX = -0.2f;
constexpr PlacedText MainMenuItems[] = {
    {0.3f, "New game"}, {0.15f, "Highscore"}, {0.0f, "Instructions"}, {-0.15f, "Quit"}};
constexpr PlacedText DifficultyItems[] = {
    {0.3f, "Easy"}, {0.15f, "Normal"}, {0.0f, "Hard"}, {-0.15f, "Insane"}};

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
template <std::size_t N> void drawMenuItems(TextDisplay& display, const PlacedText (&items)[N]) {
    glColor3fv(display.getTextColor());
    for (const PlacedText& item : items) {
        glRasterPos2f(MenuX, item.y);
        display.printString(item.text);
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
