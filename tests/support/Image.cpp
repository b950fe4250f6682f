#include "support/Image.h"

#include "text/GlyphTable.h"

#include <GL/gl.h>
#include <stb_image.h>
#include <stb_image_write.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

bool nearColor(Rgb pixel, Rgb expected, int tolerance) {  // per channel
    return std::abs(pixel.r - expected.r) <= tolerance &&
           std::abs(pixel.g - expected.g) <= tolerance &&
           std::abs(pixel.b - expected.b) <= tolerance;
}

constexpr int CellAdvance = 10;
constexpr int GlyphWidth = 8;
constexpr int RowsBelowBaseline = 2;
constexpr int InkTolerance = 6;

// The cell's bits, bottom row first, leftmost pixel in bit 7, as the glyph table holds them.
std::vector<unsigned char> cellBits(const Image& image, int left, int baseline) {
    std::vector<unsigned char> rows;
    for (int row = 0; row < TextDisplay::GlyphRows; ++row) {
        unsigned char bits = 0;
        const int y = baseline + RowsBelowBaseline - row;
        for (int column = 0; column < GlyphWidth; ++column) {
            const int x = left + column;
            const bool inside = x >= 0 && y >= 0 && x < image.width() && y < image.height();
            if (inside && !nearColor(image.at(x, y), Background, InkTolerance)) {
                bits = static_cast<unsigned char>(bits | (0x80 >> column));
            }
        }
        rows.push_back(bits);
    }
    return rows;
}

char glyphOf(const std::vector<unsigned char>& bits) {
    for (int i = 0; i < TextDisplay::GlyphCount; ++i) {
        if (std::equal(bits.begin(), bits.end(), GlyphTable[i])) {
            return static_cast<char>(TextDisplay::FirstGlyph + i);
        }
    }
    return '?';
}

std::string readLine(const Image& image, int left, int baseline, int maxChars) {
    std::string text;
    for (int cell = 0; cell < maxChars; ++cell) {
        text += glyphOf(cellBits(image, left + CellAdvance * cell, baseline));
    }
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

bool writePng(const std::string& path, const Image& image) {
    return stbi_write_png(path.c_str(), image.width(), image.height(), 3, image.bytes().data(),
                          3 * image.width()) != 0;
}

// Writes image as <build>/test-failures/<name>.png for a failed test; gives the path.
std::string saveFailureImage(const Image& image, const std::string& name) {
    const std::string path = std::string(QUENDLE_FAILURE_DIR) + "/" + name + ".png";
    mkdir(QUENDLE_FAILURE_DIR, 0777);
    writePng(path, image);
    return path;
}

}  // namespace

Image::Image(int width, int height, std::vector<std::uint8_t> rgb)
    : w(width), h(height), rgb(std::move(rgb)) {}

Rgb Image::at(int x, int y) const {
    const std::size_t i = 3 * (static_cast<std::size_t>(y) * w + x);
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Image readFrame() {
    std::vector<std::uint8_t> upward(3 * WindowSide * WindowSide);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WindowSide, WindowSide, GL_RGB, GL_UNSIGNED_BYTE, upward.data());
    std::vector<std::uint8_t> rgb(upward.size());
    const std::size_t rowBytes = 3 * WindowSide;
    for (int y = 0; y < WindowSide; ++y) {
        std::copy_n(upward.begin() + (WindowSide - 1 - y) * rowBytes, rowBytes,
                    rgb.begin() + y * rowBytes);
    }
    return Image(WindowSide, WindowSide, std::move(rgb));
}

std::string readText(const Image& image, int left, int baseline, int maxChars) {
    std::string best;
    for (int dy : {0, -1, 1}) {
        for (int dx : {0, -1, 1}) {
            const std::string text = readLine(image, left + dx, baseline + dy, maxChars);
            if (text.find('?') == std::string::npos) {
                return text;
            }
            best = best.empty() ? text : best;
        }
    }
    return best;
}

std::string differenceFromReference(const Image& image, const std::string& name) {
    const std::string path = std::string(QUENDLE_REFERENCE_DIR) + "/" + name + ".png";
    const char* update = std::getenv("QUENDLE_UPDATE_REFERENCES");
    if (update != nullptr && std::string(update) == "1") {
        return writePng(path, image) ? "" : "could not write " + path;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load(path.c_str(), &width, &height, &channels, 3), stbi_image_free);
    if (!pixels || width != image.width() || height != image.height()) {
        return "no reference of this size: " + path + " (QUENDLE_UPDATE_REFERENCES=1 makes it)";
    }
    const Image reference(width, height, {pixels.get(), pixels.get() + 3 * width * height});
    int differing = 0;
    std::string first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!nearColor(image.at(x, y), reference.at(x, y), ReferenceTolerance)) {
                first = differing++ == 0 ? std::to_string(x) + "," + std::to_string(y) : first;
            }
        }
    }
    if (differing == 0) {
        return "";
    }
    const std::string actual = saveFailureImage(image, name);
    return std::to_string(differing) + " pixels differ from " + path + ", the first at " + first +
           "; this run drew " + actual;
}
