#pragma once

#include "ChildProcess.h"
#include "Image.h"
#include "Screens.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a screen shows, judged from a screenshot.
using Shows = std::function<bool(const Image&)>;

// How the game is started.
struct LaunchSettings {
    std::vector<std::string> environment;  // NAME=value added for the game
    long fileSizeLimit = -1;               // RLIMIT_FSIZE for the game, bytes
    bool withDisplay = true;               // false: no X server, no window expected
};

// One run of the real game as a player meets it: a fresh working directory
// holding "icon.bmp", an X server of the test's own, the built program
// started there, real X input through xdotool, and screenshots of its window.
// Every wait polls for what should appear, with a timeout; a test that fails
// leaves its last screenshot under the build tree and says where.
class GameSession : public testing::Test {
protected:
    static constexpr double StartSeconds = 30.0;   // server up, window mapped
    static constexpr double ScreenSeconds = 40.0;  // a screen appears after input

    void SetUp() override;
    void TearDown() override;

    // The game's working directory.
    std::string workPath(const std::string& name) const;
    void writeWorkFile(const std::string& name, const std::string& bytes) const;
    std::string readWorkFile(const std::string& name) const;  // "" when missing
    std::vector<std::string> workListing() const;             // entry names, sorted
    // Makes it a small tmpfs holding what it held, filled up; false when
    // this system does not allow mounting.
    bool fillWorkDirFileSystem();

    // Starts the game and, with a display, waits for its window; records a
    // failure and returns false when that does not happen.
    bool launch(const LaunchSettings& settings = LaunchSettings());
    bool reachMainMenu(const LaunchSettings& settings = LaunchSettings());  // launch, steady menu
    // From the main menu to the first frame of a new game on that difficulty.
    bool startPlaying(const MenuRow& difficulty);
    bool waitForExit();               // records a failure when the game does not end
    void expectEscapeEndsWithZero();  // Escape in the main menu: ends with status 0
    std::string exitDescription() const { return describeStatus(game.rawStatus()); }
    std::string gameOutput() const;  // what it wrote to standard output
    std::string gameErrors() const;  // what it wrote to standard error

    Image screenshot();  // the window now; kept as the last screenshot
    // Polls screenshots until shows() holds; false when it does not within the time.
    bool pollFor(double seconds, const Shows& shows);
    // Like pollFor, and records a failure naming the saved screenshot when
    // it does not, or when the game ended meanwhile.
    bool waitForScreen(const std::string& what, const Shows& shows);
    // Also waits for two equal screenshots in a row: no half-drawn frame is judged.
    bool waitForSteadyScreen(const std::string& what, const Shows& shows);
    const Image& lastScreenshot() const { return lastShot; }

    // The player's hands.
    void click(int x, int y, int button = 1);              // window pixels; 1 left, 3 right
    void clickTimes(int x, int y, int button, int times);  // quick clicks at one place
    void choose(const MenuRow& row) { click(MenuClickX, row.clickY); }
    void pressKey(const std::string& keysym);  // an X keysym name, e.g. "Escape"
    void typeText(const std::string& text);    // with Shift for capitals
    void requestWindowClose();                 // WM_DELETE_WINDOW, as a window manager sends

    VirtualDisplay& display() { return *server; }
    WindowId gameWindow() const { return window; }

private:
    void runXdotool(const std::vector<std::string>& arguments);
    std::string saveScreenshot();  // the path written
    std::string failureReport(const std::string& what);

    std::string root;     // the test's temporary directory
    std::string workDir;  // root/work: the game's working directory
    std::string mountPoint;
    std::unique_ptr<VirtualDisplay> server;
    ChildProcess game;
    WindowId window = 0;
    Image lastShot;
};
