#include "FrameInk.h"

#include "shell/Game.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int MenuLeft = 240;
constexpr int InstructionsLeft = 15;
constexpr int FirstInstructionBaseline = 570;  // 30 px below the top edge
constexpr int InstructionStep = 30;
constexpr int LastRoundLeft = 30;
constexpr int LastRoundBaseline = 30;

TextDisplay& display() {
    return testGame().getTextDisplay();
}

// The colour the menu loops set before drawing; the texts must not take it.
void setMenuLoopColor() {
    glColor3f(0.2f, 0.0f, 0.0f);
}

const std::vector<PlacedText> MainMenu = {{MenuLeft, 390, "New game"},
                                          {MenuLeft, 345, "Highscore"},
                                          {MenuLeft, 300, "Instructions"},
                                          {MenuLeft, 255, "Quit"}};

const std::vector<PlacedText> DifficultyMenu = {{MenuLeft, 390, "Easy"},
                                                {MenuLeft, 345, "Normal"},
                                                {MenuLeft, 300, "Hard"},
                                                {MenuLeft, 255, "Insane"}};

const std::vector<std::string> InstructionLines = {
    "The game consists of red and blue balls,",
    "and red and blue shoots. When the red ",
    "& blue balls fall from the top of the screen,",
    "you have to fire at them by pressing a mouse",
    "button. Your left mouse button fires blue shoots,",
    "your right mouse button fires red ones.Use red",
    "shoots to eliminate the red balls,blue shots ",
    "to eliminate blue balls. You lose a life if a ball ",
    "falls to the bottom, a shot reaches the top,",
    "or if you hit a ball which colour differs from your shot.",
};

std::vector<PlacedText> instructionsPage() {
    std::vector<PlacedText> page;
    int baseline = FirstInstructionBaseline;
    for (const std::string& line : InstructionLines) {
        page.push_back({InstructionsLeft, baseline, line});
        baseline -= InstructionStep;
    }
    return page;
}

}  // namespace

TEST(MainMenuTexts, FourItemsInTheirRowsAtColumn240) {
    beginTextFrame();
    setMenuLoopColor();
    display().drawMainMenu();
    EXPECT_EQ(inkMismatch(FrameInk(), MainMenu), "");
}

TEST(MainMenuTexts, AllItemsAreDrawnAlikeInTheTextColour) {
    const Rgb textInk = measureTextColor();
    beginTextFrame();
    setMenuLoopColor();
    display().drawMainMenu();
    const FrameInk frame;
    EXPECT_GT(frame.inkCount(), 0);
    EXPECT_EQ(inkNotNear(frame, textInk), 0);
}

TEST(MainMenuTexts, TheSameOnEveryFrame) {
    beginTextFrame();
    display().drawMainMenu();
    const FrameInk first;
    SDL_GL_SwapBuffers();
    beginTextFrame();
    display().drawMainMenu();
    const FrameInk second;
    EXPECT_EQ(inkMismatch(second, MainMenu), "");
    EXPECT_EQ(first.inkCount(), second.inkCount());
}

TEST(DifficultyMenuTexts, FourItemsInTheirRowsAtColumn240) {
    beginTextFrame();
    setMenuLoopColor();
    display().drawDifficultyMenu();
    EXPECT_EQ(inkMismatch(FrameInk(), DifficultyMenu), "");
}

TEST(DifficultyMenuTexts, AllItemsAreDrawnInTheTextColour) {
    const Rgb textInk = measureTextColor();
    beginTextFrame();
    setMenuLoopColor();
    display().drawDifficultyMenu();
    const FrameInk frame;
    EXPECT_GT(frame.inkCount(), 0);
    EXPECT_EQ(inkNotNear(frame, textInk), 0);
}

TEST(InstructionsTexts, TenLinesFromThirtyPixelsBelowTheTopThirtyApart) {
    beginTextFrame();
    display().drawInstructions();
    EXPECT_EQ(inkMismatch(FrameInk(), instructionsPage()), "");
}

TEST(InstructionsTexts, TheLongestLineEndsFifteenPixelsBeforeTheRightEdge) {
    beginTextFrame();
    display().drawInstructions();
    const FrameInk frame;
    // The last line's final '.' is character 57, in the cell from x 575.
    const int lastBaseline = FirstInstructionBaseline - 9 * InstructionStep;
    EXPECT_EQ(frame.cell(InstructionsLeft + 10 * 56, lastBaseline), glyphRows('.'));
    for (int x = InstructionsLeft + 10 * 57; x < frame.width(); ++x) {
        for (int y = 0; y < frame.height(); ++y) {
            ASSERT_FALSE(frame.inked(x, y)) << "ink at (" << x << ", " << y << ")";
        }
    }
}

TEST(InstructionsTexts, AllLinesAreDrawnInTheTextColour) {
    const Rgb textInk = measureTextColor();
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    display().drawInstructions();
    EXPECT_EQ(inkNotNear(FrameInk(), textInk), 0);
}

TEST(LastRoundText, DrawsNothingAndKeepsTheColourBeforeTheFirstGame) {
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    display().drawLastRound();
    EXPECT_EQ(FrameInk().inkCount(), 0);
    GLfloat color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[0], 1.0f);
    EXPECT_FLOAT_EQ(color[1], 0.0f);
    EXPECT_FLOAT_EQ(color[2], 0.0f);
}

TEST(LastRoundText, ShowsThePointsTextOnceItIsSet) {
    display().setPoints(0);
    beginTextFrame();
    display().drawLastRound();
    EXPECT_EQ(
        inkMismatch(FrameInk(), {{LastRoundLeft, LastRoundBaseline, "Last round's Points: 0"}}),
        "");
}

TEST(LastRoundText, FollowsTheLatestPoints) {
    const Rgb textInk = measureTextColor();
    display().setPoints(25);
    display().setPoints(-130);
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    display().drawLastRound();
    const FrameInk frame;
    EXPECT_EQ(inkMismatch(frame, {{LastRoundLeft, LastRoundBaseline, "Last round's Points: -130"}}),
              "");
    EXPECT_EQ(inkNotNear(frame, textInk), 0);
}

TEST(LastRoundText, JoinsTheMainMenuBelowItsItems) {
    display().updateStatusLine(4711, 2, 3);
    beginTextFrame();
    setMenuLoopColor();
    display().drawMainMenu();
    display().drawLastRound();
    std::vector<PlacedText> screen = MainMenu;
    screen.push_back({LastRoundLeft, LastRoundBaseline, "Last round's Points: 4711"});
    EXPECT_EQ(inkMismatch(FrameInk(), screen), "");
}
