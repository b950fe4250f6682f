#include "GameSession.h"

#include <sys/mount.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* GameBinary = QUENDLE_BINARY;
constexpr const char* IconFile = QUENDLE_ICON;
constexpr const char* FailureDir = E2E_FAILURE_DIR;
constexpr const char* Caption = "Quendle";
constexpr double XdotoolSeconds = 20.0;
constexpr const char* FullFileSystemSize = "size=256k";
constexpr std::size_t FillChunk = 4096;
constexpr const char* SanitizerReports[] = {"Sanitizer", "runtime error:"};
// Names that would point the game at another display or video driver than
// the test's own server.
const std::vector<std::string> ForeignDisplaySettings = {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string testName() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

// Fills the file system holding dir until a write fails for want of space.
void fillUp(const std::string& dir) {
    FILE* filler = std::fopen((dir + "/filler").c_str(), "wb");
    if (filler == nullptr) {
        return;
    }
    std::setvbuf(filler, nullptr, _IONBF, 0);
    const std::string chunk(FillChunk, 'f');
    while (std::fwrite(chunk.data(), 1, chunk.size(), filler) == chunk.size()) {
    }
    while (std::fputc('f', filler) != EOF) {
    }
    std::fclose(filler);
}

}  // namespace

void GameSession::SetUp() {
    char pattern[] = "/tmp/quendle-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr) << "no temporary directory";
    root = pattern;
    workDir = root + "/work";
    fs::create_directory(workDir);
    std::error_code error;
    fs::copy_file(IconFile, workPath("icon.bmp"), error);
    ASSERT_FALSE(error) << "cannot copy " << IconFile << ": " << error.message();
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
        const std::string path = saveScreenshot("");
        std::printf("Last screenshot of the failed test: %s\n", path.c_str());
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
    std::ofstream out(workPath(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
    if (mount("tmpfs", workDir.c_str(), "tmpfs", 0, FullFileSystemSize) != 0) {
        return false;
    }
    mountPoint = workDir;
    for (const auto& [name, bytes] : files) {
        writeWorkFile(name, bytes);
    }
    fillUp(workDir);
    return true;
}

bool GameSession::startServer() {
    server = std::make_unique<VirtualDisplay>();
    if (!server->start(StartSeconds)) {
        ADD_FAILURE() << "no X server: " << server->error();
        return false;
    }
    return true;
}

bool GameSession::launch(const LaunchSettings& settings) {
    if (settings.withDisplay && !server && !startServer()) {
        return false;
    }
    std::vector<std::string> environment = settings.environment;
    if (settings.withDisplay) {
        environment.push_back("DISPLAY=" + server->name());
    }
    ChildOptions options;
    options.argv = {GameBinary};
    options.environment = environmentWith(environment, ForeignDisplaySettings);
    options.workDir = workDir;
    options.outputFile = root + "/stdout.txt";
    options.errorFile = root + "/stderr.txt";
    options.fileSizeLimit = settings.fileSizeLimit;
    if (!game.start(options)) {
        ADD_FAILURE() << "cannot start " << GameBinary;
        return false;
    }
    if (!settings.withDisplay) {
        return true;
    }
    const double deadline = nowSeconds() + StartSeconds;
    while ((window = server->findTopLevel(Caption)) == 0) {
        if (game.hasEnded() || nowSeconds() > deadline) {
            ADD_FAILURE() << failureReport("the game's window");
            return false;
        }
        pollPause();
    }
    return true;
}

bool GameSession::waitForExit(double seconds) {
    if (!game.waitForEnd(seconds)) {
        ADD_FAILURE() << failureReport("the game to end");
        return false;
    }
    return true;
}

int GameSession::exitStatus() const {
    return game.rawStatus();
}

std::string GameSession::exitDescription() const {
    return describeStatus(game.rawStatus());
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

bool GameSession::waitForScreen(const std::string& what,
                                const std::function<bool(const Image&)>& shows, double seconds) {
    const double deadline = nowSeconds() + seconds;
    for (;;) {
        if (shows(screenshot())) {
            return true;
        }
        if (game.hasEnded() || nowSeconds() > deadline) {
            ADD_FAILURE() << failureReport(what);
            return false;
        }
        pollPause();
    }
}

bool GameSession::waitForSteadyScreen(const std::string& what,
                                      const std::function<bool(const Image&)>& shows,
                                      double seconds) {
    Image previous;
    return waitForScreen(
        what,
        [&](const Image& image) {
            const bool steady = !image.empty() && image == previous;
            previous = image;
            return steady && shows(image);
        },
        seconds);
}

std::string GameSession::saveScreenshot(const std::string& suffix) {
    std::error_code error;
    fs::create_directories(FailureDir, error);
    const std::string path = std::string(FailureDir) + "/" + testName() + suffix + ".ppm";
    if (!lastShot.writePpm(path)) {
        return "(could not write " + path + ")";
    }
    return path;
}

std::string GameSession::failureReport(const std::string& what) {
    std::ostringstream report;
    report << "timed out waiting for " << what;
    if (game.hasEnded()) {
        report << "; the game ended: " << describeStatus(game.rawStatus());
    }
    if (!lastShot.empty()) {
        report << "; last screenshot: " << saveScreenshot("");
    }
    const std::string errors = gameErrors();
    if (!errors.empty()) {
        report << "\nthe game's standard error ends with:\n"
               << errors.substr(errors.size() > 2000 ? errors.size() - 2000 : 0);
    }
    return report.str();
}

void GameSession::runXdotool(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const bool done =
        runToEnd(argv, environmentWith({"DISPLAY=" + server->name()}), XdotoolSeconds);
    EXPECT_TRUE(done) << "xdotool " << arguments.front() << " failed";
}

void GameSession::click(int x, int y, int button) {
    runXdotool({"mousemove", "--window", std::to_string(window), std::to_string(x),
                std::to_string(y), "click", std::to_string(button)});
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
