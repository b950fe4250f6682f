#pragma once

#include "Image.h"

#include <string>
#include <vector>

// What the game's screens show, read from a screenshot of the 600 x 600
// window the way a player reads them. Positions are window pixels from the
// top left corner.

constexpr int WindowSize = 600;

// Main menu: the four items at x 240, baselines 210, 255, 300 and 345.
struct MenuRow {
    const char* text;
    int baseline;
    int clickY;  // a pixel row inside the item's clickable band
};
constexpr int MenuLeft = 240;
constexpr int MenuClickX = 300;
constexpr MenuRow MainMenuRows[] = {{"New game", 210, 205},
                                    {"Highscore", 255, 250},
                                    {"Instructions", 300, 294},
                                    {"Quit", 345, 339}};
constexpr MenuRow DifficultyRows[] = {
    {"Easy", 210, 205}, {"Normal", 255, 250}, {"Hard", 300, 294}, {"Insane", 345, 339}};

bool showsMenu(const Image& image, const MenuRow (&rows)[4]);
bool showsMainMenu(const Image& image);
bool showsDifficultyMenu(const Image& image);

// The line at the bottom left: "Last round's Points: N" in the main menu and
// the name entry, "Points: N" during play. Baseline 30 px above the bottom.
std::string bottomLeftText(const Image& image);

// The status line during play: "Points: N", "Lives: N", "Level: N" from x 30,
// 150 and 270.
struct StatusLine {
    std::string points;
    std::string lives;
    std::string level;
};
StatusLine readStatusLine(const Image& image);
bool showsStatusLine(const Image& image);  // all three texts read as their prefix and a number

// The instructions page: ten lines from x 15, baselines 30 px apart from 30.
extern const char* const InstructionLines[10];
bool showsInstructions(const Image& image);

// The name entry.
extern const char* const Congratulation;
extern const char* const NamePrompt;
bool showsNameEntry(const Image& image);    // congratulation and prompt in place
std::string typedName(const Image& image);  // the name line at x 120, baseline 210

// The high-score table: up to ten rows at x 240, baselines 30, 90, ..., 570;
// the 36 cells that fit in the window.
constexpr int TableRows = 10;
constexpr int TableRowCells = 36;
std::vector<std::string> tableRows(const Image& image);

// Every pixel is the background: nothing drawn, or an empty table.
bool isBlank(const Image& image);
// The background at the four corners, where no screen draws.
bool cornersAreBackground(const Image& image);
