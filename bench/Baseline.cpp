// What bench/run measures the game against: the game's window, OpenGL attributes
// and polling loop, with a frame that only clears and swaps; with the argument
// "timer", also a plain 10 ms SDL timer that posts a tick.

#include <GL/gl.h>
#include <SDL.h>

#include <cstring>

int main(int argc, char** argv) {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0) {
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    if (SDL_SetVideoMode(600, 600, 32, SDL_OPENGL) == nullptr) {
        return 1;
    }
    if (argc > 1 && std::strcmp(argv[1], "timer") == 0) {
        const auto postTick = [](Uint32 interval, void*) {
            SDL_Event tick{SDL_USEREVENT};
            SDL_PushEvent(&tick);
            return interval;
        };
        SDL_AddTimer(10, postTick, nullptr);
    }
    glClearColor(0.6f, 0.6f, 0.7f, 1.0f);
    for (SDL_Event event{}; event.type != SDL_QUIT;) {
        if (!SDL_PollEvent(&event)) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            SDL_GL_SwapBuffers();
        }
    }
    SDL_Quit();
}
