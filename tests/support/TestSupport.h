#pragma once

#include "support/Image.h"

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

class Game;

// The process's one game window (600 x 600), made on first use. Every test
// runs in a process of its own, so each test gets a fresh one.
Game& testGame();
bool gameWindowOpened();  // whether this process has made its game window

// SDL events, pushed into the real queue before a screen loop is called.
void drainEvents();  // drops whatever is queued
void pushMouseDown(int x, int y, Uint8 button = SDL_BUTTON_LEFT);
void pushMouseUp(int x, int y, Uint8 button = SDL_BUTTON_LEFT);
void pushMotion(int x, int y);
void pushKeyDown(SDLKey sym, SDLMod mod = KMOD_NONE);
void pushKeyUp(SDLKey sym, SDLMod mod = KMOD_NONE);
void pushUserEvent(int code);
void pushTick();  // the level timer's tick: user event code 0
void pushQuit();

// Pixels of the frame being drawn (read before the swap), origin top left.
Rgb readPixel(int x, int yFromTop);

// The 8 x 13 cell of a glyph drawn at raster position (left, baseline) in
// window pixels measured from the bottom left, as OpenGL counts them (text at
// overlay y 0.3 has its baseline at 390): 13 row bytes, bottom row first, a
// bit set where the pixel differs from the background.
std::vector<std::uint8_t> readGlyphCell(int left, int baselineAboveBottom);

// A fresh empty directory that is the working directory while this lives.
class ScopedWorkDir {
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;
    const std::string& path() const { return dir; }

private:
    std::string dir;
    std::string previous;
};

std::string readFile(const std::string& path);  // whole file, bytes as they are
void writeFile(const std::string& path, const std::string& bytes);
