#pragma once

#include "Image.h"

#include <string>
#include <vector>

// What the game's screens show, read from a screenshot of the 600 x 600
// window the way a player reads them. Positions are window pixels from the
// top left corner.

constexpr int WindowSize = 600;
// The background the game clears every frame to: (0.6, 0.6, 0.7).
constexpr Rgb Background{153, 153, 178};
constexpr int BackgroundTolerance = 2;  // per channel, across renderers
bool isBackground(Rgb pixel);

// Text in the game's own font, cell by cell 10 px apart from left: a cell
// reads as the glyph whose bits equal its non-background pixels, else '?'.
// At most maxChars cells, trailing blanks dropped; a one-pixel slip of the
// whole line in any direction is allowed for.
std::string readText(const Image& image, int left, int baselineFromTop, int maxChars);
// What readText gives for text drawn in the font (glyph twins read as the first).
std::string asRead(const std::string& text, int maxChars);

// Main menu and difficulty menu: four items at x 240, baselines 210, 255, 300, 345.
struct MenuRow {
    const char* text;
    int baseline;
    int clickY;  // a pixel row inside the item's clickable band
};
constexpr int MenuClickX = 300;
constexpr MenuRow MainMenuRows[] = {{"New game", 210, 205},
                                    {"Highscore", 255, 250},
                                    {"Instructions", 300, 294},
                                    {"Quit", 345, 339}};
constexpr MenuRow DifficultyRows[] = {
    {"Easy", 210, 205}, {"Normal", 255, 250}, {"Hard", 300, 294}, {"Insane", 345, 339}};
bool showsMainMenu(const Image& image);
bool showsDifficultyMenu(const Image& image);

// The line at the bottom left: "Last round's Points: N" in the main menu and
// the name entry, "Points: N" during play.
std::string bottomLeftText(const Image& image);

// The status line during play, "Points: N", "Lives: N", "Level: N" from x
// 30, 150, 270: {points, lives, level}, or empty when it does not show.
std::vector<int> statusNumbers(const Image& image);
inline bool showsStatusLine(const Image& image) {
    return !statusNumbers(image).empty();
}

bool showsInstructions(const Image& image);  // the ten lines, baselines 30 px apart
bool showsNameEntry(const Image& image);     // congratulation and prompt in place
std::string typedName(const Image& image);   // the name line at x 120, baseline 210

// The high-score table: ten rows at x 240, baselines 30, 90, ..., 570; the 36
// cells that fit in the window.
constexpr int TableRows = 10;
constexpr int TableRowCells = 36;
std::vector<std::string> tableRows(const Image& image);

bool isBlank(const Image& image);               // every pixel the background
bool cornersAreBackground(const Image& image);  // where no screen draws
