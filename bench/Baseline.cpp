// What bench/run measures the game against: the game's window, OpenGL attributes
// and polling loop, with a frame that only clears and swaps.

#include <GL/gl.h>
#include <SDL.h>

int main() {
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
    glClearColor(0.6f, 0.6f, 0.7f, 1.0f);
    for (SDL_Event event{}; event.type != SDL_QUIT;) {
        if (!SDL_PollEvent(&event)) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            SDL_GL_SwapBuffers();
        }
    }
    SDL_Quit();
}
