#include "shell/Game.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int NoChoice = DifficultyEscape;

// What the difficulty menu makes of one click: its item, or NoChoice when the
// click chose nothing and the Escape after it ended the menu.
int difficultyAfterClick(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    Game& game = testGame();
    pushMouseDown(x, y, button);
    pushKeyDown(SDLK_ESCAPE);
    const int result = game.difficultyMenu();
    drainEvents();
    return result;
}

bool queueIsEmpty() {
    SDL_Event event;
    return SDL_PollEvent(&event) == 0;
}

}  // namespace

TEST(MenuHitTest, ItemRowsAreChosenInsideTheirStrictBounds) {
    // Rows: 199-212, 244-257, 286-302, 334-344; columns 238-362.
    EXPECT_EQ(difficultyAfterClick(300, 199), 1);
    EXPECT_EQ(difficultyAfterClick(300, 205), 1);
    EXPECT_EQ(difficultyAfterClick(300, 212), 1);
    EXPECT_EQ(difficultyAfterClick(300, 244), 2);
    EXPECT_EQ(difficultyAfterClick(300, 257), 2);
    EXPECT_EQ(difficultyAfterClick(300, 286), 3);
    EXPECT_EQ(difficultyAfterClick(300, 302), 3);
    EXPECT_EQ(difficultyAfterClick(300, 334), 4);
    EXPECT_EQ(difficultyAfterClick(300, 344), 4);
    EXPECT_EQ(difficultyAfterClick(238, 205), 1);
    EXPECT_EQ(difficultyAfterClick(362, 340), 4);
}

TEST(MenuHitTest, ClicksOnTheBoundsChooseNothing) {
    EXPECT_EQ(difficultyAfterClick(300, 198), NoChoice);  // exactly -0.34
    EXPECT_EQ(difficultyAfterClick(300, 213), NoChoice);  // exactly -0.29
    EXPECT_EQ(difficultyAfterClick(300, 243), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 258), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 285), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 303), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 333), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 345), NoChoice);  // exactly 0.15
    EXPECT_EQ(difficultyAfterClick(237, 205), NoChoice);  // exactly -0.21
    EXPECT_EQ(difficultyAfterClick(363, 205), NoChoice);  // exactly 0.21
}

TEST(MenuHitTest, GapsAndOutsideTheColumnsChooseNothing) {
    EXPECT_EQ(difficultyAfterClick(300, 225), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 270), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 318), NoChoice);
    EXPECT_EQ(difficultyAfterClick(100, 205), NoChoice);
    EXPECT_EQ(difficultyAfterClick(500, 340), NoChoice);
    EXPECT_EQ(difficultyAfterClick(0, 0), NoChoice);
    EXPECT_EQ(difficultyAfterClick(599, 599), NoChoice);
}

TEST(MenuHitTest, OnlyTheLeftButtonChooses) {
    EXPECT_EQ(difficultyAfterClick(300, 205, SDL_BUTTON_RIGHT), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 205, SDL_BUTTON_MIDDLE), NoChoice);
    EXPECT_EQ(difficultyAfterClick(300, 205, SDL_BUTTON_WHEELUP), NoChoice);
}

TEST(MainMenu, NewGameAndQuitAreTheFirstAndLastItems) {
    Game& game = testGame();
    pushMouseDown(300, 205);
    EXPECT_EQ(game.mainMenu(), MenuNewGame);
    pushMouseDown(300, 340);
    EXPECT_EQ(game.mainMenu(), MenuQuit);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(game.mainMenu(), MenuQuit);
}

TEST(MainMenu, IgnoresOtherKeysButtonsReleasesAndMotion) {
    Game& game = testGame();
    pushMouseDown(300, 205, SDL_BUTTON_RIGHT);
    pushMouseUp(300, 205);
    pushMotion(300, 205);
    pushKeyDown(SDLK_RETURN);
    pushKeyDown(SDLK_n);
    pushKeyUp(SDLK_ESCAPE);
    pushMouseDown(300, 225);  // between two rows
    pushUserEvent(0);
    pushMouseDown(300, 340);  // "Quit"
    EXPECT_EQ(game.mainMenu(), MenuQuit);
    EXPECT_TRUE(queueIsEmpty());
}

TEST(MainMenu, InstructionsReturnToTheMenu) {
    Game& game = testGame();
    pushMouseDown(300, 294);  // "Instructions"
    pushKeyDown(SDLK_a);      // leaves the instructions
    pushMouseDown(300, 205);  // "New game", back in the menu
    EXPECT_EQ(game.mainMenu(), MenuNewGame);
    EXPECT_TRUE(queueIsEmpty());
}

TEST(DifficultyMenu, EscapeGoesBackAndOtherKeysAreIgnored) {
    Game& game = testGame();
    pushKeyDown(SDLK_RETURN);
    pushKeyDown(SDLK_1);
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(game.difficultyMenu(), DifficultyEscape);
    EXPECT_TRUE(queueIsEmpty());
}

TEST(Instructions, AnyKeyOrButtonLeaves) {
    Game& game = testGame();
    const SDLKey keys[] = {SDLK_ESCAPE, SDLK_SPACE, SDLK_LSHIFT, SDLK_z, SDLK_F1};
    for (SDLKey key : keys) {
        pushKeyDown(key);
        game.showInstructions();
        EXPECT_TRUE(queueIsEmpty()) << key;
    }
    const Uint8 buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT,
                             SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN};
    for (Uint8 button : buttons) {
        pushMouseDown(10, 10, button);
        game.showInstructions();
        EXPECT_TRUE(queueIsEmpty()) << int(button);
    }
}

TEST(Instructions, ReleasesMotionAndUserEventsDoNotLeave) {
    Game& game = testGame();
    pushKeyUp(SDLK_a);
    pushMouseUp(10, 10);
    pushMotion(20, 20);
    pushUserEvent(0);
    pushKeyDown(SDLK_a);
    pushKeyDown(SDLK_b);
    game.showInstructions();
    // Only the first key press was taken; the second is still waiting.
    SDL_Event event;
    ASSERT_EQ(SDL_PollEvent(&event), 1);
    EXPECT_EQ(event.type, SDL_KEYDOWN);
    EXPECT_EQ(event.key.keysym.sym, SDLK_b);
}

using MenuExitDeathTest = ::testing::Test;

TEST(MenuExitDeathTest, WindowCloseEndsEveryMenuLoopWithStatusZero) {
    Game& game = testGame();
    EXPECT_EXIT(
        {
            pushQuit();
            game.mainMenu();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            pushQuit();
            game.difficultyMenu();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            pushQuit();
            game.showInstructions();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            pushMouseDown(300, 294);
            pushQuit();
            game.mainMenu();
        },
        testing::ExitedWithCode(0), "");
}

TEST(MenuExitDeathTest, EscapeOrQuitInTheMainMenuEndTheProgramWithStatusZero) {
    Game& game = testGame();
    EXPECT_EXIT(
        {
            pushKeyDown(SDLK_ESCAPE);
            game.run();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            pushMouseDown(300, 340);
            game.run();
        },
        testing::ExitedWithCode(0), "");
    // Escape in the difficulty menu leads back to the main menu, not out.
    EXPECT_EXIT(
        {
            pushMouseDown(300, 205);
            pushKeyDown(SDLK_ESCAPE);
            pushKeyDown(SDLK_ESCAPE);
            game.run();
        },
        testing::ExitedWithCode(0), "");
}
