#include "highscore/ScoreFiles.h"
#include "highscore/ScreenPixels.h"
#include "shell/Game.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* Moon = "moon";

// A file that any save would rewrite: unsorted, with CR LF, a long score and a tie.
const std::string UnsavedBytes = "low\r\n+007\nhigh\n99\ntie\n99\n";
const std::string SavedBytes = fileOf(joined({{"high", 99}, {"tie", 99}, {"low", 7}}, blanks(7)));

// Pushed last, after the event under test: still queued when the screen has
// left on that event, gone when the screen went on reading.
constexpr SDLKey Sentinel = SDLK_F12;

TEST(HighscoreScreen, LeavesOnAnyKeyOrButtonPressOnlyAndVisitsKeepTheFileOrder) {
    const std::pair<const char*, void (*)()> presses[] = {
        {"Escape", [] { pushKeyDown(SDLK_ESCAPE); }},
        {"Return", [] { pushKeyDown(SDLK_RETURN); }},
        {"letter", [] { pushKeyDown(SDLK_q); }},
        {"lone Shift", [] { pushKeyDown(SDLK_LSHIFT, KMOD_LSHIFT); }},
        {"left button", [] { pushMouseDown(10, 10, SDL_BUTTON_LEFT); }},
        {"middle button", [] { pushMouseDown(10, 10, SDL_BUTTON_MIDDLE); }},
        {"right button", [] { pushMouseDown(590, 590, SDL_BUTTON_RIGHT); }},
        {"wheel up", [] { pushMouseDown(300, 300, SDL_BUTTON_WHEELUP); }},
        {"wheel down", [] { pushMouseDown(300, 300, SDL_BUTTON_WHEELDOWN); }}};
    ScopedWorkDir dir;
    writeFile(Moon, UnsavedBytes);
    Game& game = testGame();
    for (const auto& [what, push] : presses) {
        SCOPED_TRACE(what);
        // Releases, motion and other events come first and must not end the screen.
        pushKeyUp(SDLK_a);
        pushMotion(100, 100);
        pushMouseUp(100, 100, SDL_BUTTON_LEFT);
        pushUserEvent(0);
        push();
        pushKeyDown(Sentinel);
        game.showHighscoreScreen();
        EXPECT_TRUE(nextIsKeyDown(Sentinel));
        EXPECT_EQ(readFile(Moon), SavedBytes);
    }
}

// Runs in the child as the program ends: a rewritten file fails the test.
void failIfFileWasWritten() {
    const bool untouched = readFile(Moon) == UnsavedBytes;
    const std::filesystem::path workDir = std::filesystem::current_path();
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(workDir, ignored);
    if (!untouched) {
        _exit(3);
    }
}

TEST(HighscoreScreenDeathTest, WindowCloseEndsTheProgramWithoutWritingTheFile) {
    ScopedWorkDir dir;
    writeFile(Moon, UnsavedBytes);
    testGame();
    EXPECT_EXIT(
        {
            std::atexit(failIfFileWasWritten);
            pushKeyUp(SDLK_a);
            pushQuit();
            pushKeyDown(SDLK_a);
            testGame().showHighscoreScreen();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readFile(Moon), UnsavedBytes);
}

}  // namespace
