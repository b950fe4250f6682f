#include "FrameInk.h"

#include "shell/Game.h"
#include "text/GlyphTable.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>

#include <sstream>

namespace {

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

void beginTextFrame() {
    Game& game = testGame();
    game.beginOverlayFrame();
    game.beginOverlayFrame();
}

FrameInk::FrameInk() {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    frameWidth = viewport[2];
    frameHeight = viewport[3];
    rgb.resize(static_cast<std::size_t>(frameWidth * frameHeight * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frameWidth, frameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
}

Rgb FrameInk::pixel(int x, int fromBottom) const {
    if (x < 0 || x >= frameWidth || fromBottom < 0 || fromBottom >= frameHeight) {
        return Background;
    }
    const std::size_t at = static_cast<std::size_t>((fromBottom * frameWidth + x) * 3);
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

bool FrameInk::inked(int x, int fromBottom) const {
    return !nearColor(pixel(x, fromBottom), Background, InkTolerance);
}

std::vector<std::uint8_t> FrameInk::cell(int left, int baseline) const {
    std::vector<std::uint8_t> rows;
    for (int row = 0; row < TextDisplay::GlyphRows; ++row) {
        std::uint8_t bits = 0;
        for (int column = 0; column < CellWidth; ++column) {
            if (inked(left + column, baseline - BaselineRow + row)) {
                bits = static_cast<std::uint8_t>(bits | (0x80 >> column));
            }
        }
        rows.push_back(bits);
    }
    return rows;
}

int FrameInk::inkCount() const {
    int count = 0;
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < frameWidth; ++x) {
            count += inked(x, y) ? 1 : 0;
        }
    }
    return count;
}

Rgb measureTextColor() {
    beginTextFrame();
    TextDisplay& display = testGame().getTextDisplay();
    glColor3fv(display.getTextColor());
    glRasterPos2f(0.0f, 0.0f);
    display.printString("|");
    // The bar's stroke covers columns 3-4 of the cell on every row.
    return FrameInk().pixel(300 + 3, 300);
}

int inkNotNear(const FrameInk& frame, Rgb color) {
    int count = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            count += frame.inked(x, y) && !nearColor(frame.pixel(x, y), color) ? 1 : 0;
        }
    }
    return count;
}

std::vector<std::uint8_t> glyphRows(char c) {
    if (!isPrintable(c)) {
        return std::vector<std::uint8_t>(TextDisplay::GlyphRows, 0);
    }
    const unsigned char* rows = GlyphTable[static_cast<unsigned char>(c) - TextDisplay::FirstGlyph];
    return std::vector<std::uint8_t>(rows, rows + TextDisplay::GlyphRows);
}

std::string inkMismatch(const FrameInk& frame, const std::vector<PlacedText>& texts) {
    std::vector<bool> expected(static_cast<std::size_t>(frame.width() * frame.height()), false);
    for (const PlacedText& placed : texts) {
        int left = placed.left;
        for (char c : placed.text) {
            if (!isPrintable(c)) {
                continue;
            }
            const std::vector<std::uint8_t> rows = glyphRows(c);
            for (int row = 0; row < TextDisplay::GlyphRows; ++row) {
                for (int column = 0; column < CellWidth; ++column) {
                    const int x = left + column;
                    const int y = placed.baseline - BaselineRow + row;
                    if ((rows[row] & (0x80 >> column)) && x >= 0 && x < frame.width() && y >= 0 &&
                        y < frame.height()) {
                        expected[static_cast<std::size_t>(y * frame.width() + x)] = true;
                    }
                }
            }
            left += TextDisplay::GlyphAdvance;
        }
    }

    std::ostringstream report;
    int differing = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const bool want = expected[static_cast<std::size_t>(y * frame.width() + x)];
            if (frame.inked(x, y) == want) {
                continue;
            }
            if (differing < ReportedPixels) {
                report << (want ? " missing ink at (" : " stray ink at (") << x << ", " << y << ")";
            }
            ++differing;
        }
    }
    if (differing == 0) {
        return "";
    }
    return std::to_string(differing) + " pixels differ:" + report.str();
}
