#pragma once

#include <cstdlib>
#include <vector>

// One pixel, 0..255 per channel.
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// Every channel within tolerance of the expected value.
inline bool nearColor(Rgb pixel, Rgb expected, int tolerance) {
    return std::abs(pixel.r - expected.r) <= tolerance &&
           std::abs(pixel.g - expected.g) <= tolerance &&
           std::abs(pixel.b - expected.b) <= tolerance;
}

// A screenshot of the game's window: pixels row by row from the top left.
class Image {
public:
    Image() = default;
    Image(int width, int height) : w(width), h(height), pixels(width * height, Rgb{0, 0, 0}) {}

    int width() const { return w; }
    int height() const { return h; }
    bool empty() const { return pixels.empty(); }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Rgb at(int x, int y) const { return pixels[y * w + x]; }  // x, y inside
    void set(int x, int y, Rgb color) { pixels[y * w + x] = color; }
    bool operator==(const Image& o) const { return w == o.w && pixels == o.pixels; }

private:
    int w = 0;
    int h = 0;
    std::vector<Rgb> pixels;
};
