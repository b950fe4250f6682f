#pragma once

#include "support/Image.h"

#include <SDL.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class Game;

// The process's one game window (600 x 600), made on first use. Every test
// runs in a process of its own, so each test gets a fresh one.
Game& testGame();
bool gameWindowOpened();  // whether this process has made its game window

// One frame begun as every screen begins it, drawn by draw, read back before the swap.
Image drawnFrame(const std::function<void()>& draw);

// SDL events as the window system delivers them, for the real queue.
SDL_Event mouseDown(int x, int y, Uint8 button = SDL_BUTTON_LEFT);
SDL_Event mouseUp(int x, int y);
SDL_Event keyDown(SDLKey sym, int mod = KMOD_NONE);
SDL_Event keyUp(SDLKey sym);
SDL_Event userEvent(int code);  // code 0 is the level timer's tick
SDL_Event motion(int x, int y);
SDL_Event quitEvent();
void pushEvents(const std::vector<SDL_Event>& events);  // drains the queue, then pushes in order

// Pushed after the event that should end a loop: the loop must leave it queued.
constexpr int MarkerCode = 77;
bool markerIsNext();  // the next event, past what the window system adds, is userEvent(MarkerCode)

// A score file holding these (name, score) records in this order.
using Records = std::vector<std::pair<std::string, int>>;
std::string scoreFile(const Records& records);
Records tenRecords();  // "p100" 100, "p90" 90, ..., "p10" 10
// Records written as "p100 Ann:55 ...": a bare name scores what follows its first letter.
Records records(const std::string& table);

// A fresh empty directory that is the working directory while this lives. A
// death test's child, which runs the test again from its start, enters its
// parent's directory instead, so the parent sees what the child wrote.
class ScopedWorkDir {
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

private:
    std::string dir;
    std::string previous;
};

std::string readFile(const std::string& path);  // whole file, bytes as they are; "" when missing
void writeFile(const std::string& path, const std::string& bytes);
