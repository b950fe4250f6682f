#pragma once

#include <vector>

// One pixel, 0..255 per channel.
struct Rgb {
    int r, g, b;
};

// A screenshot of the game's window: pixels 0xRRGGBB, row by row from the top left.
class Image {
public:
    Image() = default;
    Image(int width, int height) : w(width), h(height), pixels(width * height, 0) {}

    int width() const { return w; }
    int height() const { return h; }
    bool empty() const { return pixels.empty(); }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Rgb at(int x, int y) const {  // x, y inside
        const unsigned long p = pixels[y * w + x];
        return Rgb{static_cast<int>(p >> 16), static_cast<int>((p >> 8) & 0xFF),
                   static_cast<int>(p & 0xFF)};
    }
    void set(int x, int y, unsigned long rgb) { pixels[y * w + x] = rgb; }  // 0xRRGGBB
    bool operator==(const Image& o) const { return w == o.w && pixels == o.pixels; }

private:
    int w = 0;
    int h = 0;
    std::vector<unsigned long> pixels;
};
