#pragma once

#include "support/TestSupport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TextDisplay;

TextDisplay& display();  // the test game's text display

// A text placed in window pixels from the bottom left, as OpenGL counts them:
// overlay (x, y) is (300 (x + 1), 300 (y + 1)).
struct PlacedText {
    int left;
    int baseline;
    std::string text;
};

// Makes the test window and begins a frame on the game's background (the
// very first frame after start-up is black, so two are begun).
void beginTextFrame();

// One read of the whole 600 x 600 frame being drawn (before the swap); ink
// is any pixel that differs from the background.
class FrameInk {
public:
    static constexpr int Side = 600;
    FrameInk();
    bool inked(int x, int fromBottom) const;
    Rgb pixel(int x, int fromBottom) const;

private:
    std::vector<std::uint8_t> rgb;
};

// The on-screen colour of text drawn in the text colour (it is lit), measured
// in a frame of its own: call it before beginning the frame under test.
Rgb measureTextColor();

std::string printableCharacters();            // bytes 32..126 in order
std::vector<std::uint8_t> glyphRows(char c);  // the table's 13 rows of c

// Empty when the frame's ink is exactly the texts drawn from the glyph table
// at their places, 10 pixels per character, and (if given) all of it near
// inkColor; otherwise how it differs.
std::string inkMismatch(const FrameInk& frame, const std::vector<PlacedText>& texts,
                        std::optional<Rgb> inkColor = std::nullopt);
