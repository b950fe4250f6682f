#pragma once

#include <SDL.h>

#include <functional>

// What a screen's event handler returns while the screen goes on; no screen
// has 0 among its results.
constexpr int ScreenGoesOn = 0;
// What the handler of a screen without results of its own returns to leave it.
constexpr int ScreenLeft = 1;

// Starts every frame of every screen; the game's window supplies it.
using BeginFrame = std::function<void()>;

// The one shape of every screen loop. Takes one event at a time; while none is
// pending it draws frames (beginFrame, draw, swap); it never sleeps, and its
// pace is the swap's, which waits for the display. A
// window-close request ends the program at once with status 0, after
// beforeExit when one is given. Every other event goes to handle, whose first
// result other than ScreenGoesOn is the loop's result. Main thread only.
int runScreenLoop(const BeginFrame& beginFrame, const std::function<void()>& draw,
                  const std::function<int(const SDL_Event&)>& handle,
                  const std::function<void()>& beforeExit = nullptr);

// The handler of a screen that any key or mouse button press leaves; releases,
// motion and timer ticks keep it.
int leaveOnAnyPress(const SDL_Event& event);
