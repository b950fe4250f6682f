#include "highscore/HighscoreTable.h"
#include "highscore/ScreenPixels.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

constexpr int TableLeft = 240;
constexpr int CharacterWidth = 10;

// Window row of row i's baseline, counted from the bottom: 30 pixels below
// the top for the first row, 60 pixels between rows.
int baselineOf(int row) {
    return 570 - 60 * row;
}

int column(int character) {
    return TableLeft + CharacterWidth * character;
}

class HighscoreTable : public testing::Test {
protected:
    void SetUp() override {
        game.beginOverlayFrame();
        game.beginOverlayFrame();
    }
    void draw(const std::list<HighscoreEntry>& entries) {
        drawHighscoreTable(game.getTextDisplay(), entries);
    }

    Game& game = testGame();
};

TEST_F(HighscoreTable, TenRowsStartAtTheirPlacesAndNoMoreAreDrawn) {
    std::list<HighscoreEntry> twelve;
    for (int score = 9; score > -3; --score) {
        twelve.emplace_back("A", score);
    }
    draw(twelve);
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(hasInk(column(0), baselineOf(row)));
        EXPECT_FALSE(hasInk(column(-1), baselineOf(row)));
        EXPECT_FALSE(hasInk(column(0), baselineOf(row) + 15));
        EXPECT_FALSE(hasInk(column(0), baselineOf(row) - 15));
    }
    // An eleventh row would sit below the window and leave the raster
    // position invalid; after ten it ends where the tenth row's text ends.
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    ASSERT_TRUE(valid);
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_NEAR(position[0], column(3), 0.5);  // "A 0"
    EXPECT_NEAR(position[1], baselineOf(9), 0.5);
}

TEST_F(HighscoreTable, RowIsNameSpaceScoreInTheTextColour) {
    draw({{"Ag", 0}, {"A", -5}, {"A", 123}, {"", 7}});
    // Which character cells hold ink, from column -1 on: "Ag 0", "A -5", "A 123", " 7".
    const char* const inked[] = {".xx.x.", ".x.xx.", ".x.xxx.", "..x."};
    for (int row = 0; row < 4; ++row) {
        for (int character = -1; inked[row][character + 1] != '\0'; ++character) {
            EXPECT_EQ(hasInk(column(character), baselineOf(row)), inked[row][character + 1] == 'x')
                << "row " << row << ", character " << character;
        }
    }
    const Rgb first = inkIn(column(0), baselineOf(0)).value_or(Background);
    EXPECT_TRUE(nearColor(first, inkIn(column(0), baselineOf(1)).value_or(Background), 2));
    // Not the white that every frame starts with.
    EXPECT_LT(first.r, 200);
}

TEST_F(HighscoreTable, AHugeNameIsCutWhereTheWindowEndsAndControlBytesDoNotCount) {
    // Sixty characters reach the window's edge from any row start; the rest
    // of a megabyte name never needs drawing.
    const std::string hidden(100, '\x01');
    draw({{hidden + std::string(1 << 20, 'A'), 3}});
    EXPECT_TRUE(hasInk(column(0), baselineOf(0)));
    EXPECT_TRUE(hasInk(column(35), baselineOf(0)));
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_NEAR(position[0], column(60), 0.5);
}

TEST_F(HighscoreTable, EmptyListShowsNoRows) {
    draw({});
    for (int row = 0; row < 10; ++row) {
        for (int character = -1; character < 6; ++character) {
            EXPECT_FALSE(hasInk(column(character), baselineOf(row))) << row << " " << character;
        }
    }
}

}  // namespace
