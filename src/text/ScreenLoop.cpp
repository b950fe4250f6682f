#include "text/ScreenLoop.h"

#include <cstdlib>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

int runScreenLoop(const BeginFrame& beginFrame, const std::function<void()>& draw,
                  const std::function<int(const SDL_Event&)>& handle,
                  const std::function<void()>& beforeExit) {
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) {
            beginFrame();
            draw();
            SDL_GL_SwapBuffers();
#ifdef __EMSCRIPTEN__
            // A page shows its frame and delivers input only while its code
            // is not running: hand control back to the browser once a frame.
            emscripten_sleep(0);
#endif
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
