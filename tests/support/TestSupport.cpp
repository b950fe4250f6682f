#include "support/TestSupport.h"

#include "shell/Game.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace {

std::unique_ptr<Game> sharedGame;
constexpr const char* WorkDirVariable = "QUENDLE_TEST_WORK_DIR";

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

}  // namespace

Game& testGame() {
    if (!sharedGame) {
        sharedGame = std::make_unique<Game>(WindowSide, WindowSide);
        drainEvents();
    }
    return *sharedGame;
}

bool gameWindowOpened() {
    return sharedGame != nullptr;
}

Image drawnFrame(const std::function<void()>& draw) {
    // The very first frame after start-up is cleared to black: begin two.
    testGame().beginOverlayFrame();
    testGame().beginOverlayFrame();
    draw();
    Image frame = readFrame();
    SDL_GL_SwapBuffers();
    return frame;
}

SDL_Event mouseDown(int x, int y, Uint8 button) {
    SDL_Event event{};
    event.button = {SDL_MOUSEBUTTONDOWN, 0, button, SDL_PRESSED, Uint16(x), Uint16(y)};
    return event;
}

SDL_Event mouseUp(int x, int y) {
    SDL_Event event = mouseDown(x, y);
    event.button.type = SDL_MOUSEBUTTONUP;
    event.button.state = SDL_RELEASED;
    return event;
}

SDL_Event keyDown(SDLKey sym, int mod) {
    SDL_Event event{};
    event.key = {SDL_KEYDOWN, 0, SDL_PRESSED, {0, sym, SDLMod(mod), 0}};
    return event;
}

SDL_Event keyUp(SDLKey sym) {
    SDL_Event event = keyDown(sym);
    event.key.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    return event;
}

SDL_Event userEvent(int code) {
    SDL_Event event{};
    event.user = {SDL_USEREVENT, code, nullptr, nullptr};
    return event;
}

SDL_Event motion(int x, int y) {
    SDL_Event event{};
    event.motion = {SDL_MOUSEMOTION, 0, 0, Uint16(x), Uint16(y), 0, 0};
    return event;
}

SDL_Event quitEvent() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    return event;
}

void pushEvents(const std::vector<SDL_Event>& events) {
    testGame();  // the queue needs SDL's video subsystem
    drainEvents();
    for (SDL_Event event : events) {  // a copy: SDL_PushEvent takes a non-const pointer
        ASSERT_EQ(SDL_PushEvent(&event), 0) << "the event queue is full";
    }
}

bool markerIsNext() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type != SDL_ACTIVEEVENT && event.type != SDL_VIDEOEXPOSE) {
            return event.type == SDL_USEREVENT && event.user.code == MarkerCode;
        }
    }
    return false;
}

std::string scoreFile(const Records& records) {
    std::string text;
    for (const auto& [name, score] : records) {
        text += name + "\n" + std::to_string(score) + "\n";
    }
    return text;
}

Records tenRecords() {
    Records records;
    for (int score = 100; score >= 10; score -= 10) {
        records.emplace_back("p" + std::to_string(score), score);
    }
    return records;
}

Records records(const std::string& table) {
    Records result;
    std::istringstream in(table);
    std::string word;
    while (in >> word) {
        const std::size_t colon = word.find(':');
        result.emplace_back(word.substr(0, colon),
                            std::stoi(word.substr(colon == std::string::npos ? 1 : colon + 1)));
    }
    return result;
}

ScopedWorkDir::ScopedWorkDir() : previous(std::filesystem::current_path().string()) {
    const char* parents = std::getenv(WorkDirVariable);
    std::string pattern = (std::filesystem::temp_directory_path() / "quendle-test-XXXXXX").string();
    dir = parents != nullptr ? parents : mkdtemp(pattern.data());
    setenv(WorkDirVariable, dir.c_str(), 1);
    std::filesystem::current_path(dir);
}

ScopedWorkDir::~ScopedWorkDir() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
    unsetenv(WorkDirVariable);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
