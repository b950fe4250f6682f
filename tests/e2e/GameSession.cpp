#include "GameSession.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr double StartSeconds = 30.0;   // server up, window mapped
constexpr double ScreenSeconds = 40.0;  // a screen appears after input
constexpr double ExitSeconds = 40.0;
constexpr double XdotoolSeconds = 20.0;
constexpr double GraceSeconds = 10.0;  // after a signal, before SIGKILL
constexpr const char* SanitizerReports[] = {"Sanitizer", "runtime error:"};

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// How to start a child: what runs, where, and with which limits.
struct ChildOptions {
    std::vector<std::string> argv;         // argv[0] is searched in PATH
    std::vector<std::string> environment;  // the whole environment, NAME=value
    std::string workDir;                   // empty: the suite's own working directory
    std::string outputFile;                // standard output; empty: /dev/null
    std::string errorFile;                 // standard error; empty: /dev/null
    long fileSizeLimit = -1;               // RLIMIT_FSIZE in bytes; -1 leaves it as it is
};

// The suite's environment with NAME=value overrides and without the names in removals.
std::vector<std::string> environmentWith(const std::vector<std::string>& overrides,
                                         std::vector<std::string> removals = {}) {
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (const std::string& entry : overrides) {
        removals.push_back(nameOf(entry));
    }
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::find(removals.begin(), removals.end(), nameOf(*entry)) == removals.end()) {
            result.emplace_back(*entry);
        }
    }
    result.insert(result.end(), overrides.begin(), overrides.end());
    return result;
}

double nowSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Between two polls of a condition; never a wait for an event.
void pollPause() {
    const timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
}

std::vector<char*> pointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& s : strings) {
        pointers.push_back(const_cast<char*>(s.c_str()));  // exec only reads them
    }
    pointers.push_back(nullptr);
    return pointers;
}

void redirect(int target, const std::string& file, int flags) {
    const int fd = open(file.empty() ? "/dev/null" : file.c_str(), flags, 0644);
    if (fd >= 0) {
        dup2(fd, target);
        close(fd);
    }
}

