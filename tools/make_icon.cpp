// Draws the game's window icon: a blue and a red ball with a rising dart, on
// magenta, which the game makes transparent. Written as a 32-bit BMP, the
// depth whose colour key both SDL 1.2 libraries honour, and optionally as PNG
// icons of the desktop and the web page: the same pixels scaled up, magenta
// made transparent.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Size = 32;
constexpr int PngChannels = 4;
constexpr int MaxPngScale = 64;

struct Pixel {
    std::uint8_t r, g, b;
};

constexpr Pixel Transparent{255, 0, 255};

void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

void put32(std::vector<std::uint8_t>& out, unsigned v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// A lit ball: brighter towards the upper left.
Pixel shadeBall(double dx, double dy, double radius, Pixel base) {
    const double light = 1.0 - 0.5 * ((dx + dy) / radius + 1.0) * 0.6;
    auto channel = [light](int c) {
        const double v = c * (0.6 + light);
        return static_cast<std::uint8_t>(v > 255.0 ? 255.0 : v);
    };
    return {channel(base.r), channel(base.g), channel(base.b)};
}

Pixel pixelAt(int x, int y) {
    struct Disc {
        double cx, cy, r;
        Pixel color;
    };
    const Disc balls[] = {{10.5, 19.5, 8.5, {60, 60, 200}}, {22.5, 9.5, 7.5, {200, 50, 50}}};
    for (const Disc& ball : balls) {
        const double dx = x - ball.cx;
        const double dy = y - ball.cy;
        if (dx * dx + dy * dy <= ball.r * ball.r) {
            return shadeBall(dx, dy, ball.r, ball.color);
        }
    }
    // A small dart under the red ball, pointing up.
    const int tipY = 20;
    if (y >= tipY && y <= 29 && std::abs(x - 23) <= (y - tipY) / 2 && !(y >= 27 && x == 23)) {
        return {30, 30, 60};
    }
    return Transparent;
}

std::vector<std::uint8_t> bmpBytes() {
    const unsigned pixelBytes = Size * Size * 4;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + pixelBytes);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);  // BITMAPINFOHEADER
    put32(out, Size);
    put32(out, Size);  // positive height: rows bottom first
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int row = Size - 1; row >= 0; --row) {
        for (int x = 0; x < Size; ++x) {
            const Pixel p = pixelAt(x, row);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            out.push_back(0);
        }
    }
    return out;
}

int writeBmp(const char* path) {
    const std::vector<std::uint8_t> out = bmpBytes();
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::perror(path);
        return 1;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(path);
        return 1;
    }
    return 0;
}

// Each icon pixel becomes a scale x scale block, so no colour is made up;
// the transparent magenta gets alpha 0.
int writePng(const char* path, int scale) {
    const int side = Size * scale;
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const Pixel p = pixelAt(x / scale, y / scale);
            const bool clear = p.r == Transparent.r && p.g == Transparent.g && p.b == Transparent.b;
            rgba.insert(rgba.end(), {p.r, p.g, p.b, static_cast<std::uint8_t>(clear ? 0 : 255)});
        }
    }
    if (stbi_write_png(path, side, side, PngChannels, rgba.data(), side * PngChannels) == 0) {
        std::fprintf(stderr, "%s: cannot write the PNG\n", path);
        return 1;
    }
    return 0;
}

// The scale of a PNG's side in pixels, which must be a whole multiple of the
// icon's; 0 when it is not.
int scaleOf(const char* side) {
    const int pixels = std::atoi(side);
    const bool whole = pixels > 0 && pixels % Size == 0 && pixels / Size <= MaxPngScale;
    return whole ? pixels / Size : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc % 2 != 0) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.bmp [OUTPUT.png SIDE]...\n");
        return 2;
    }
    if (writeBmp(argv[1]) != 0) {
        return 1;
    }
    for (int i = 2; i < argc; i += 2) {
        const int scale = scaleOf(argv[i + 1]);
        if (scale == 0) {
            std::fprintf(stderr, "%s: the side must be a multiple of %d pixels\n", argv[i], Size);
            return 2;
        }
        if (writePng(argv[i], scale) != 0) {
            return 1;
        }
    }
    return 0;
}
