#include "highscore/ScoreFiles.h"
#include "highscore/ScreenPixels.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* Moon = "moon";

// Pushed after the key that leaves the high-score screen; still queued when
// the game end used exactly the keys meant for it.
constexpr SDLKey Sentinel = SDLK_F12;

TEST(GameEnd, QualifyingPointsAreEnteredByNameAndStoredInPlaceOthersSkipTheEntry) {
    struct Ending {
        int points;
        bool fileBefore;  // ten records 100 ... 10, or no file
        bool qualifies;
        std::string fileAfter;
    };
    // The screen reads a short list back as ten entries and writes those.
    const Ending endings[] = {{55, true, true, fileOf(tenWith({"Zoe", 55}, 5))},
                              {50, true, true, fileOf(tenWith({"Zoe", 50}, 5))},
                              {10, true, false, fileOf(tenDescending())},
                              {3, false, true, fileOf(joined({{"Zoe", 3}}, blanks(9)))},
                              {0, false, false, fileOf(blanks(10))}};
    Game& game = testGame();
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.points);
        ScopedWorkDir dir;
        if (ending.fileBefore) {
            writeFile(Moon, fileOf(tenDescending()));
        }
        game.startGame(Easy);
        game.getRoundState()->addPoints(ending.points);
        if (ending.qualifies) {
            pushKeyDown(SDLK_z, KMOD_LSHIFT);
            pushKeyDown(SDLK_o);
            pushKeyDown(SDLK_e);
            pushKeyDown(SDLK_RETURN);
        }
        // Were the name entry run for points that do not qualify, it would
        // take this Return meant for the screen, and the screen the sentinel.
        pushKeyDown(SDLK_RETURN);
        pushKeyDown(Sentinel);
        game.endGame();
        EXPECT_EQ(readFile(Moon), ending.fileAfter);
        EXPECT_TRUE(nextIsKeyDown(Sentinel));
    }
}

}  // namespace
