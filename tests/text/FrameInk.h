#pragma once

#include "support/TestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

// Positions here are window pixels counted from the bottom left, as OpenGL
// counts them: a text at overlay (x, y) starts at 300 (x + 1) with its
// baseline at 300 (y + 1).
struct PlacedText {
    int left;
    int baseline;
    std::string text;
};

// Makes the test window and begins a frame on the game's background (the
// very first frame after start-up is black, so two are begun).
void beginTextFrame();

// One read of the whole frame being drawn (before the swap): which pixels
// carry ink, meaning they differ from the background.
class FrameInk {
public:
    FrameInk();
    bool inked(int x, int fromBottom) const;
    Rgb pixel(int x, int fromBottom) const;
    std::vector<std::uint8_t> cell(int left, int baseline) const;  // 13 rows, bottom first
    int inkCount() const;
    int width() const { return frameWidth; }
    int height() const { return frameHeight; }

private:
    int frameWidth;
    int frameHeight;
    std::vector<std::uint8_t> rgb;
};

// The colour that text drawn in the text colour takes on screen (it is lit,
// so it is not the plain text colour); measured in a frame of its own, so
// call it before beginning the frame under test.
Rgb measureTextColor();

// How many inked pixels of the frame are not near the given colour.
int inkNotNear(const FrameInk& frame, Rgb color);

// The 13 row bytes of character c in the game's glyph table.
std::vector<std::uint8_t> glyphRows(char c);

// Empty when the frame's ink is exactly the texts drawn from the glyph table
// at their places, 10 pixels per character; otherwise how it differs.
std::string inkMismatch(const FrameInk& frame, const std::vector<PlacedText>& texts);
