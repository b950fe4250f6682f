#pragma once

// Where the four items of the main menu and of the difficulty menu stand, and
// where a click chooses them. Both menus share one layout.

constexpr int MenuItemCount = 4;

// The texts start at this x (field units, -1 left .. 1 right).
constexpr float MenuTextX = -0.2f;
// A click chooses an item strictly between these x (click units, -1 left ..
// 1 right): a hundredth to either side of the longest text, "Instructions",
// which ends at 0.2 (twelve characters of 10 pixels).
constexpr double MenuClickLeft = -0.21;
constexpr double MenuClickRight = 0.21;

struct MenuRow {
    float baselineY;     // the text's baseline, field units (upward)
    double clickTop;     // a click chooses the item strictly between these two,
    double clickBottom;  // click units (downward: -1 top .. 1 bottom)
};

// Each row runs from about a hundredth below its text's baseline (at click y
// = -baselineY) to just above its capitals (11 pixels, 0.037); the gaps
// between the rows choose nothing. The bounds are the values players have
// always clicked by, not a formula, which is why each row is written out.
constexpr MenuRow MenuRows[MenuItemCount] = {
    {0.3f, -0.34, -0.29},
    {0.15f, -0.19, -0.14},
    {0.0f, -0.05, 0.01},
    {-0.15f, 0.11, 0.15},
};
