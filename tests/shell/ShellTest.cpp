// Start-up, the menus, every loop's window close and the game flow, by real SDL events.
#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/RoundState.h"
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

// Pixel rows and columns of the menus' click areas in the 600-pixel window:
// the first and last pixel inside each row, and the pixels on the bounds.
constexpr int RowInside[4][2] = {{199, 212}, {244, 257}, {286, 302}, {334, 344}};
constexpr int RowBounds[] = {198, 213, 243, 258, 285, 303, 333, 345};
constexpr int ColumnInside[] = {238, 362};
constexpr int ColumnBounds[] = {237, 363};
constexpr int X = 300;
constexpr int FirstRowY = 205;
constexpr int SecondRowY = 250;
constexpr int ThirdRowY = 294;
constexpr int FourthRowY = 339;
const SDL_Event Marker = userEvent(MarkerCode);

// Events that none of the menus acts on.
const std::vector<SDL_Event> IgnoredByMenus = {mouseDown(X, FirstRowY, SDL_BUTTON_RIGHT),
                                               mouseUp(X, FirstRowY), keyDown(SDLK_a),
                                               motion(X, FirstRowY), userEvent(0)};

std::vector<SDL_Event> joined(std::vector<SDL_Event> first, const std::vector<SDL_Event>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

}  // namespace

