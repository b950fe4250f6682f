#include "TextReader.h"

#include "text/GlyphTable.h"

#include <array>
#include <cstdint>

namespace {

constexpr int CellWidth = 8;
constexpr int Advance = 10;
constexpr int Rows = TextDisplay::GlyphRows;
// Glyph row r (bottom first) lies r - BaselineRow pixels above the baseline
// row, which is the pixel row just above the baseline.
constexpr int BaselineRow = 2;
constexpr char Unknown = '?';

using Cell = std::array<std::uint8_t, Rows>;

Cell cellAt(const Image& image, int left, int baselineFromTop) {
    Cell cell{};
    for (int row = 0; row < Rows; ++row) {
        const int y = baselineFromTop - 1 - (row - BaselineRow);
        for (int column = 0; column < CellWidth; ++column) {
            const int x = left + column;
            const bool ink = image.contains(x, y) && !isBackground(image.at(x, y));
            if (ink) {
                cell[row] |= static_cast<std::uint8_t>(0x80 >> column);
            }
        }
    }
    return cell;
}

char glyphOf(const Cell& cell) {
    for (int i = 0; i < TextDisplay::GlyphCount; ++i) {
        bool same = true;
        for (int row = 0; row < Rows && same; ++row) {
            same = GlyphTable[i][row] == cell[row];
        }
        if (same) {
            return static_cast<char>(TextDisplay::FirstGlyph + i);
        }
    }
    return Unknown;
}

std::string readAt(const Image& image, int left, int baselineFromTop, int maxChars) {
    std::string text;
    for (int i = 0; i < maxChars; ++i) {
        text += glyphOf(cellAt(image, left + i * Advance, baselineFromTop));
    }
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

// How well a reading fits: recognised visible characters count, unknown
// cells count against it.
int score(const std::string& text) {
    int result = 0;
    for (char c : text) {
        result += c == Unknown ? -2 : (c == ' ' ? 0 : 1);
    }
    return result;
}

}  // namespace

bool isBackground(Rgb pixel) {
    return nearColor(pixel, Background, BackgroundTolerance);
}

std::string readText(const Image& image, int left, int baselineFromTop, int maxChars) {
    std::string best = readAt(image, left, baselineFromTop, maxChars);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const std::string reading = readAt(image, left + dx, baselineFromTop + dy, maxChars);
            if (score(reading) > score(best)) {
                best = reading;
            }
        }
    }
    return best;
}

std::string asRead(const std::string& text, int maxChars) {
    std::string read;
    for (char c : text.substr(0, static_cast<std::size_t>(maxChars))) {
        const int code = static_cast<unsigned char>(c);
        if (code < TextDisplay::FirstGlyph ||
            code >= TextDisplay::FirstGlyph + TextDisplay::GlyphCount) {
            read += Unknown;
            continue;
        }
        Cell cell{};
        for (int row = 0; row < Rows; ++row) {
            cell[row] = GlyphTable[code - TextDisplay::FirstGlyph][row];
        }
        read += glyphOf(cell);
    }
    const std::size_t end = read.find_last_not_of(' ');
    return end == std::string::npos ? "" : read.substr(0, end + 1);
}
