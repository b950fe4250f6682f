#include "highscore/HighscoreTable.h"

#include "text/TextDisplay.h"

#include <cstddef>
#include <cstdio>
#include <string>

namespace {

constexpr float TableX = -0.2f;
constexpr double FirstRowY = 0.9;
constexpr double RowStep = 0.2;
constexpr int ScoreDigits = 12;  // "-2147483648" and its terminator
// No row shows more characters than fit across the window (600 pixels at 10).
constexpr std::size_t MaxVisibleGlyphs = 60;

bool isGlyph(char c) {
    return c >= ' ' && c <= '~';
}

// The row up to its last character that could reach the window. Names come
// from a file that may hold a megabyte on one line; every frame would
// otherwise walk all of it. Other bytes draw nothing and take no space, so
// they do not count.
std::string visiblePart(const std::string& row) {
    std::size_t glyphs = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        glyphs += isGlyph(row[i]) ? 1 : 0;
        if (glyphs == MaxVisibleGlyphs) {
            return row.substr(0, i + 1);
        }
    }
    return row;
}

}  // namespace

void drawHighscoreTable(TextDisplay& text, const std::list<HighscoreEntry>& entries) {
    // The first raster position takes this colour, the later ones the colour
    // that printString leaves current: the same text colour.
    glColor3fv(text.getTextColor());
    int row = 0;
    for (const HighscoreEntry& entry : entries) {
        if (row == HighscoreCapacity) {
            break;
        }
        glRasterPos2f(TableX, static_cast<float>(FirstRowY - RowStep * row));
        char score[ScoreDigits];
        std::snprintf(score, sizeof score, "%d", entry.getScore());
        text.printString(visiblePart(entry.getName() + " " + score));
        ++row;
    }
}
