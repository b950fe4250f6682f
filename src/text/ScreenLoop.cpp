#include "text/ScreenLoop.h"

#include <cstdlib>

int runScreenLoop(const BeginFrame& beginFrame, const std::function<void()>& draw,
                  const std::function<int(const SDL_Event&)>& handle,
                  const std::function<void()>& beforeExit) {
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            beginFrame();
            draw();
            SDL_GL_SwapBuffers();
            continue;
        }
        if (event.type == SDL_QUIT) {
            if (beforeExit) {
                beforeExit();
            }
            std::exit(0);
        }
        const int result = handle(event);
        if (result != ScreenGoesOn) {
            return result;
        }
    }
}

int leaveOnAnyPress(const SDL_Event& event) {
    const bool pressed = event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN;
    return pressed ? ScreenLeft : ScreenGoesOn;
}
