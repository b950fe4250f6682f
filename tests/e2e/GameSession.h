#pragma once

#include "Screens.h"

#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// Xlib's own types stay in the .cpp: its macros (None, Status, Bool) clash
// with GoogleTest's names.
struct _XDisplay;

// What a screen shows, judged from a screenshot.
using Shows = std::function<bool(const Image&)>;

// How the game is started.
struct LaunchSettings {
    std::vector<std::string> environment;  // NAME=value added for the game
    long fileSizeLimit = -1;               // RLIMIT_FSIZE for the game, bytes
    bool withDisplay = true;               // false: no X server, no window expected
};

// One run of the real game as a player meets it: a fresh working directory
// holding "icon.bmp", an Xvfb server of the test's own (800 x 800, no TCP),
// the built program started there, real X input through xdotool, and
// screenshots of its window. Every wait polls for what should appear, with a
// timeout; a failed test leaves its last screenshot under the build tree and
// prints where.
class GameSession : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string workPath(const std::string& name) const;  // in the game's working directory
    void writeWorkFile(const std::string& name, const std::string& bytes) const;
    std::string readWorkFile(const std::string& name) const;  // "" when missing
    std::vector<std::string> workListing() const;             // entry names, sorted
    // Makes it a small tmpfs holding what it held, filled up; false when
    // this system does not allow mounting.
    bool fillWorkDirFileSystem();

    // Starts the game and, with a display, waits for a window captioned
    // "Quendle"; records a failure and returns false when that does not happen.
    bool launch(const LaunchSettings& settings = LaunchSettings());
    bool reachMainMenu(const LaunchSettings& settings = LaunchSettings());  // launch, steady menu
    bool startPlaying(const MenuRow& difficulty);  // main menu to a new game's status line
    void expectExitStatus(int status);             // the game ends, with this exit status
    void expectEscapeEndsWithZero();               // Escape in the main menu: ends with status 0
    std::string gameOutput() const;                // what it wrote to standard output

    // The window's _NET_WM_ICON: width, height, then ARGB pixels; empty when absent.
    std::vector<unsigned long> windowIcon() const;
    // Polls done() until it holds; false when it does not within the time or the game ended.
    bool pollUntil(double seconds, const std::function<bool()>& done);
    Image screenshot();  // the window now, empty when it is gone; kept as the last screenshot
    bool pollFor(double seconds, const Shows& shows);  // pollUntil on screenshots
    // Polls for 40 s; records a failure when shows() never holds or the game ended.
    bool waitForScreen(const std::string& what, const Shows& shows);
    // Also waits for two equal screenshots in a row: no half-drawn frame is judged.
    bool waitForSteadyScreen(const std::string& what, const Shows& shows);
    const Image& lastScreenshot() const { return lastShot; }

    // The player's hands, at window pixels.
    void click(int x, int y, int button = 1, int times = 1);  // 1 left, 3 right; quick clicks
    void choose(const MenuRow& row) { click(MenuClickX, row.clickY); }
    bool choose(const MenuRow& row, const std::string& what, const Shows& shows) {
        choose(row);
        return waitForScreen(what, shows);
    }
    void pressKey(const std::string& keysym);  // an X keysym name, e.g. "Escape"
    void typeText(const std::string& text);    // with Shift for capitals
    void requestWindowClose();                 // WM_DELETE_WINDOW, as a window manager sends

private:
    bool startServer();
    unsigned long findWindow() const;  // the mapped top-level "Quendle"; 0 when none
    void runXdotool(const std::vector<std::string>& arguments);
    bool gameEnded();  // reaps it when it ended
    std::string gameErrors() const;
    bool timedOut(const std::string& what);  // records a failure with the game's state; false
    std::string saveScreenshot();            // the path written

    std::string root;     // the test's temporary directory
    std::string workDir;  // root/work: the game's working directory
    std::string mountPoint;
    pid_t server = -1;  // Xvfb
    std::string displayName;
    _XDisplay* display = nullptr;
    pid_t game = -1;
    int gameStatus = -1;       // as waitpid gives it once the game ended
    unsigned long window = 0;  // an Xlib Window
    Image lastShot;
};
