#include "highscore/HighscoreList.h"
#include "highscore/ScoreFiles.h"
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
        game.getTextDisplay().drawHighscoreTable(entries);
    }

    Game& game = testGame();
};

std::list<HighscoreEntry> named(const std::string& name, int count) {
    std::list<HighscoreEntry> entries;
    for (int i = 0; i < count; ++i) {
        entries.emplace_back(name, 9 - i);
    }
    return entries;
}

TEST_F(HighscoreTable, TenRowsStartAtTheirPlaces) {
    draw(named("A", 10));
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(hasInk(column(0), baselineOf(row)));
        EXPECT_FALSE(hasInk(column(-1), baselineOf(row)));
        EXPECT_FALSE(hasInk(column(0), baselineOf(row) + 15));
        EXPECT_FALSE(hasInk(column(0), baselineOf(row) - 15));
    }
}

TEST_F(HighscoreTable, RowIsNameSpaceScore) {
    draw({{"Ag", 0}, {"A", -5}, {"A", 123}});
    // "Ag 0"
    EXPECT_TRUE(hasInk(column(1), baselineOf(0)));
    EXPECT_FALSE(hasInk(column(2), baselineOf(0)));
    EXPECT_TRUE(hasInk(column(3), baselineOf(0)));
    EXPECT_FALSE(hasInk(column(4), baselineOf(0)));
    // "A -5": the sign right after the space
    EXPECT_FALSE(hasInk(column(1), baselineOf(1)));
    EXPECT_TRUE(hasInk(column(2), baselineOf(1)));
    EXPECT_TRUE(hasInk(column(3), baselineOf(1)));
    EXPECT_FALSE(hasInk(column(4), baselineOf(1)));
    // "A 123"
    EXPECT_TRUE(hasInk(column(4), baselineOf(2)));
    EXPECT_FALSE(hasInk(column(5), baselineOf(2)));
}

TEST_F(HighscoreTable, EmptyNameShowsASpaceThenTheScore) {
    draw({{"", 7}});
    EXPECT_FALSE(hasInk(column(0), baselineOf(0)));
    EXPECT_TRUE(hasInk(column(1), baselineOf(0)));
    EXPECT_FALSE(hasInk(column(2), baselineOf(0)));
}

TEST_F(HighscoreTable, EveryRowHasTheTextColour) {
    draw(named("A", 3));
    const auto first = inkIn(column(0), baselineOf(0));
    const auto second = inkIn(column(0), baselineOf(1));
    const auto third = inkIn(column(0), baselineOf(2));
    ASSERT_TRUE(first && second && third);
    EXPECT_TRUE(nearColor(*first, *second, 2));
    EXPECT_TRUE(nearColor(*third, *second, 2));
    // Not the white that every frame starts with.
    EXPECT_LT(first->r, 200);
}

TEST_F(HighscoreTable, NoMoreThanTenRowsAreDrawn) {
    // An eleventh row would sit below the window and leave the raster
    // position invalid; after ten it ends where the tenth row's text ends.
    draw(named("A", 12));
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    ASSERT_TRUE(valid);
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_NEAR(position[0], column(3), 0.5);  // "A 0"
    EXPECT_NEAR(position[1], baselineOf(9), 0.5);
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

TEST_F(HighscoreTable, MissingFileShowsNoRows) {
    ScopedWorkDir dir;
    const HighscoreList list;
    draw(list.getEntries());
    for (int row = 0; row < 10; ++row) {
        for (int character = -1; character < 6; ++character) {
            EXPECT_FALSE(hasInk(column(character), baselineOf(row))) << row << " " << character;
        }
    }
}

TEST_F(HighscoreTable, ShortFileStillShowsTenRows) {
    ScopedWorkDir dir;
    writeFile("moon", fileOf({{"A", 5}, {"A", 4}}));
    const HighscoreList list;
    draw(list.getEntries());
    for (int row = 2; row < 10; ++row) {
        SCOPED_TRACE(row);
        EXPECT_FALSE(hasInk(column(0), baselineOf(row)));  // empty name
        EXPECT_TRUE(hasInk(column(1), baselineOf(row)));   // score 0
    }
}

}  // namespace
