#include "GameSession.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr double ExitSeconds = 40.0;
constexpr double XdotoolSeconds = 20.0;
constexpr const char* SanitizerReports[] = {"Sanitizer", "runtime error:"};

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    game.stop(SIGKILL, 10.0);
    // A sanitized build reports on standard error, whatever the exit status.
    const std::string errors = gameErrors();
    for (const char* report : SanitizerReports) {
        EXPECT_EQ(errors.find(report), std::string::npos) << "the game's standard error:\n"
                                                          << errors;
    }
    if (HasFailure() && !lastShot.empty()) {
        std::printf("Last screenshot of the failed test: %s\n", saveScreenshot().c_str());
    }
    server.reset();
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

bool GameSession::launch(const LaunchSettings& settings) {
    std::vector<std::string> environment = settings.environment;
    if (settings.withDisplay) {
        server = std::make_unique<VirtualDisplay>();
        if (!server->start(StartSeconds)) {
            ADD_FAILURE() << "no X server within the time";
            return false;
        }
        environment.push_back("DISPLAY=" + server->name());
    }
    ChildOptions options;
    options.argv = {QUENDLE_BINARY};
    // Nothing may point the game at another display or video driver.
    options.environment = environmentWith(environment, {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"});
    options.workDir = workDir;
    options.outputFile = root + "/stdout.txt";
    options.errorFile = root + "/stderr.txt";
    options.fileSizeLimit = settings.fileSizeLimit;
    if (!game.start(options)) {
        ADD_FAILURE() << "cannot start " << QUENDLE_BINARY;
        return false;
    }
    const double deadline = nowSeconds() + StartSeconds;
    while (settings.withDisplay && (window = server->findTopLevel("Quendle")) == 0) {
        if (game.hasEnded() || nowSeconds() > deadline) {
            ADD_FAILURE() << failureReport("the game's window");
            return false;
        }
        pollPause();
    }
    return true;
}

bool GameSession::reachMainMenu(const LaunchSettings& settings) {
    return launch(settings) && waitForSteadyScreen("the main menu", showsMainMenu);
}

bool GameSession::startPlaying(const MenuRow& difficulty) {
    choose(MainMenuRows[0]);
    if (!waitForScreen("the difficulty menu", showsDifficultyMenu)) {
        return false;
    }
    choose(difficulty);
    return waitForScreen("the status line of a new game", [](const Image& image) {
        return statusNumbers(image) == std::vector<int>{0, 5, 0};
    });
}

bool GameSession::waitForExit() {
    if (!game.waitForEnd(ExitSeconds)) {
        ADD_FAILURE() << failureReport("the game to end");
        return false;
    }
    return true;
}

void GameSession::expectEscapeEndsWithZero() {
    pressKey("Escape");
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");
}

std::string GameSession::gameOutput() const {
    return readWholeFile(root + "/stdout.txt");
}

std::string GameSession::gameErrors() const {
    return readWholeFile(root + "/stderr.txt");
}

Image GameSession::screenshot() {
    lastShot = server ? server->grab(window) : Image();
    return lastShot;
}

bool GameSession::pollFor(double seconds, const Shows& shows) {
    const double deadline = nowSeconds() + seconds;
    while (!shows(screenshot())) {
        if (game.hasEnded() || nowSeconds() > deadline) {
            return false;
        }
        pollPause();
    }
    return true;
}

bool GameSession::waitForScreen(const std::string& what, const Shows& shows) {
    if (!pollFor(ScreenSeconds, shows)) {
        ADD_FAILURE() << failureReport(what);
        return false;
    }
    return true;
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
    for (int y = 0; y < lastShot.height(); ++y) {
        for (int x = 0; x < lastShot.width(); ++x) {
            const Rgb pixel = lastShot.at(x, y);
            out << static_cast<char>(pixel.r) << static_cast<char>(pixel.g)
                << static_cast<char>(pixel.b);
        }
    }
    out.close();
    return out ? path : "(could not write " + path + ")";
}

std::string GameSession::failureReport(const std::string& what) {
    std::ostringstream report;
    report << "timed out waiting for " << what;
    if (game.hasEnded()) {
        report << "; the game ended: " << exitDescription();
    }
    if (!lastShot.empty()) {
        report << "; last screenshot: " << saveScreenshot();
    }
    const std::string errors = gameErrors();
    if (!errors.empty()) {
        report << "\nthe game's standard error ends with:\n"
               << errors.substr(errors.size() > 2000 ? errors.size() - 2000 : 0);
    }
    return report.str();
}

void GameSession::runXdotool(const std::vector<std::string>& arguments) {
    ChildProcess xdotool;
    ChildOptions options;
    options.argv = {"xdotool"};
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.environment = environmentWith({"DISPLAY=" + server->name()});
    const bool done =
        xdotool.start(options) && xdotool.waitForEnd(XdotoolSeconds) && xdotool.rawStatus() == 0;
    EXPECT_TRUE(done) << "xdotool " << arguments.front() << " failed";
}

void GameSession::click(int x, int y, int button) {
    clickTimes(x, y, button, 1);
}

void GameSession::clickTimes(int x, int y, int button, int times) {
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
    EXPECT_TRUE(server->sendDeleteRequest(window)) << "the close request was not sent";
}
