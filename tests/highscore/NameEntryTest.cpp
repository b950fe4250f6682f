#include "highscore/NameEntry.h"
#include "highscore/ScreenPixels.h"
#include "highscore/TextField.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

namespace {

std::string enterAfter(void (*pushKeys)()) {
    Game& game = testGame();
    pushKeys();
    pushKeyDown(SDLK_RETURN);
    return game.enterName();
}

// ---- Letters and their case, as real key events carry the modifier state ----

TEST(NameEntryKeys, ShiftGivesACapital) {
    EXPECT_EQ(enterAfter([] {
                  pushKeyDown(SDLK_LSHIFT, KMOD_LSHIFT);
                  pushKeyDown(SDLK_a, KMOD_LSHIFT);
                  pushKeyUp(SDLK_LSHIFT);
                  pushKeyDown(SDLK_a);
              }),
              "Aa");
}

TEST(NameEntryKeys, CapsLockGivesACapital) {
    EXPECT_EQ(enterAfter([] {
                  pushKeyDown(SDLK_CAPSLOCK, KMOD_CAPS);
                  pushKeyUp(SDLK_CAPSLOCK, KMOD_CAPS);
                  pushKeyDown(SDLK_a, KMOD_CAPS);
              }),
              "A");
}

TEST(NameEntryKeys, CapsLockWithShiftGivesASmallLetter) {
    EXPECT_EQ(enterAfter([] { pushKeyDown(SDLK_a, SDLMod(KMOD_CAPS | KMOD_RSHIFT)); }), "a");
}

TEST(NameEntryKeys, NumLockDoesNotStopShift) {
    EXPECT_EQ(enterAfter([] {
                  pushKeyDown(SDLK_a, SDLMod(KMOD_NUM | KMOD_LSHIFT));
                  pushKeyDown(SDLK_b, KMOD_NUM);
              }),
              "Ab");
}

TEST(NameEntryKeys, BothShiftsGiveACapital) {
    EXPECT_EQ(enterAfter([] { pushKeyDown(SDLK_a, SDLMod(KMOD_LSHIFT | KMOD_RSHIFT)); }), "A");
}

TEST(NameEntryKeys, CtrlShiftLetterStaysSmall) {
    EXPECT_EQ(enterAfter([] { pushKeyDown(SDLK_a, SDLMod(KMOD_LCTRL | KMOD_LSHIFT)); }), "a");
}

TEST(NameEntryKeys, NumberRowDigitsAndSpaceAreTyped) {
    EXPECT_EQ(enterAfter([] {
                  pushKeyDown(SDLK_1);
                  pushKeyDown(SDLK_SPACE);
                  pushKeyDown(SDLK_0);
              }),
              "1 0");
}

TEST(NameEntryKeys, KeypadDigitsAndKeypadEnterDoNothing) {
    // Were keypad Enter to end the entry, the name would be empty.
    EXPECT_EQ(enterAfter([] {
                  pushKeyDown(SDLK_KP1, KMOD_NUM);
                  pushKeyDown(SDLK_KP_ENTER, KMOD_NUM);
                  pushKeyDown(SDLK_ESCAPE);
                  pushKeyDown(SDLK_b);
              }),
              "b");
}

TEST(NameEntryKeys, BackspaceRemovesTheLastCharacterAndIsHarmlessOnNothing) {
    EXPECT_EQ(enterAfter([] {
                  pushKeyDown(SDLK_BACKSPACE);
                  pushKeyDown(SDLK_x);
                  pushKeyDown(SDLK_SPACE);
                  pushKeyDown(SDLK_BACKSPACE);
                  pushKeyDown(SDLK_y);
                  pushKeyDown(SDLK_BACKSPACE);
              }),
              "x");
}

TEST(NameEntryKeys, ReleasesAndMouseButtonsDoNothing) {
    EXPECT_EQ(enterAfter([] {
                  pushMouseDown(300, 300, SDL_BUTTON_LEFT);
                  pushMouseUp(300, 300, SDL_BUTTON_LEFT);
                  pushMouseDown(300, 300, SDL_BUTTON_RIGHT);
                  pushMotion(10, 10);
                  pushKeyUp(SDLK_q);
                  pushUserEvent(0);
                  pushKeyDown(SDLK_k);
              }),
              "k");
}

// ---- Ending the entry ----

TEST(NameEntryEnd, ReturnAtOnceGivesTheEmptyName) {
    EXPECT_EQ(enterAfter([] {}), "");
}

TEST(NameEntryEnd, HoldingAKeyDoesNotRepeatIt) {
    EXPECT_EQ(enterAfter([] { pushKeyDown(SDLK_a); }), "a");
    int delay = -1;
    int interval = -1;
    SDL_GetKeyRepeat(&delay, &interval);
    EXPECT_EQ(delay, 0);
}

TEST(NameEntryEnd, ReturnEndsTheEntryAndLeavesLaterKeysQueued) {
    Game& game = testGame();
    pushKeyDown(SDLK_a);
    pushKeyDown(SDLK_RETURN);
    pushKeyDown(SDLK_b);
    EXPECT_EQ(game.enterName(), "a");
    EXPECT_TRUE(nextIsKeyDown(SDLK_b));
    EXPECT_EQ(game.getNameField().getText(), "a");
}

TEST(NameEntryEnd, EachEntryStartsWithAnEmptyName) {
    Game& game = testGame();
    pushKeyDown(SDLK_a);
    pushKeyDown(SDLK_b);
    pushKeyDown(SDLK_RETURN);
    EXPECT_EQ(game.enterName(), "ab");
    pushKeyDown(SDLK_c);
    pushKeyDown(SDLK_RETURN);
    EXPECT_EQ(game.enterName(), "c");
}

TEST(NameEntryEnd, LongNamesAreReturnedWhole) {
    Game& game = testGame();
    for (int i = 0; i < 60; ++i) {
        pushKeyDown(SDLK_z);
    }
    pushKeyDown(SDLK_RETURN);
    EXPECT_EQ(game.enterName(), std::string(60, 'z'));
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

// Window rows of the baselines, counted from the bottom.
constexpr int CongratulationBaseline = 450;
constexpr int PromptBaseline = 420;
constexpr int NameBaseline = 390;
constexpr int LastRoundBaseline = 30;

TEST_F(NameEntryFrame, CongratulationPromptAndNameStartAtTheirPlaces) {
    drawNameEntry(display, "A");
    EXPECT_TRUE(hasInk(30, CongratulationBaseline));
    EXPECT_FALSE(hasInk(20, CongratulationBaseline));
    EXPECT_TRUE(hasInk(120, PromptBaseline));
    EXPECT_FALSE(hasInk(110, PromptBaseline));
    EXPECT_TRUE(hasInk(120, NameBaseline));
    EXPECT_FALSE(hasInk(110, NameBaseline));
    EXPECT_FALSE(hasInk(130, NameBaseline));
}

TEST_F(NameEntryFrame, TextsRunTheirFullLength) {
    drawNameEntry(display, "A0");
    // The congratulation has 51 characters, the prompt 23; both end in ink.
    EXPECT_TRUE(hasInk(30 + 50 * 10, CongratulationBaseline));
    EXPECT_FALSE(hasInk(30 + 51 * 10, CongratulationBaseline));
    EXPECT_TRUE(hasInk(120 + 22 * 10, PromptBaseline));
    EXPECT_FALSE(hasInk(120 + 23 * 10, PromptBaseline));
    EXPECT_TRUE(hasInk(130, NameBaseline));
}

TEST_F(NameEntryFrame, EveryLineHasTheTextColour) {
    drawNameEntry(display, "A");
    const auto congratulation = inkIn(30, CongratulationBaseline);
    const auto prompt = inkIn(120, PromptBaseline);
    const auto name = inkIn(120, NameBaseline);
    ASSERT_TRUE(congratulation && prompt && name);
    EXPECT_TRUE(nearColor(*congratulation, *prompt, 2));
    EXPECT_TRUE(nearColor(*name, *prompt, 2));
    // Not the white that every frame starts with.
    EXPECT_LT(prompt->r, 200);
}

TEST_F(NameEntryFrame, EmptyNameDrawsNothingOnItsLine) {
    drawNameEntry(display, "");
    EXPECT_FALSE(hasInk(120, NameBaseline));
}

TEST_F(NameEntryFrame, LastRoundsPointsShowAtTheBottomOnceThereAreAny) {
    drawNameEntry(display, "A");
    EXPECT_FALSE(hasInk(30, LastRoundBaseline));
    display.setPoints(42);
    game.beginOverlayFrame();
    drawNameEntry(display, "A");
    EXPECT_TRUE(hasInk(30, LastRoundBaseline));
}

}  // namespace
