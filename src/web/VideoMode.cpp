// The window, and the check that the page can draw it.
#include "web/CurrentContext.h"
#include "web/GpuContext.h"
#include "web/WebRenderer.h"

#include <SDL.h>
#include <emscripten/html5.h>

// Emscripten's own, which webSetVideoMode stands in front of (src/web/sdl/SDL.h).
#undef SDL_SetVideoMode

// The window, once the page is found able to draw it: WebGL there, and every
// program linked. Where it is not, the page says why, and the game, which
// cannot go on without a window, ends.
SDL_Surface* webSetVideoMode(int width, int height, int bitsPerPixel, Uint32 flags) {
    SDL_Surface* window = SDL_SetVideoMode(width, height, bitsPerPixel, flags);
    if (window != nullptr && emscripten_webgl_get_current_context() == 0) {
        sayCannotDraw(NoWebGl);
        return nullptr;
    }
    if (window != nullptr && currentContext().renderer().made() == GpuFailed) {
        sayCannotDraw(NoPrograms);
        return nullptr;
    }
    watchGpuContext();
    return window;
}
