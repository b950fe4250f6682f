#pragma once

#include "ChildProcess.h"
#include "Image.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// One run of the real game as a player meets it: a fresh working directory
// holding "icon.bmp", an X server of the test's own, the built program
// started there, real X input through xdotool, and screenshots of its window.
// Every wait polls for what should appear, with a timeout; a test that fails
// leaves its last screenshot under the build tree and says where.
class GameSession : public testing::Test {
protected:
    static constexpr double StartSeconds = 30.0;   // server up, window mapped
    static constexpr double ScreenSeconds = 40.0;  // a screen appears after input
    static constexpr double ExitSeconds = 40.0;    // the program ends after a request

    void SetUp() override;
    void TearDown() override;

    // The working directory the game runs in.
    std::string workPath(const std::string& name) const;  // a path inside it
    void writeWorkFile(const std::string& name, const std::string& bytes) const;
    std::string readWorkFile(const std::string& name) const;  // "" when missing
    std::vector<std::string> workListing() const;             // entry names, sorted
    // Makes the working directory a small tmpfs holding what it held, filled
    // up; false when this system does not allow mounting.
    bool fillWorkDirFileSystem();

    struct LaunchSettings {
        std::vector<std::string> environment;  // NAME=value added for the game
        long fileSizeLimit = -1;               // RLIMIT_FSIZE for the game, bytes
        bool withDisplay = true;               // false: no X server, no window expected
    };
    // Starts the game and, with a display, waits for its window. Records a
    // failure and returns false when that does not happen.
    bool launch(const LaunchSettings& settings);
    bool launch() { return launch(LaunchSettings()); }
    // Waits for the game to end; records a failure when it does not.
    bool waitForExit(double seconds = ExitSeconds);
    int exitStatus() const;  // the raw waitpid status, once ended
    std::string exitDescription() const;
    std::string gameOutput() const;  // what it wrote to standard output
    std::string gameErrors() const;  // what it wrote to standard error

    Image screenshot();  // the window now; kept as the last screenshot
    // Polls screenshots until shows() holds; records a failure that names
    // the saved screenshot when it does not within the time, or when the game
    // ended meanwhile.
    bool waitForScreen(const std::string& what, const std::function<bool(const Image&)>& shows,
                       double seconds = ScreenSeconds);
    // Like waitForScreen, and the screen also stays the same between two
    // screenshots in a row, so a half-drawn frame is never judged.
    bool waitForSteadyScreen(const std::string& what,
                             const std::function<bool(const Image&)>& shows,
                             double seconds = ScreenSeconds);
    const Image& lastScreenshot() const { return lastShot; }
    std::string saveScreenshot(const std::string& suffix);  // the path written

    // The player's hands.
    void click(int x, int y, int button = 1);              // window pixels; 1 left, 3 right
    void clickTimes(int x, int y, int button, int times);  // quick clicks at one place
    void pressKey(const std::string& keysym);              // an X keysym name, e.g. "Escape"
    void typeText(const std::string& text);                // with Shift for capitals
    void requestWindowClose();  // WM_DELETE_WINDOW, as a window manager sends

    VirtualDisplay& display() { return *server; }
    WindowId gameWindow() const { return window; }

private:
    bool startServer();
    void runXdotool(const std::vector<std::string>& arguments);
    std::string failureReport(const std::string& what);

    std::string root;     // the test's temporary directory
    std::string workDir;  // root/work: the game's working directory
    std::string mountPoint;
    std::unique_ptr<VirtualDisplay> server;
    ChildProcess game;
    WindowId window = 0;
    Image lastShot;
};
