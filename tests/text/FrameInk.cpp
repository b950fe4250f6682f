#include "FrameInk.h"

#include "shell/Game.h"
#include "text/GlyphTable.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>

#include <sstream>

namespace {

constexpr int Side = FrameInk::Side;
constexpr int InkTolerance = 6;
constexpr int BaselineRow = 2;
constexpr int CellWidth = 8;
constexpr int ReportedPixels = 5;

bool isPrintable(char c) {
    const int code = static_cast<unsigned char>(c);
    return code >= TextDisplay::FirstGlyph &&
           code < TextDisplay::FirstGlyph + TextDisplay::GlyphCount;
}

}  // namespace

TextDisplay& display() {
    return testGame().getTextDisplay();
}

void beginTextFrame() {
    Game& game = testGame();
    game.beginOverlayFrame();
    game.beginOverlayFrame();
}

FrameInk::FrameInk() : rgb(static_cast<std::size_t>(Side * Side * 3)) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, Side, Side, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
}

Rgb FrameInk::pixel(int x, int fromBottom) const {
    const std::size_t at = static_cast<std::size_t>((fromBottom * Side + x) * 3);
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

bool FrameInk::inked(int x, int fromBottom) const {
    return !nearColor(pixel(x, fromBottom), Background, InkTolerance);
}

Rgb measureTextColor() {
    beginTextFrame();
    glColor3fv(display().getTextColor());
    glRasterPos2f(0.0f, 0.0f);
    display().printString("|");
    // The bar's stroke covers columns 3-4 of the cell on every row.
    return FrameInk().pixel(300 + 3, 300);
}

std::string printableCharacters() {
    std::string all;
    for (int c = TextDisplay::FirstGlyph; c < TextDisplay::FirstGlyph + TextDisplay::GlyphCount;
         ++c) {
        all += static_cast<char>(c);
    }
    return all;
}

std::vector<std::uint8_t> glyphRows(char c) {
    const unsigned char* rows = GlyphTable[static_cast<unsigned char>(c) - TextDisplay::FirstGlyph];
    return std::vector<std::uint8_t>(rows, rows + TextDisplay::GlyphRows);
}

std::string inkMismatch(const FrameInk& frame, const std::vector<PlacedText>& texts,
                        std::optional<Rgb> inkColor) {
    std::vector<bool> expected(static_cast<std::size_t>(Side * Side), false);
    for (const PlacedText& placed : texts) {
        int left = placed.left;
        for (char c : placed.text) {
            if (!isPrintable(c)) {
                continue;  // no ink and no advance
            }
            const std::vector<std::uint8_t> rows = glyphRows(c);
            for (int row = 0; row < TextDisplay::GlyphRows; ++row) {
                for (int column = 0; column < CellWidth; ++column) {
                    const int x = left + column;
                    const int y = placed.baseline - BaselineRow + row;
                    if ((rows[row] & (0x80 >> column)) && x >= 0 && x < Side && y >= 0 &&
                        y < Side) {
                        expected[static_cast<std::size_t>(y * Side + x)] = true;
                    }
                }
            }
            left += TextDisplay::GlyphAdvance;
        }
    }

    std::ostringstream report;
    int differing = 0;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const bool want = expected[static_cast<std::size_t>(y * Side + x)];
            const bool inked = frame.inked(x, y);
            const bool offColor = inked && inkColor && !nearColor(frame.pixel(x, y), *inkColor);
            if ((inked != want || offColor) && differing++ < ReportedPixels) {
                report << (!inked ? " missing"
                           : want ? " off-colour"
                                  : " stray")
                       << " ink at (" << x << ", " << y << ")";
            }
        }
    }
    return differing == 0 ? "" : std::to_string(differing) + " pixels differ:" + report.str();
}
