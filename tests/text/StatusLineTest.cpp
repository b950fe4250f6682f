#include "FrameInk.h"

#include "shell/Game.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int StatusBaseline = 30;
constexpr int PointsLeft = 30;
constexpr int LivesLeft = 150;
constexpr int LevelLeft = 270;

TextDisplay& display() {
    return testGame().getTextDisplay();
}

}  // namespace

TEST(StatusTexts, AreEmptyUntilTheFirstLevelSetsThem) {
    EXPECT_EQ(display().getPointsText(), "");
    EXPECT_EQ(display().getLivesText(), "");
    EXPECT_EQ(display().getLevelText(), "");
}

TEST(StatusTexts, ZeroIsThePrefixAndASingleDigit) {
    display().setPoints(0);
    display().setLives(0);
    display().setLevel(0);
    EXPECT_EQ(display().getPointsText(), "Points: 0");
    EXPECT_EQ(display().getLivesText(), "Lives: 0");
    EXPECT_EQ(display().getLevelText(), "Level: 0");
}

TEST(StatusTexts, NegativeNumbersHaveAMinusAndNoFill) {
    display().setPoints(-7);
    display().setLives(-1);
    display().setLevel(INT_MIN);
    EXPECT_EQ(display().getPointsText(), "Points: -7");
    EXPECT_EQ(display().getLivesText(), "Lives: -1");
    EXPECT_EQ(display().getLevelText(), "Level: -2147483648");
}

TEST(StatusTexts, LargeNumbersHaveNoGrouping) {
    display().setPoints(INT_MAX);
    display().setLives(1000000);
    EXPECT_EQ(display().getPointsText(), "Points: 2147483647");
    EXPECT_EQ(display().getLivesText(), "Lives: 1000000");
}

TEST(StatusTexts, NothingIsLeftOverFromTheCallBefore) {
    display().setPoints(10);
    display().setPoints(20);
    EXPECT_EQ(display().getPointsText(), "Points: 20");
    display().setLives(3);
    EXPECT_EQ(display().getLivesText(), "Lives: 3");
    display().setLevel(5);
    EXPECT_EQ(display().getLevelText(), "Level: 5");
    EXPECT_EQ(display().getPointsText(), "Points: 20");
}

TEST(StatusTexts, UpdateStatusLineRemakesEachTextFromItsOwnArgument) {
    display().updateStatusLine(120, 3, 0);
    EXPECT_EQ(display().getPointsText(), "Points: 120");
    EXPECT_EQ(display().getLivesText(), "Lives: 3");
    EXPECT_EQ(display().getLevelText(), "Level: 0");
    display().updateStatusLine(-5, 1, 12);
    EXPECT_EQ(display().getPointsText(), "Points: -5");
    EXPECT_EQ(display().getLivesText(), "Lives: 1");
    EXPECT_EQ(display().getLevelText(), "Level: 12");
}

TEST(StatusLineDrawing, NothingShowsBeforeTheTextsAreSet) {
    beginTextFrame();
    display().drawStatusLine();
    EXPECT_EQ(FrameInk().inkCount(), 0);
}

TEST(StatusLineDrawing, ThreeTextsOnTheBaselineThirtyPixelsAboveTheBottom) {
    display().updateStatusLine(120, 3, 4);
    beginTextFrame();
    display().drawStatusLine();
    EXPECT_EQ(inkMismatch(FrameInk(), {{PointsLeft, StatusBaseline, "Points: 120"},
                                       {LivesLeft, StatusBaseline, "Lives: 3"},
                                       {LevelLeft, StatusBaseline, "Level: 4"}}),
              "");
}

TEST(StatusLineDrawing, AllThreeTextsAreInTheTextColour) {
    const Rgb textInk = measureTextColor();
    display().updateStatusLine(9, 8, 7);
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    display().drawStatusLine();
    const FrameInk frame;
    EXPECT_GT(frame.inkCount(), 0);
    EXPECT_EQ(inkNotNear(frame, textInk), 0);
}

TEST(StatusLineDrawing, AFiveDigitScoreRunsIntoTheLivesText) {
    display().updateStatusLine(10000, 3, 1);
    beginTextFrame();
    display().drawStatusLine();
    const FrameInk frame;
    // The last digit's cell starts at x 150, where "Lives: " begins.
    EXPECT_EQ(inkMismatch(frame, {{PointsLeft, StatusBaseline, "Points: 10000"},
                                  {LivesLeft, StatusBaseline, "Lives: 3"},
                                  {LevelLeft, StatusBaseline, "Level: 1"}}),
              "");
    EXPECT_NE(frame.cell(LivesLeft, StatusBaseline), glyphRows('L'));
}