// Runs between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeChild(const ChildOptions& options, char** argv, char** envp) {
    // A suite that crashes or times out takes its servers and games with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) {
        _exit(126);
    }
    redirect(STDIN_FILENO, "", O_RDONLY);
    redirect(STDOUT_FILENO, options.outputFile, O_WRONLY | O_CREAT | O_TRUNC);
    redirect(STDERR_FILENO, options.errorFile, O_WRONLY | O_CREAT | O_TRUNC);
    if (options.fileSizeLimit >= 0) {
        const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                           static_cast<rlim_t>(options.fileSizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    // As a player's shell starts it: the game itself must cope with these.
    signal(SIGXFSZ, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    execvpe(argv[0], argv, envp);
    _exit(127);
}

pid_t spawn(const ChildOptions& options) {
    std::vector<char*> argv = pointersTo(options.argv);
    std::vector<char*> envp = pointersTo(options.environment);
    const pid_t pid = fork();
    if (pid == 0) {
        becomeChild(options, argv.data(), envp.data());
    }
    return pid;
}

// True, with its status, when the child ended within the time.
bool reap(pid_t pid, int& status, double seconds) {
    const double deadline = nowSeconds() + seconds;
    int ended = 0;
    while (pid > 0 && waitpid(pid, &ended, WNOHANG) != pid) {
        if (nowSeconds() >= deadline) {
            return false;
        }
        pollPause();
    }
    status = ended;
    return pid > 0;
}

// A child not yet reaped: signal, then SIGKILL after the grace time.
void stop(pid_t pid, int signal) {
    int status = 0;
    if (pid > 0 && kill(pid, signal) == 0 && !reap(pid, status, GraceSeconds)) {
        kill(pid, SIGKILL);
        reap(pid, status, GraceSeconds);
    }
}

// "exit status 3" or "killed by signal 25 (File size limit exceeded)".
std::string describeStatus(int status) {
    if (WIFEXITED(status)) {
        return "exit status " + std::to_string(WEXITSTATUS(status));
    }
    return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
}

// Requests on a window that just went away must fail, not end the suite as
// Xlib's default handler would.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Xvfb writes its display number, one line, once it accepts connections.
std::string readDisplayNumber(int fd, double seconds) {
    std::string number;
    char c = 0;
    pollfd wait{fd, POLLIN, 0};
    while (poll(&wait, 1, static_cast<int>(seconds * 1000)) > 0 && read(fd, &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    return c == '\n' ? number : "";
}

bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

std::string nameOf(Display* display, Window window) {
    char* fetched = nullptr;
    if (XFetchName(display, window, &fetched) == 0 || fetched == nullptr) {
        return "";
    }
    std::string result(fetched);
    XFree(fetched);
    return result;
}

}  // namespace

void GameSession::SetUp() {
    char pattern[] = "/tmp/quendle-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr) << "no temporary directory";
    root = pattern;
    workDir = root + "/work";
    fs::create_directory(workDir);
    std::error_code error;
    fs::copy_file(QUENDLE_ICON, workPath("icon.bmp"), error);
    ASSERT_FALSE(error) << "cannot copy " << QUENDLE_ICON << ": " << error.message();
}

void GameSession::TearDown() {
    if (!gameEnded()) {
        stop(game, SIGKILL);
    }
    // A sanitized build reports on standard error, whatever the exit status.
    const std::string errors = gameErrors();
    for (const char* report : SanitizerReports) {
        EXPECT_EQ(errors.find(report), std::string::npos) << "the game's standard error:\n"
                                                          << errors;
    }
    if (HasFailure() && !lastShot.empty()) {
        std::printf("Last screenshot of the failed test: %s\n", saveScreenshot().c_str());
    }
    if (display != nullptr) {
        XCloseDisplay(display);
    }
    stop(server, SIGTERM);
    if (!mountPoint.empty()) {
        umount2(mountPoint.c_str(), MNT_DETACH);
    }
    std::error_code error;
    fs::remove_all(root, error);
}

std::string GameSession::workPath(const std::string& name) const {
    return workDir + "/" + name;
}

void GameSession::writeWorkFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(workPath(name), std::ios::binary) << bytes;
}

std::string GameSession::readWorkFile(const std::string& name) const {
    return readWholeFile(workPath(name));
}

std::vector<std::string> GameSession::workListing() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(workDir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool GameSession::fillWorkDirFileSystem() {
    std::map<std::string, std::string> files;
    for (const std::string& name : workListing()) {
        files[name] = readWorkFile(name);
    }
    if (mount("tmpfs", workDir.c_str(), "tmpfs", 0, "size=256k") != 0) {
        return false;
    }
    mountPoint = workDir;
    for (const auto& [name, bytes] : files) {
        writeWorkFile(name, bytes);
    }
    // Smaller and smaller writes until not one byte more fits.
    const int filler = open(workPath("filler").c_str(), O_WRONLY | O_CREAT, 0644);
    const std::string chunk(4096, 'f');
    for (std::size_t size = chunk.size(); size > 0;) {
        size = write(filler, chunk.data(), size) < 0 ? size / 2 : size;
    }
    close(filler);
    return true;
}

bool GameSession::startServer() {
    XSetErrorHandler(ignoreXError);
    int fds[2];
    // Not closed on exec: Xvfb writes to it, and it is closed before the game starts.
    if (pipe(fds) != 0) {
        return false;
    }
    ChildOptions options;
    options.argv = {"Xvfb",      "-displayfd", std::to_string(fds[1]), "-screen", "0", "800x800x24",
                    "-nolisten", "tcp"};
    options.environment = environmentWith({});
    server = spawn(options);
    close(fds[1]);
    const std::string number = server > 0 ? readDisplayNumber(fds[0], StartSeconds) : "";
    close(fds[0]);
    displayName = ":" + number;
    display = number.empty() ? nullptr : XOpenDisplay(displayName.c_str());
    return display != nullptr;
}

unsigned long GameSession::findWindow() const {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count && found == 0; ++i) {
            const bool isGame = nameOf(display, children[i]) == "Quendle";
            found = isGame && isViewable(display, children[i]) ? children[i] : 0;
        }
        XFree(children);
    }
    return found;
}

bool GameSession::launch(const LaunchSettings& settings) {
    std::vector<std::string> environment = settings.environment;
    if (settings.withDisplay) {
        if (!startServer()) {
            ADD_FAILURE() << "no X server within the time";
            return false;
        }
        environment.push_back("DISPLAY=" + displayName);
    }
    ChildOptions options;
    options.argv = {QUENDLE_BINARY};
    // Nothing may point the game at another display or video driver.
    options.environment = environmentWith(environment, {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"});
    options.workDir = workDir;
    options.outputFile = root + "/stdout.txt";
    options.errorFile = root + "/stderr.txt";
    options.fileSizeLimit = settings.fileSizeLimit;
    game = spawn(options);
    if (game <= 0) {
        ADD_FAILURE() << "cannot start " << QUENDLE_BINARY;
        return false;
    }
    return !settings.withDisplay ||
           pollUntil(StartSeconds, [this] { return (window = findWindow()) != 0; }) ||
           timedOut("the game's window");
}

bool GameSession::reachMainMenu(const LaunchSettings& settings) {
    return launch(settings) && waitForSteadyScreen("the main menu", showsMainMenu);
}

bool GameSession::startPlaying(const MenuRow& difficulty) {
    return choose(MainMenuRows[0], "the difficulty menu", showsDifficultyMenu) &&
           choose(difficulty, "the status line of a new game", [](const Image& image) {
               return statusNumbers(image) == std::vector<int>{0, 5, 0};
           });
}

void GameSession::expectExitStatus(int status) {
    if (gameStatus != -1 || reap(game, gameStatus, ExitSeconds) || timedOut("the game to end")) {
        EXPECT_EQ(describeStatus(gameStatus), "exit status " + std::to_string(status));
    }
}

void GameSession::expectEscapeEndsWithZero() {
    pressKey("Escape");
    expectExitStatus(0);
}

bool GameSession::gameEnded() {
    return gameStatus != -1 || reap(game, gameStatus, 0.0);
}

std::string GameSession::gameOutput() const {
    return readWholeFile(root + "/stdout.txt");
}

std::string GameSession::gameErrors() const {
    return readWholeFile(root + "/stderr.txt");
}

std::vector<unsigned long> GameSession::windowIcon() const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0,
                           LONG_MAX / 4, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && format == 32) {
        // Xlib hands 32-bit items over as longs, sign-extended.
        const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            values.push_back(items[i] & 0xFFFFFFFF);
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return values;
}

Image GameSession::screenshot() {
    XWindowAttributes size{};
    XImage* shot =
        display != nullptr && XGetWindowAttributes(display, window, &size) != 0
            ? XGetImage(display, window, 0, 0, size.width, size.height, AllPlanes, ZPixmap)
            : nullptr;
    lastShot = shot != nullptr ? Image(size.width, size.height) : Image();
    for (int y = 0; y < lastShot.height(); ++y) {
        for (int x = 0; x < lastShot.width(); ++x) {
            // Xvfb's 24-bit TrueColor visual: 0xRRGGBB.
            lastShot.set(x, y, XGetPixel(shot, x, y) & 0xFFFFFF);
        }
    }
    if (shot != nullptr) {
        XDestroyImage(shot);
    }
    return lastShot;
}

bool GameSession::pollUntil(double seconds, const std::function<bool()>& done) {
    const double deadline = nowSeconds() + seconds;
    while (!done()) {
        if (gameEnded() || nowSeconds() > deadline) {
            return false;
        }
        pollPause();
    }
    return true;
}

bool GameSession::pollFor(double seconds, const Shows& shows) {
    return pollUntil(seconds, [&] { return shows(screenshot()); });
}

bool GameSession::waitForScreen(const std::string& what, const Shows& shows) {
    return pollFor(ScreenSeconds, shows) || timedOut(what);
}

bool GameSession::timedOut(const std::string& what) {
    const std::string errors = gameErrors();
    ADD_FAILURE() << "timed out waiting for " << what
                  << (gameEnded() ? "; the game ended: " + describeStatus(gameStatus) : "")
                  << "\nthe game's standard error ends with:\n"
                  << errors.substr(errors.size() > 2000 ? errors.size() - 2000 : 0);
    return false;
}

bool GameSession::waitForSteadyScreen(const std::string& what, const Shows& shows) {
    Image previous;
    return waitForScreen(what, [&](const Image& image) {
        const bool steady = !image.empty() && image == previous;
        previous = image;
        return steady && shows(image);
    });
}

std::string GameSession::saveScreenshot() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    std::error_code error;
    fs::create_directories(E2E_FAILURE_DIR, error);
    const std::string path = std::string(E2E_FAILURE_DIR) + "/" + name + ".ppm";
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << lastShot.width() << " " << lastShot.height() << "\n255\n";
    for (int i = 0; i < lastShot.width() * lastShot.height(); ++i) {
        const Rgb pixel = lastShot.at(i % lastShot.width(), i / lastShot.width());
        out << static_cast<char>(pixel.r) << static_cast<char>(pixel.g)
            << static_cast<char>(pixel.b);
    }
    return out.flush() ? path : "(could not write " + path + ")";
}

void GameSession::runXdotool(const std::vector<std::string>& arguments) {
    ChildOptions options;
    options.argv = {"xdotool"};
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.environment = environmentWith({"DISPLAY=" + displayName});
    const pid_t xdotool = spawn(options);
    int status = -1;
    if (!reap(xdotool, status, XdotoolSeconds)) {
        stop(xdotool, SIGKILL);
    }
    EXPECT_EQ(status, 0) << "xdotool " << arguments.front() << " failed";
}

void GameSession::click(int x, int y, int button, int times) {
    runXdotool({"mousemove", "--window", std::to_string(window), std::to_string(x),
                std::to_string(y), "click", "--repeat", std::to_string(times), "--delay", "1",
                std::to_string(button)});
}

void GameSession::pressKey(const std::string& keysym) {
    runXdotool({"key", keysym});
}

void GameSession::typeText(const std::string& text) {
    runXdotool({"type", "--delay", "20", text});
}

void GameSession::requestWindowClose() {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    EXPECT_NE(XSendEvent(display, window, False, NoEventMask, &event), 0) << "no close request";
    XSync(display, False);
}
