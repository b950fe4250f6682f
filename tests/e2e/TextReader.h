#pragma once

#include "Image.h"

#include <string>

// The background the game clears every frame to: (0.6, 0.6, 0.7).
constexpr Rgb Background{153, 153, 178};
constexpr int BackgroundTolerance = 2;  // per channel, across renderers

bool isBackground(Rgb pixel);

// Reads text drawn in the game's own font from a screenshot, cell by cell:
// a cell is a character when its set of non-background pixels equals that
// glyph's bits. Cells are 10 pixels apart from left; the baseline is
// baselineFromTop pixels below the top edge (window pixels, as a player
// counts them). At most maxChars cells are read; a cell that matches no
// glyph reads as '?', and trailing blanks are dropped. A one-pixel slip of
// the whole line in any direction is allowed for.
std::string readText(const Image& image, int left, int baselineFromTop, int maxChars);

// What readText gives for printable text drawn in the font: each character
// as the first character with the same glyph, at most maxChars of them,
// without trailing blanks.
std::string asRead(const std::string& text, int maxChars);
