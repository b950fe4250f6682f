#include "highscore/HighscoreEntry.h"
#include "text/TextDisplay.h"

#include <cstdio>

namespace {

constexpr float TableX = -0.2f;
constexpr double FirstRowY = 0.9;
constexpr double RowStep = 0.2;
constexpr int ScoreDigits = 12;  // "-2147483648" and its terminator

}  // namespace

void TextDisplay::drawHighscoreTable(const std::list<HighscoreEntry>& entries) {
    // The first raster position takes this colour, the later ones the colour
    // that printString leaves current: the same text colour.
    glColor3fv(textColor);
    int row = 0;
    for (const HighscoreEntry& entry : entries) {
        if (row == HighscoreCapacity) {
            break;
        }
        glRasterPos2f(TableX, static_cast<float>(FirstRowY - RowStep * row));
        char score[ScoreDigits];
        std::snprintf(score, sizeof score, "%d", entry.getScore());
        printString(entry.getName() + " " + score);
        ++row;
    }
}