// The real program, where no window can be had: one line on standard
// output and status 1, not a game running unseen.
TEST(Startup, AVideoDriverThatFailsOrShowsNoWindowIsReportedWithStatusOne) {
    for (const char* environment :
         {"SDL_VIDEODRIVER=nosuchdriver", "timeout -k 5 20 env -u DISPLAY -u WAYLAND_DISPLAY"}) {
        FILE* pipe =
            popen((std::string(environment) + " " + QUENDLE_BINARY + " 2>&-").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char line[256] = "";
        const std::string output = std::fgets(line, sizeof line, pipe) != nullptr ? line : "";
        const int status = pclose(pipe);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << environment;
        EXPECT_EQ(output.rfind("Unable to init SDL: ", 0), 0u) << output;
        EXPECT_EQ(output.back(), '\n') << output;
    }
}

TEST(Menus, DifficultyMenuChoosesByTheExactRowsAndColumns) {
    Game& game = testGame();
    for (int row = 0; row < 4; ++row) {
        for (int y : RowInside[row]) {
            for (int x : ColumnInside) {
                pushEvents({mouseDown(x, y), Marker});
                EXPECT_EQ(game.difficultyMenu(), row + 1) << x << ", " << y;
                EXPECT_TRUE(markerIsNext());
            }
        }
    }
    for (int y : RowBounds) {
        pushEvents({mouseDown(X, y), keyDown(SDLK_ESCAPE)});
        EXPECT_EQ(game.difficultyMenu(), DifficultyEscape) << "row bound " << y;
    }
    for (int x : ColumnBounds) {
        pushEvents({mouseDown(x, FirstRowY), keyDown(SDLK_ESCAPE)});
        EXPECT_EQ(game.difficultyMenu(), DifficultyEscape) << "column bound " << x;
    }
    pushEvents(joined(IgnoredByMenus, {mouseDown(X, SecondRowY)}));
    EXPECT_EQ(game.difficultyMenu(), Normal);
}

// "Highscore" and "Instructions" open screens that the next click leaves, so
// the click on "New game" after them must not end the menu.
TEST(Menus, MainMenuEndsOnNewGameQuitAndEscapeOnly) {
    ScopedWorkDir dir;
    Game& game = testGame();
    const struct {
        const char* what;
        std::vector<SDL_Event> events;
        int result;
    } cases[] = {
        {"New game", {mouseDown(X, FirstRowY), Marker}, MenuNewGame},
        {"Quit", {mouseDown(X, FourthRowY), Marker}, MenuQuit},
        {"Escape", {keyDown(SDLK_ESCAPE), Marker}, MenuQuit},
        {"Highscore",
         {mouseDown(X, SecondRowY), mouseDown(X, FirstRowY), keyDown(SDLK_ESCAPE), Marker},
         MenuQuit},
        {"Instructions",
         {mouseDown(X, ThirdRowY), mouseDown(X, FirstRowY), keyDown(SDLK_ESCAPE), Marker},
         MenuQuit},
        {"ignored events", joined(IgnoredByMenus, {mouseDown(X, FirstRowY), Marker}), MenuNewGame},
    };
    for (const auto& c : cases) {
        pushEvents(c.events);
        EXPECT_EQ(game.mainMenu(), c.result) << c.what;
        EXPECT_TRUE(markerIsNext()) << c.what;
    }
    EXPECT_EQ(readFile("moon"), "") << "the high-score screen saves the empty list";
}

TEST(Menus, InstructionsAndTheTableEndOnAnyKeyOrButtonPressOnly) {
    ScopedWorkDir dir;
    Game& game = testGame();
    const std::vector<SDL_Event> ignored = {keyUp(SDLK_a), mouseUp(X, X), motion(X, X),
                                            userEvent(0)};
    for (const std::function<void()>& show :
         {std::function<void()>([&] { game.showInstructions(); }),
          std::function<void()>([&] { game.showHighscoreScreen(); })}) {
        for (const SDL_Event& leave :
             {keyDown(SDLK_ESCAPE), keyDown(SDLK_SPACE), mouseDown(X, X, SDL_BUTTON_RIGHT)}) {
            pushEvents(joined(ignored, {leave, Marker}));
            show();
            EXPECT_TRUE(markerIsNext()) << "event type " << int(leave.type);
        }
    }
}

// A window-close request ends the program at once, from every loop, and
// never writes "moon": a short file would be padded to ten records.
TEST(WindowCloseDeathTest, EveryLoopEndsTheProgramWithStatusZeroLeavingMoonAsItWas) {
    ScopedWorkDir dir;
    Game& game = testGame();
    const std::string shortFile = "Zed\n5\n";
    const struct {
        const char* loop;
        std::function<void()> run;
    } loops[] = {
        {"main menu", [&] { game.mainMenu(); }},
        {"difficulty menu", [&] { game.difficultyMenu(); }},
        {"instructions", [&] { game.showInstructions(); }},
        {"level", [&] { game.playLevel(0, 10, 0.18f, 30); }},
        {"high-score screen", [&] { game.showHighscoreScreen(); }},
        {"name entry", [&] { game.enterName(); }},
    };
    game.startGame(Easy);
    for (const auto& loop : loops) {
        writeFile("moon", shortFile);
        EXPECT_EXIT(
            {
                pushEvents({motion(1, 1), quitEvent()});
                loop.run();
            },
            testing::ExitedWithCode(0), "")
            << loop.loop;
        EXPECT_EQ(readFile("moon"), shortFile) << loop.loop;
    }
}

TEST(GameFlow, StartGameGivesAFreshRoundTheDifficultyAndNoShotsInFlight) {
    Game& game = testGame();
    game.startGame(Insane);
    game.getRoundState()->loseLives(3);
    game.getBallSet().fireShot(Blue, 0.0f);
    game.startGame(Normal);
    EXPECT_EQ(game.getDifficulty(), Normal);
    EXPECT_EQ(game.getRoundState()->getPoints(), 0);
    EXPECT_EQ(game.getRoundState()->getLives(), RoundState::StartLives);
    EXPECT_TRUE(game.getBallSet().getShots().empty());
}

// A "moon" that cannot be read would never keep a result: the game asks for
// no name, says so, and goes on to the table, which Return leaves.
TEST(GameFlow, AnUnreadableFileAsksForNoNameAndSaysTheResultIsNotKept) {
    ScopedWorkDir dir;
    std::filesystem::create_directory("moon");
    Game& game = testGame();
    game.startGame(Easy);
    game.getRoundState()->addPoints(5);
    pushEvents({keyDown(SDLK_RETURN), userEvent(MarkerCode), keyDown(SDLK_x)});
    testing::internal::CaptureStderr();
    game.endGame();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Cannot read the high scores in \"moon\": Is a directory; this game's result is not "
              "kept.\n");
    EXPECT_TRUE(markerIsNext()) << "the name entry took the Return";
}

// A whole game from the main menu: five shots fired at once on "Easy" leave
// through the top on the 21st tick, before any ball has come down, and end
// it with 0 points, which earn no place in a list of positive scores; the
// list is still read and written back, the line past the twentieth dropped.
TEST(GameFlowDeathTest, AGameWithoutAPlaceSkipsTheNameEntryAndWritesTheListBack) {
    ScopedWorkDir dir;
    writeFile("moon", scoreFile(tenRecords()) + "trailing line\n");
    EXPECT_EXIT(
        {
            std::vector<SDL_Event> events(7, mouseDown(X, FirstRowY));  // New game, Easy, 5 shots
            events.insert(events.end(), 21, userEvent(0));
            pushEvents(joined(events, {keyDown(SDLK_x), keyDown(SDLK_ESCAPE)}));
            testGame().run();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readFile("moon"), scoreFile(tenRecords()));
}
