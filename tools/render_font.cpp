// Draws the game's glyph table into a PPM picture for looking at the font
// without a window: every character in rows, then sample lines and the game's
// own texts, each pixel blown up to a square.
//
// Built with the game; `cmake --build <build> --target font-sheet` writes
// <build>/font-sheet.ppm. By hand: render_font FILE.ppm [scale]   (scale 1..8,
// default 3)

#include "text/GlyphTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int CellWidth = 8;
constexpr int BaselineRow = 2;  // rows below it hang under the baseline
constexpr int LineHeight = 20;
constexpr int Margin = 10;
constexpr int GridColumns = 16;
constexpr int LineCharacters = 60;  // a 600-pixel window holds 60 characters
constexpr int DefaultScale = 3;
constexpr int MaxScale = 8;

struct Color {
    unsigned char r, g, b;
};
constexpr Color Paper{153, 153, 178};  // the game's background
constexpr Color Ink{40, 40, 60};
constexpr Color BaselineGuide{135, 135, 160};  // under the character grid only

const char* const SampleLines[] = {
    "The quick brown fox jumps over the lazy dog",
    "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG",
    "0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
    "Il1| O0o gjpqy ,.;: il Illegal jig-saw",
    "",
    "New game",
    "Highscore",
    "Instructions",
    "Quit",
    "Easy",
    "Normal",
    "Hard",
    "Insane",
    "Points: 120   Lives: 3   Level: 4",
    "Last round's Points: -25",
    "",
    "Congratulations, you made it to the highscore list!",
    "Please enter your name:",
};

class Picture {
public:
    Picture(int width, int height) : width(width), height(height), pixels(width * height, Paper) {}

    void set(int x, int y, Color color) {
        if (x >= 0 && x < width && y >= 0 && y < height) {
            pixels[y * width + x] = color;
        }
    }

    // x is the cell's left edge, baselineY the row of the baseline counted
    // from the top, as the game places text.
    void drawGlyph(int x, int baselineY, unsigned char c) {
        if (c < TextDisplay::FirstGlyph || c >= TextDisplay::FirstGlyph + TextDisplay::GlyphCount) {
            return;
        }
        const unsigned char* rows = GlyphTable[c - TextDisplay::FirstGlyph];
        for (int row = 0; row < TextDisplay::GlyphRows; ++row) {
            for (int column = 0; column < CellWidth; ++column) {
                if (rows[row] & (0x80 >> column)) {
                    set(x + column, baselineY + BaselineRow - row, Ink);
                }
            }
        }
    }

    void drawText(int x, int baselineY, const std::string& text) {
        for (unsigned char c : text) {
            drawGlyph(x, baselineY, c);
            x += TextDisplay::GlyphAdvance;
        }
    }

    void drawGuide(int x, int baselineY, int length) {
        for (int i = 0; i < length; ++i) {
            set(x + i, baselineY, BaselineGuide);
        }
    }

    bool writePpm(const char* path, int scale) const {
        std::FILE* out = std::fopen(path, "wb");
        if (out == nullptr) {
            return false;
        }
        std::fprintf(out, "P6\n%d %d\n255\n", width * scale, height * scale);
        std::vector<unsigned char> line(static_cast<std::size_t>(width * scale * 3));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width * scale; ++x) {
                const Color color = pixels[y * width + x / scale];
                line[x * 3] = color.r;
                line[x * 3 + 1] = color.g;
                line[x * 3 + 2] = color.b;
            }
            for (int repeat = 0; repeat < scale; ++repeat) {
                std::fwrite(line.data(), 1, line.size(), out);
            }
        }
        return std::fclose(out) == 0;
    }

private:
    int width;
    int height;
    std::vector<Color> pixels;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s picture.ppm [scale]\n", argv[0]);
        return 2;
    }
    const int scale = argc == 3 ? std::atoi(argv[2]) : DefaultScale;
    if (scale < 1 || scale > MaxScale) {
        std::fprintf(stderr, "scale must be 1..%d\n", MaxScale);
        return 2;
    }

    const int gridRows = (TextDisplay::GlyphCount + GridColumns - 1) / GridColumns;
    const int sampleCount = static_cast<int>(sizeof SampleLines / sizeof SampleLines[0]);
    const int width = 2 * Margin + LineCharacters * TextDisplay::GlyphAdvance;
    const int height = 2 * Margin + (gridRows + 1 + sampleCount) * LineHeight;
    Picture picture(width, height);

    // The grid spaces the cells out so that each glyph can be judged alone.
    const int gridStep = 2 * TextDisplay::GlyphAdvance;
    int baselineY = Margin + LineHeight - 6;
    for (int i = 0; i < TextDisplay::GlyphCount; ++i) {
        const int column = i % GridColumns;
        if (column == 0 && i != 0) {
            baselineY += LineHeight;
        }
        if (column == 0) {
            picture.drawGuide(Margin, baselineY + 1, GridColumns * gridStep);
        }
        picture.drawGlyph(Margin + column * gridStep, baselineY,
                          static_cast<unsigned char>(TextDisplay::FirstGlyph + i));
    }
    baselineY += LineHeight;
    for (const char* line : SampleLines) {
        baselineY += LineHeight;
        picture.drawText(Margin, baselineY, line);
    }

    if (!picture.writePpm(argv[1], scale)) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
