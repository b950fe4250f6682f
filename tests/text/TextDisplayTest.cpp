#include "FrameInk.h"

#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Overlay (x, y) and the same place in window pixels from the bottom left.
constexpr float LeftX = -0.8f;
constexpr int LeftPx = 60;
constexpr float UpperY = 0.5f;
constexpr int UpperPx = 450;
constexpr float LowerY = 0.2f;
constexpr int LowerPx = 360;

void printAt(float x, float y, const std::string& text) {
    glRasterPos2f(x, y);
    display().printString(text);
}

std::vector<float> currentVector(GLenum name) {
    std::vector<float> value(4);
    glGetFloatv(name, value.data());
    return value;
}

}  // namespace

TEST(FontOnScreen, TheGOfNewGameReadsBackAsItsRows) {
    beginTextFrame();
    display().drawMainMenu();
    // "New game" starts at x 240 on the baseline 390; its 'g' is character 4.
    EXPECT_EQ(readGlyphCell(240 + 10 * 4, 390), glyphRows('g'));
}

// Six lines of up to 16 characters, 20 px apart.
TEST(FontOnScreen, EveryGlyphDrawsExactlyItsTableRows) {
    beginTextFrame();
    const std::string all = printableCharacters();
    std::vector<PlacedText> expected;
    for (std::size_t first = 0; first < all.size(); first += 16) {
        const int baseline = UpperPx - 20 * static_cast<int>(expected.size());
        printAt(LeftX, (baseline - 300) / 300.0f, all.substr(first, 16));
        expected.push_back({LeftPx, baseline, all.substr(first, 16)});
    }
    EXPECT_EQ(inkMismatch(FrameInk(), expected), "");
}

TEST(PrintString, ControlBytesDrawNothingAndTakeNoSpace) {
    beginTextFrame();
    printAt(LeftX, UpperY, "A\tA");
    glRasterPos2f(LeftX, LowerY);
    display().printString("\x01"
                          "A\x7f\x80\xc8\x1f"
                          "A\xff");
    EXPECT_FLOAT_EQ(currentVector(GL_CURRENT_RASTER_POSITION)[0], LeftPx + 20.0f);
    EXPECT_EQ(inkMismatch(FrameInk(), {{LeftPx, UpperPx, "AA"}, {LeftPx, LowerPx, "AA"}}), "");
}

TEST(PrintString, AnEmptyStringDrawsNothingYetMakesTheDarkSlateBlueTextColourCurrent) {
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    glRasterPos2f(LeftX, UpperY);
    const std::vector<float> before = currentVector(GL_CURRENT_RASTER_POSITION);
    display().printString("");
    EXPECT_EQ(currentVector(GL_CURRENT_COLOR), std::vector<float>({0.2f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(currentVector(GL_CURRENT_RASTER_POSITION), before);
    EXPECT_EQ(inkMismatch(FrameInk(), {}), "");
}

// A run-on string keeps the colour fixed at its raster position; the text
// colour that printString leaves current applies from the next one.
TEST(PrintString, TheColourIsTheOneCurrentAtTheRasterPosition) {
    const Rgb textInk = measureTextColor();
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    glRasterPos2f(LeftX, UpperY);
    glColor3fv(display().getTextColor());
    display().printString("|");
    glColor3f(1.0f, 0.0f, 0.0f);
    display().printString(std::string("|"));
    printAt(LeftX, LowerY, "|");

    const FrameInk frame;
    const Rgb first = frame.pixel(LeftPx + 3, UpperPx);
    EXPECT_GT(first.r, first.g + 60) << "not drawn in the red current at the raster position";
    EXPECT_TRUE(nearColor(frame.pixel(LeftPx + 13, UpperPx), first)) << "run-on changed colour";
    EXPECT_TRUE(nearColor(frame.pixel(LeftPx + 3, LowerPx), textInk)) << "text colour not left";
}

TEST(PrintString, RestoresTheListBaseAndKeepsLightingAndDepthTest) {
    beginTextFrame();
    glListBase(7);
    printAt(LeftX, UpperY, "Quit");
    GLint listBase = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 7);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glListBase(0);
}
