#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {  // one pixel, 0..255 per channel
    int r, g, b;
};
constexpr Rgb Background{153, 153, 178};  // what every frame is cleared to: (0.6, 0.6, 0.7)
constexpr int WindowSide = 600;           // the game's window is square

// A picture of the window, read back from a frame or from the X server.
class Image {
public:
    Image() = default;
    Image(int width, int height, std::vector<std::uint8_t> rgb);  // RGB rows from the top left
    int width() const { return w; }
    int height() const { return h; }
    bool empty() const { return rgb.empty(); }
    Rgb at(int x, int y) const;  // inside the picture
    const std::vector<std::uint8_t>& bytes() const { return rgb; }

private:
    int w = 0;
    int h = 0;
    std::vector<std::uint8_t> rgb;
};

// The whole frame being drawn in the current OpenGL context, read before the swap.
Image readFrame();

// Text in the game's font on a baseline (pixels from the top): maxChars cells
// 10 pixels apart, each the glyph whose 8 x 13 bits are the cell's ink, '?' for
// none; trailing blanks dropped. The line may slip one pixel (x -0.2 rounds down).
std::string readText(const Image& image, int left, int baseline, int maxChars);

// Empty when image matches tests/reference/<name>.png, each channel within
// ReferenceTolerance (renderers differ by a unit here and there), else what
// differs. QUENDLE_UPDATE_REFERENCES=1 rewrites the reference instead.
constexpr int ReferenceTolerance = 3;
std::string differenceFromReference(const Image& image, const std::string& name);
