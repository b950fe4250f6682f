#include "FrameInk.h"

#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

constexpr int StatusBaseline = 30;

}  // namespace

TEST(StatusTexts, EmptyAndInvisibleUntilTheFirstLevelSetsThem) {
    EXPECT_EQ(display().getPointsText(), "");
    EXPECT_EQ(display().getLivesText(), "");
    EXPECT_EQ(display().getLevelText(), "");
    beginTextFrame();
    display().drawStatusLine();
    EXPECT_EQ(inkMismatch(FrameInk(), {}), "");
}

// Run in order: the shared number stream must hold nothing from the row before.
TEST(StatusTexts, EachTextIsItsPrefixAndThePlainDecimalNumber) {
    const struct {
        int points, lives, level;
        const char *pointsText, *livesText, *levelText;
    } cases[] = {
        {0, 0, 0, "Points: 0", "Lives: 0", "Level: 0"},
        {-7, -1, INT_MIN, "Points: -7", "Lives: -1", "Level: -2147483648"},
        {INT_MAX, 1000000, 12, "Points: 2147483647", "Lives: 1000000", "Level: 12"},
        {120, 3, 0, "Points: 120", "Lives: 3", "Level: 0"},
    };
    for (const auto& c : cases) {
        display().updateStatusLine(c.points, c.lives, c.level);
        EXPECT_EQ(display().getPointsText(), c.pointsText);
        EXPECT_EQ(display().getLivesText(), c.livesText);
        EXPECT_EQ(display().getLevelText(), c.levelText);
    }
}

TEST(StatusTexts, EachSetterRemakesOnlyItsOwnText) {
    display().setPoints(10);
    display().setPoints(20);
    EXPECT_EQ(display().getPointsText(), "Points: 20");
    display().setLives(3);
    display().setLevel(5);
    EXPECT_EQ(display().getLivesText(), "Lives: 3");
    EXPECT_EQ(display().getLevelText(), "Level: 5");
    EXPECT_EQ(display().getPointsText(), "Points: 20");
}

// At x 30, 150 and 270 on the baseline 30 px above the bottom, whatever the
// colour before; a five-digit score runs into "Lives: ", which stays put.
TEST(StatusLineDrawing, ThreeTextsAtTheirColumnsInTheTextColour) {
    const Rgb textInk = measureTextColor();
    for (int points : {120, 10000}) {
        SCOPED_TRACE(points);
        display().updateStatusLine(points, 3, 4);
        SDL_GL_SwapBuffers();
        beginTextFrame();
        glColor3f(1.0f, 0.0f, 0.0f);
        display().drawStatusLine();
        EXPECT_EQ(inkMismatch(FrameInk(),
                              {{30, StatusBaseline, "Points: " + std::to_string(points)},
                               {150, StatusBaseline, "Lives: 3"},
                               {270, StatusBaseline, "Level: 4"}},
                              textInk),
                  "");
    }
}
