#include "highscore/NameEntry.h"
#include "highscore/ScreenPixels.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Key presses as real key events carry them: each with the modifier state.
using Presses = std::vector<std::pair<SDLKey, int>>;

std::string enterAfter(const Presses& presses) {
    Game& game = testGame();
    for (const auto& [sym, mod] : presses) {
        pushKeyDown(sym, SDLMod(mod));
    }
    pushKeyDown(SDLK_RETURN);
    return game.enterName();
}

TEST(NameEntryKeys, TypedKeysGiveTheName) {
    const std::pair<Presses, const char*> cases[] = {
        {{}, ""},
        {{{SDLK_LSHIFT, KMOD_LSHIFT}, {SDLK_a, KMOD_LSHIFT}, {SDLK_a, 0}}, "Aa"},
        {{{SDLK_CAPSLOCK, KMOD_CAPS}, {SDLK_a, KMOD_CAPS}}, "A"},
        {{{SDLK_a, KMOD_CAPS | KMOD_RSHIFT}}, "a"},
        {{{SDLK_a, KMOD_NUM | KMOD_LSHIFT}, {SDLK_b, KMOD_NUM}}, "Ab"},
        {{{SDLK_a, KMOD_LSHIFT | KMOD_RSHIFT}}, "A"},
        {{{SDLK_a, KMOD_LCTRL | KMOD_LSHIFT}}, "a"},
        {{{SDLK_1, 0}, {SDLK_SPACE, 0}, {SDLK_0, 0}}, "1 0"},
        // Were keypad Enter to end the entry, the name would be empty.
        {{{SDLK_KP1, KMOD_NUM}, {SDLK_KP_ENTER, KMOD_NUM}, {SDLK_ESCAPE, 0}, {SDLK_b, 0}}, "b"},
        {{{SDLK_BACKSPACE, 0},
          {SDLK_x, 0},
          {SDLK_SPACE, 0},
          {SDLK_BACKSPACE, 0},
          {SDLK_y, 0},
          {SDLK_BACKSPACE, 0}},
         "x"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(enterAfter(cases[i].first), cases[i].second) << "case " << i;
    }
}

// ---- Ending the entry ----

TEST(NameEntryEnd, ReturnLeavesLaterKeysQueuedAndTheNextEntryStartsEmpty) {
    Game& game = testGame();
    // Releases, mouse events and the like are no keys to type.
    pushMouseDown(300, 300, SDL_BUTTON_LEFT);
    pushMouseUp(300, 300, SDL_BUTTON_LEFT);
    pushMouseDown(300, 300, SDL_BUTTON_RIGHT);
    pushMotion(10, 10);
    pushKeyUp(SDLK_q);
    pushUserEvent(0);
    pushKeyDown(SDLK_a);
    pushKeyDown(SDLK_RETURN);
    pushKeyDown(SDLK_b);
    EXPECT_EQ(game.enterName(), "a");
    EXPECT_TRUE(nextIsKeyDown(SDLK_b));
    pushKeyDown(SDLK_c);
    pushKeyDown(SDLK_RETURN);
    EXPECT_EQ(game.enterName(), "c");
    // A held key is typed once.
    int delay = -1;
    int interval = -1;
    SDL_GetKeyRepeat(&delay, &interval);
    EXPECT_EQ(delay, 0);
}

TEST(NameEntryEndDeathTest, WindowCloseEndsTheProgramWithStatusZero) {
    testGame();
    EXPECT_EXIT(
        {
            pushKeyDown(SDLK_a);
            pushQuit();
            pushKeyDown(SDLK_RETURN);
            testGame().enterName();
        },
        testing::ExitedWithCode(0), "");
}

// ---- The screen's texts ----

class NameEntryFrame : public testing::Test {
protected:
    void SetUp() override {
        game.beginOverlayFrame();
        game.beginOverlayFrame();
    }
    Game& game = testGame();
    TextDisplay& display = game.getTextDisplay();
};

TEST_F(NameEntryFrame, CongratulationPromptAndNameRunFromTheirPlacesInTheTextColour) {
    struct Line {
        int left;
        int baseline;
        int length;  // in characters
    };
    // Congratulation, prompt and name "A0"; baselines counted from the bottom.
    const Line lines[] = {{30, 450, 51}, {120, 420, 23}, {120, 390, 2}};
    drawNameEntry(display, "A0");
    const auto promptInk = inkIn(120, 420);
    ASSERT_TRUE(promptInk);
    // Not the white that every frame starts with.
    EXPECT_LT(promptInk->r, 200);
    for (const Line& line : lines) {
        SCOPED_TRACE(line.baseline);
        EXPECT_FALSE(hasInk(line.left - 10, line.baseline));
        EXPECT_TRUE(hasInk(line.left, line.baseline));
        EXPECT_TRUE(hasInk(line.left + (line.length - 1) * 10, line.baseline));
        EXPECT_FALSE(hasInk(line.left + line.length * 10, line.baseline));
        EXPECT_TRUE(nearColor(inkIn(line.left, line.baseline).value_or(Background), *promptInk, 2));
    }
}

TEST_F(NameEntryFrame, EmptyNameDrawsNothingAndLastRoundsPointsShowOnceThereAreAny) {
    drawNameEntry(display, "");
    EXPECT_FALSE(hasInk(120, 390));
    EXPECT_FALSE(hasInk(30, 30));
    display.setPoints(42);
    game.beginOverlayFrame();
    drawNameEntry(display, "");
    EXPECT_TRUE(hasInk(30, 30));
}

}  // namespace
