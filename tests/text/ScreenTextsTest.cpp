#include "FrameInk.h"

#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Four items at x 240, on the baselines 390, 345, 300 and 255.
std::vector<PlacedText> menu(const std::vector<std::string>& items) {
    std::vector<PlacedText> placed;
    for (const std::string& item : items) {
        placed.push_back({240, 390 - 45 * static_cast<int>(placed.size()), item});
    }
    return placed;
}

const std::vector<PlacedText> MainMenu = menu({"New game", "Highscore", "Instructions", "Quit"});

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

// From 30 px below the top edge, 30 px apart, at x 15.
std::vector<PlacedText> instructionsPage() {
    std::vector<PlacedText> page;
    for (const std::string& line : InstructionLines) {
        page.push_back({15, 570 - 30 * static_cast<int>(page.size()), line});
    }
    return page;
}

}  // namespace

// Each screen in its own frame, one after another; the loops set a colour of
// their own first, which the texts must not take.
TEST(ScreenTexts, EachScreenShowsItsTextsInPlaceInTheTextColour) {
    std::vector<PlacedText> afterAGame = MainMenu;
    afterAGame.push_back({30, 30, "Last round's Points: -130"});
    const struct {
        const char* name;
        std::function<void()> draw;
        std::vector<PlacedText> texts;
    } screens[] = {
        {"main menu", [] { display().drawMainMenu(); }, MainMenu},
        {"difficulty menu", [] { display().drawDifficultyMenu(); },
         menu({"Easy", "Normal", "Hard", "Insane"})},
        {"instructions", [] { display().drawInstructions(); }, instructionsPage()},
        {"main menu after a game",
         [] {
             display().setPoints(25);
             display().updateStatusLine(-130, 2, 3);
             display().drawMainMenu();
             display().drawLastRound();
         },
         afterAGame},
    };
    const Rgb textInk = measureTextColor();
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.name);
        SDL_GL_SwapBuffers();
        beginTextFrame();
        glColor3f(1.0f, 0.0f, 0.0f);
        screen.draw();
        EXPECT_EQ(inkMismatch(FrameInk(), screen.texts, textInk), "");
    }
}

TEST(ScreenTexts, LastRoundDrawsNothingAndKeepsTheColourBeforeTheFirstGame) {
    beginTextFrame();
    glColor3f(1.0f, 0.0f, 0.0f);
    display().drawLastRound();
    EXPECT_EQ(inkMismatch(FrameInk(), {}), "");
    GLfloat color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_EQ(std::vector<GLfloat>(color, color + 3), std::vector<GLfloat>({1.0f, 0.0f, 0.0f}));
}
