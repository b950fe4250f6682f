#include "FrameInk.h"

#include "shell/Game.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Overlay (x, y) and the same place in window pixels from the bottom left.
constexpr float LeftX = -0.8f;  // 60 px
constexpr int LeftPx = 60;
constexpr float UpperY = 0.5f;  // 450 px
constexpr int UpperPx = 450;
constexpr float LowerY = 0.2f;  // 360 px
constexpr int LowerPx = 360;

TextDisplay& display() {
    return testGame().getTextDisplay();
}

void printAt(float x, float y, const std::string& text) {
    glRasterPos2f(x, y);
    display().printString(text);
}

std::vector<float> currentColor() {
    std::vector<float> color(4);
    glGetFloatv(GL_CURRENT_COLOR, color.data());
    return color;
}

std::vector<float> rasterPosition() {
    std::vector<float> position(4);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position.data());
    return position;
}

}  // namespace

TEST(TextDisplay, TextColourIsDarkSlateBlue) {
    const GLfloat* color = display().getTextColor();
    EXPECT_FLOAT_EQ(color[0], 0.2f);
    EXPECT_FLOAT_EQ(color[1], 0.2f);
    EXPECT_FLOAT_EQ(color[2], 0.3f);
    EXPECT_FLOAT_EQ(color[3], 1.0f);
}

TEST(FontOnScreen, TheGOfNewGameReadsBackAsItsRows) {
    beginTextFrame();
    display().drawMainMenu();
    // "New game" starts at x 240 on the baseline 390; its 'g' is character 4.
    EXPECT_EQ(readGlyphCell(240 + 10 * 4, 390), glyphRows('g'));
}

TEST(FontOnScreen, EveryGlyphDrawsExactlyItsTableRows) {
    constexpr int PerLine = 16;
    beginTextFrame();
    std::vector<PlacedText> expected;
    for (int first = TextDisplay::FirstGlyph;
         first < TextDisplay::FirstGlyph + TextDisplay::GlyphCount; first += PerLine) {
        std::string line;
        for (int c = first;
             c < first + PerLine && c < TextDisplay::FirstGlyph + TextDisplay::GlyphCount; ++c) {
            line += static_cast<char>(c);
        }
        const int baseline = UpperPx - 20 * static_cast<int>(expected.size());
        printAt(LeftX, (baseline - 300) / 300.0f, line);
        expected.push_back({LeftPx, baseline, line});
    }
    const FrameInk frame;
    EXPECT_EQ(inkMismatch(frame, expected), "");
    EXPECT_EQ(frame.cell(LeftPx + 10, UpperPx), glyphRows('!'));
}

TEST(PrintString, EachCharacterAdvancesTenPixels) {
    beginTextFrame();
    printAt(LeftX, UpperY, "AA0");
    const FrameInk frame;
    EXPECT_EQ(frame.cell(LeftPx, UpperPx), glyphRows('A'));
    EXPECT_EQ(frame.cell(LeftPx + 10, UpperPx), glyphRows('A'));
    EXPECT_EQ(frame.cell(LeftPx + 20, UpperPx), glyphRows('0'));
    EXPECT_EQ(inkMismatch(frame, {{LeftPx, UpperPx, "AA0"}}), "");
}

TEST(PrintString, ControlBytesDrawNothingAndTakeNoSpace) {
    beginTextFrame();
    printAt(LeftX, UpperY, "A\tA");
    printAt(LeftX, LowerY,
            "\x01"
            "A\x7f\xc8\x1f"
            "A\xff");
    EXPECT_EQ(inkMismatch(FrameInk(), {{LeftPx, UpperPx, "AA"}, {LeftPx, LowerPx, "AA"}}), "");
}

TEST(PrintString, ControlBytesLeaveTheRasterPositionWhereItWas) {
    beginTextFrame();
    glRasterPos2f(LeftX, UpperY);
    const std::vector<float> before = rasterPosition();
    display().printString("\t\x01\x1f\x7f\x80\xc8\xff");
    EXPECT_EQ(rasterPosition(), before);
    display().printString("Ab\tc");
    EXPECT_FLOAT_EQ(rasterPosition()[0], before[0] + 30.0f);
    EXPECT_FLOAT_EQ(rasterPosition()[1], before[1]);
}

TEST(PrintString, ASecondCallRunsOnFromTheFirst) {
    beginTextFrame();
    glRasterPos2f(LeftX, UpperY);
    display().printString("Hi");
    display().printString(std::string(" there"));
    EXPECT_EQ(inkMismatch(FrameInk(), {{LeftPx, UpperPx, "Hi there"}}), "");
}

TEST(PrintString, AnEmptyStringDrawsNothingYetMakesTheTextColourCurrent) {
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    glRasterPos2f(LeftX, UpperY);
    const std::vector<float> before = rasterPosition();
    display().printString("");
    display().printString(std::string());

    const GLfloat* textColor = display().getTextColor();
    const std::vector<float> color = currentColor();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(color[i], textColor[i]) << "component " << i;
    }
    EXPECT_EQ(rasterPosition(), before);
    EXPECT_EQ(FrameInk().inkCount(), 0);
}

TEST(PrintString, TheColourIsTheOneCurrentAtTheRasterPosition) {
    const Rgb textInk = measureTextColor();
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    glRasterPos2f(LeftX, UpperY);
    glColor3fv(display().getTextColor());
    display().printString("|");
    glColor3f(1.0f, 0.0f, 0.0f);
    display().printString("|");
    // The second string left the text colour current for this raster position.
    printAt(LeftX, LowerY, "|");

    const FrameInk frame;
    const Rgb first = frame.pixel(LeftPx + 3, UpperPx);
    const Rgb runOn = frame.pixel(LeftPx + 13, UpperPx);
    const Rgb below = frame.pixel(LeftPx + 3, LowerPx);
    EXPECT_GT(first.r, first.g + 60) << "not drawn in the red current at the raster position";
    EXPECT_TRUE(nearColor(runOn, first)) << "a run-on string keeps its raster position's colour";
    EXPECT_TRUE(nearColor(below, textInk)) << "printString did not leave the text colour current";
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

TEST(PrintString, TextRunningPastTheRightEdgeIsCutThere) {
    const std::string line(62, 'H');
    beginTextFrame();
    printAt(-1.0f, UpperY, line);
    const FrameInk frame;
    EXPECT_EQ(inkMismatch(frame, {{0, UpperPx, line}}), "");
    EXPECT_EQ(frame.cell(590, UpperPx), glyphRows('H'));  // the 60th fits whole
}
