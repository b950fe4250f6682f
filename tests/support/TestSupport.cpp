#include "support/TestSupport.h"

#include "shell/Game.h"

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include <filesystem>

namespace {

std::unique_ptr<Game> sharedGame;

void push(SDL_Event& event) {
    if (SDL_PushEvent(&event) != 0) {
        throw std::runtime_error("SDL event queue full");
    }
}

void pushButton(Uint8 type, int x, int y, Uint8 button) {
    SDL_Event event{};
    event.type = type;
    event.button.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    push(event);
}

void pushKey(Uint8 type, SDLKey sym, SDLMod mod) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    push(event);
}

}  // namespace

Game& testGame() {
    if (!sharedGame) {
        sharedGame = std::make_unique<Game>(600, 600);
        drainEvents();
    }
    return *sharedGame;
}

bool gameWindowOpened() {
    return sharedGame != nullptr;
}

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

void pushMouseDown(int x, int y, Uint8 button) {
    pushButton(SDL_MOUSEBUTTONDOWN, x, y, button);
}
void pushMouseUp(int x, int y, Uint8 button) {
    pushButton(SDL_MOUSEBUTTONUP, x, y, button);
}

void pushMotion(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    push(event);
}

void pushKeyDown(SDLKey sym, SDLMod mod) {
    pushKey(SDL_KEYDOWN, sym, mod);
}
void pushKeyUp(SDLKey sym, SDLMod mod) {
    pushKey(SDL_KEYUP, sym, mod);
}

void pushUserEvent(int code) {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.type = SDL_USEREVENT;
    event.user.code = code;
    push(event);
}

void pushTick() {
    pushUserEvent(0);
}

void pushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    push(event);
}

Rgb readPixel(int x, int yFromTop) {
    GLubyte rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, 599 - yFromTop, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

std::vector<std::uint8_t> readGlyphCell(int left, int baselineAboveBottom) {
    std::vector<std::uint8_t> rows;
    // Row 0 of a glyph lies two pixels below the baseline.
    for (int row = 0; row < 13; ++row) {
        std::uint8_t bits = 0;
        for (int column = 0; column < 8; ++column) {
            const int fromBottom = baselineAboveBottom - 2 + row;
            const Rgb pixel = readPixel(left + column, 599 - fromBottom);
            if (!nearColor(pixel, Background, 6)) {
                bits = static_cast<std::uint8_t>(bits | (0x80 >> column));
            }
        }
        rows.push_back(bits);
    }
    return rows;
}

ScopedWorkDir::ScopedWorkDir() {
    previous = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "quendle-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    dir = pattern;
    std::filesystem::current_path(dir);
}

ScopedWorkDir::~ScopedWorkDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(dir, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
