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

// A file that any save would rewrite: unsorted, with CR LF and a long score.
const std::string UnsavedBytes = "low\r\n+007\nhigh\n99\n";
const std::string SavedBytes = fileOf(joined({{"high", 99}, {"low", 7}}, blanks(8)));

// Pushed last, after the event under test: still queued when the screen has
// left on that event, gone when the screen went on reading.
constexpr SDLKey Sentinel = SDLK_F12;

struct LeavingEvent {
    const char* name;
    void (*push)();
};

void PrintTo(const LeavingEvent& event, std::ostream* out) {
    *out << event.name;
}

const LeavingEvent LeavingEvents[] = {
    {"Escape", [] { pushKeyDown(SDLK_ESCAPE); }},
    {"Return", [] { pushKeyDown(SDLK_RETURN); }},
    {"Letter", [] { pushKeyDown(SDLK_q); }},
    {"LoneShift", [] { pushKeyDown(SDLK_LSHIFT, KMOD_LSHIFT); }},
    {"LeftButton", [] { pushMouseDown(10, 10, SDL_BUTTON_LEFT); }},
    {"MiddleButton", [] { pushMouseDown(10, 10, SDL_BUTTON_MIDDLE); }},
    {"RightButton", [] { pushMouseDown(590, 590, SDL_BUTTON_RIGHT); }},
    {"WheelUp", [] { pushMouseDown(300, 300, SDL_BUTTON_WHEELUP); }},
    {"WheelDown", [] { pushMouseDown(300, 300, SDL_BUTTON_WHEELDOWN); }},
};

class HighscoreScreenLeaving : public testing::TestWithParam<LeavingEvent> {};

TEST_P(HighscoreScreenLeaving, LeavesOnThePressAndWritesTheFile) {
    ScopedWorkDir dir;
    writeFile(Moon, UnsavedBytes);
    Game& game = testGame();
    GetParam().push();
    pushKeyDown(Sentinel);
    game.showHighscoreScreen();
    EXPECT_TRUE(nextIsKeyDown(Sentinel));
    EXPECT_EQ(readFile(Moon), SavedBytes);
}

INSTANTIATE_TEST_SUITE_P(AnyKeyOrButton, HighscoreScreenLeaving, testing::ValuesIn(LeavingEvents),
                         [](const testing::TestParamInfo<LeavingEvent>& info) {
                             return std::string(info.param.name);
                         });

TEST(HighscoreScreen, ReleasesMotionAndOtherEventsDoNotLeave) {
    ScopedWorkDir dir;
    Game& game = testGame();
    pushKeyUp(SDLK_a);
    pushMotion(100, 100);
    pushMouseUp(100, 100, SDL_BUTTON_LEFT);
    pushUserEvent(0);
    pushKeyDown(SDLK_F11);
    pushKeyDown(Sentinel);
    game.showHighscoreScreen();
    EXPECT_TRUE(nextIsKeyDown(Sentinel));
}

TEST(HighscoreScreen, MissingFileIsCreatedEmptyOnLeaving) {
    ScopedWorkDir dir;
    Game& game = testGame();
    pushKeyDown(SDLK_SPACE);
    game.showHighscoreScreen();
    ASSERT_TRUE(std::filesystem::is_regular_file(Moon));
    EXPECT_EQ(readFile(Moon), "");
}

TEST(HighscoreScreen, VisitsDoNotReorderEqualScores) {
    ScopedWorkDir dir;
    const std::string bytes =
        fileOf(joined({{"first", 40}, {"second", 40}, {"third", 40}}, blanks(7)));
    writeFile(Moon, bytes);
    Game& game = testGame();
    pushKeyDown(SDLK_SPACE);
    game.showHighscoreScreen();
    pushMouseDown(300, 300);
    game.showHighscoreScreen();
    EXPECT_EQ(readFile(Moon), bytes);
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
