#pragma once

#include "support/Image.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
// After GoogleTest, whose declarations Xlib's macros (None, Bool, Status) would break.
extern "C" {
#include <xdo.h>
}
#include <X11/Xutil.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>

using Shows = std::function<bool(const Image&)>;  // what a screenshot shows

// Starts argv[0] from PATH in dir with both outputs to output, SIGXFSZ at its default
// as a shell leaves it, RLIMIT_FSIZE in bytes unless negative; -1 on failure. The
// test process runs no other thread, so the child may set itself up before exec.
inline pid_t spawn(std::vector<const char*> argv, const std::string& dir, const std::string& output,
                   long fileSizeLimit = -1) {
    argv.push_back(nullptr);
    const rlimit size{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(output.c_str(), O_WRONLY | O_CREAT, 0644);
        signal(SIGXFSZ, SIG_DFL);
        if (fd < 0 || dup2(fd, 1) < 0 || dup2(fd, 2) < 0 || chdir(dir.c_str()) != 0 ||
            (fileSizeLimit >= 0 && setrlimit(RLIMIT_FSIZE, &size) != 0)) {
            _exit(127);
        }
        execvp(argv[0], const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    return pid;
}

// The built game as a player meets it: an Xvfb of the test's own, a fresh working directory
// holding "icon.bmp", input through libxdo, screenshots. Every wait has a timeout.
class GameSession : public testing::Test {
protected:
    static constexpr int WaitSeconds = 40;  // for a window, a screen, the end

    void SetUp() override {
        char pattern[] = "/tmp/quendle-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr) << "no temporary directory";
        root = pattern;
        std::filesystem::create_directory(root + "/work");
        std::filesystem::copy_file(QUENDLE_ICON, workPath("icon.bmp"));
        ASSERT_TRUE(startServer()) << "no X server";
    }

    void TearDown() override {
        if (game > 0 && !gameEnded()) {
            kill(game, SIGKILL);
            waitpid(game, &gameStatus, 0);
        }
        // A sanitized build reports on standard error, whatever the exit status.
        const std::string output = readFile(root + "/output.txt");
        for (const char* report : {"Sanitizer", "runtime error:"}) {
            EXPECT_EQ(output.find(report), std::string::npos) << "the game's output:\n" << output;
        }
        input.reset();
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
        std::error_code error;
        std::filesystem::remove_all(root, error);
    }

    std::string workPath(const std::string& name) const { return root + "/work/" + name; }
    long workEntries() const {  // in the game's working directory
        using std::filesystem::directory_iterator;
        return std::distance(directory_iterator(root + "/work"), directory_iterator());
    }

    // Starts the game, RLIMIT_FSIZE in bytes unless negative, and finds its
    // window captioned "Quendle"; false after recording a failure.
    bool launch(long fileSizeLimit = -1) {
        game = spawn({QUENDLE_BINARY}, root + "/work", root + "/output.txt", fileSizeLimit);
        return pollUntil(WaitSeconds, [this] { return (window = findWindow()) != 0; }) ||
               timedOut("a window captioned \"Quendle\"");
    }

    // Polls done() until it holds; false at the timeout or once the game ended
    // without it (looked at once more: the game may end between two looks).
    bool pollUntil(int seconds, const std::function<bool()>& done) {
        const std::time_t end = std::time(nullptr) + seconds;
        while (!done()) {
            if (gameEnded() || std::time(nullptr) > end) {
                return done();
            }
            usleep(10000);  // between two looks, never in place of one
        }
        return true;
    }

    // Polls screenshots until shows() holds; false after recording a failure.
    bool waitFor(const std::string& what, const Shows& shows) {
        return pollUntil(WaitSeconds, [&] { return shows(screenshot()); }) || timedOut(what);
    }

    void expectExitStatusZero() {
        if (pollUntil(WaitSeconds, [this] { return gameEnded(); }) || timedOut("its end")) {
            EXPECT_EQ(gameStatus, 0) << "waitpid's status: exit status 0";
        }
    }

    // The window now, empty when it is gone; kept as the last screenshot.
    Image screenshot() {
        XWindowAttributes size{};  // left at 0 x 0 when the window is gone: no image then
        XGetWindowAttributes(input->xdpy, window, &size);
        XImage* shot =
            XGetImage(input->xdpy, window, 0, 0, size.width, size.height, AllPlanes, ZPixmap);
        std::vector<std::uint8_t> rgb;
        for (int i = 0; shot != nullptr && i < size.width * size.height; ++i) {
            const unsigned long pixel = XGetPixel(shot, i % size.width, i / size.width);
            for (int shift : {16, 8, 0}) {  // Xvfb's 0xRRGGBB
                rgb.push_back(static_cast<std::uint8_t>(pixel >> shift));
            }
        }
        if (shot != nullptr) {
            XDestroyImage(shot);
        }
        lastShot = rgb.empty() ? Image() : Image(size.width, size.height, std::move(rgb));
        return lastShot;
    }

    // The window's _NET_WM_ICON: width, height, then ARGB pixels, each in a long.
    std::vector<unsigned long> windowIcon() const {
        unsigned char* data = nullptr;
        long count = 0;
        int size = 0;
        Atom type = 0;
        xdo_get_window_property(input.get(), window, "_NET_WM_ICON", &data, &count, &type, &size);
        const std::unique_ptr<unsigned char, int (*)(void*)> owned(data, XFree);
        return {reinterpret_cast<unsigned long*>(data),
                reinterpret_cast<unsigned long*>(data) + count};
    }

    // The player's hands, at window pixels; button 1 is the left, 3 the right; X keysym
    // names ("Escape"); text typed with Shift held for capitals.
    void click(int x, int y, int button = 1) {
        xdo_move_mouse_relative_to_window(input.get(), window, x, y);
        EXPECT_EQ(xdo_click_window(input.get(), CURRENTWINDOW, button), 0);
    }
    void pressKey(const char* keysym) {
        EXPECT_EQ(xdo_send_keysequence_window(input.get(), CURRENTWINDOW, keysym, 0), 0);
    }
    void typeText(const char* text) {
        EXPECT_EQ(xdo_enter_text_window(input.get(), CURRENTWINDOW, text, 20000), 0);
    }

    Image lastShot;  // the last screenshot taken

private:
    // Xvfb on a free display number, and input's connection to it; false when not up in time.
    bool startServer() {
        int fds[2];
        if (pipe(fds) != 0) {
            return false;
        }
        fcntl(fds[0], F_SETFD, FD_CLOEXEC);  // Xvfb gets only the end it writes its number to
        // -terminate: a server left without clients, even by a killed suite, ends itself.
        const std::string fd = std::to_string(fds[1]);
        server = spawn({"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x800x24", "-nolisten",
                        "tcp", "-terminate"},
                       root, "/dev/null");
        close(fds[1]);
        int number = -1;  // written once the server accepts clients; end of file if it fails
        FILE* in = fdopen(fds[0], "r");
        const bool started = std::fscanf(in, "%d", &number) == 1;
        std::fclose(in);
        const std::string display = ":" + std::to_string(number);
        setenv("DISPLAY", display.c_str(), 1);  // for the game; this process runs one test
        // Requests on a window that just went away must fail, not end the suite.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        input = {started ? xdo_new(display.c_str()) : nullptr, xdo_free};
        return input != nullptr;
    }

    Window findWindow() const {  // the mapped top-level "Quendle", or 0
        xdo_search_t search{};
        search.winname = "^Quendle$";
        search.searchmask = SEARCH_NAME | SEARCH_ONLYVISIBLE;
        search.max_depth = 1;
        Window* found = nullptr;
        unsigned int count = 0;
        xdo_search_windows(input.get(), &search, &found, &count);
        const std::unique_ptr<Window, int (*)(void*)> owned(found, XFree);
        return count > 0 ? found[0] : 0;
    }

    bool gameEnded() {  // reaps it once it has
        int status = 0;
        if (gameStatus == -1 && game > 0 && waitpid(game, &status, WNOHANG) == game) {
            gameStatus = status;
        }
        return gameStatus != -1;
    }

    // Records a failure with the game's state and output; false.
    bool timedOut(const std::string& what) {
        ADD_FAILURE() << "timed out waiting for " << what << "; waitpid's status " << gameStatus
                      << ", the game's output:\n"
                      << readFile(root + "/output.txt");
        return false;
    }

    std::string root;  // the test's temporary directory; the game works in root/work
    pid_t server = -1;
    pid_t game = -1;
    int gameStatus = -1;                                                // waitpid's, once it ended
    std::unique_ptr<xdo_t, void (*)(xdo_t*)> input{nullptr, xdo_free};  // owns the X connection
    Window window = 0;
};
