// The baseline that bench/run measures the game against: the same window,
// the same OpenGL attributes and the same polling loop as the game's screens,
// but a frame that only clears and swaps. With the argument "timer" it also
// runs a plain 10 ms SDL timer that posts a tick and asks to be called again
// after the same interval: the pace such a timer gives on its own.

#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int WindowSize = 600;
constexpr int BitsPerPixel = 32;
constexpr Uint32 TickInterval = 10;  // milliseconds, as in the game's levels

Uint32 postTick(Uint32 interval, void*) {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.type = SDL_USEREVENT;
    event.user.code = 0;
    SDL_PushEvent(&event);
    return interval;
}

}  // namespace

int main(int argc, char** argv) {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0) {
        std::printf("Unable to init SDL: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);
    SDL_WM_SetCaption("Baseline", "");
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    if (SDL_SetVideoMode(WindowSize, WindowSize, BitsPerPixel, SDL_OPENGL) == nullptr) {
        std::printf("Unable to set video: %s\n", SDL_GetError());
        return 1;
    }
    if (argc > 1 && std::strcmp(argv[1], "timer") == 0) {
        SDL_AddTimer(TickInterval, postTick, nullptr);
    }
    glClearColor(0.6f, 0.6f, 0.7f, 1.0f);
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            SDL_GL_SwapBuffers();
            continue;
        }
        if (event.type == SDL_QUIT) {
            return 0;
        }
    }
}
