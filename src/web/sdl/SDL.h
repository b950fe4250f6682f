#pragma once

// The SDL 1.2 interface the game is written against, on top of Emscripten's
// SDL headers, which are a mixture of SDL 1.2 and later versions. Only the web
// build puts this folder on its include path, ahead of Emscripten's own.
#include <SDL/SDL.h>

// Key events carry their modifiers as a plain 16-bit mask here.
#undef SDLMod
#define SDLMod Uint16

// The browser paces presentation itself and has no swap interval to set; the
// request restates an attribute that is set anyway, which Emscripten accepts.
constexpr SDL_GLattr SDL_GL_SWAP_CONTROL = SDL_GL_DOUBLEBUFFER;

// Emscripten's timer fires once and takes an int id; the game's timers repeat
// and hold a pointer (src/web/WebTimer.cpp).
struct WebTimer;
#define SDL_TimerID WebTimer*
#define SDL_AddTimer webAddTimer
#define SDL_RemoveTimer webRemoveTimer

// Calls callback(interval, param) after interval ms and again after every
// interval it returns, until it returns 0 or the timer is removed. The
// callback runs on the page's only thread, between frames. Main thread only.
WebTimer* webAddTimer(Uint32 interval, SDL_TimerCallback callback, void* param);
// Stops and frees a timer of webAddTimer; SDL_FALSE for a null timer.
SDL_bool webRemoveTimer(WebTimer* timer);

// The level's clock runs only while the game can be seen, so that a hidden
// page, or one whose WebGL context is lost, holds its level where it stood.
#define SDL_GetTicks webGetTicks
// Milliseconds the page has been shown with its WebGL context since the first
// call, wrapping after 49 days as SDL_GetTicks does. Main thread only.
Uint32 webGetTicks();

// The window is made only where the page can draw it, and the page says why
// when it cannot (src/web/VideoMode.cpp).
#define SDL_SetVideoMode webSetVideoMode
// SDL_SetVideoMode, then null, after words on the page, when the page has no
// WebGL or its programs do not link. Main thread only, once.
SDL_Surface* webSetVideoMode(int width, int height, int bitsPerPixel, Uint32 flags);
