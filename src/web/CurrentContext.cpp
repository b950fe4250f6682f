#include "web/CurrentContext.h"

#include "web/WebRenderer.h"

#include <SDL.h>
#include <emscripten/html5.h>

#include <memory>

namespace {

// OpenGL's calls act on one implicit current context, so the functions
// standing in for them can only find it here (HACKING.md).
std::unique_ptr<GlContext> current;

}  // namespace

GlContext& currentContext() {
    if (!current) {
        current = std::make_unique<GlContext>();
        fitDrawingBuffer(*current);
    }
    return *current;
}

void fitDrawingBuffer(GlContext& gl) {
    int width = 0;
    int height = 0;
    emscripten_webgl_get_drawing_buffer_size(emscripten_webgl_get_current_context(), &width,
                                             &height);
    const SDL_Surface* window = SDL_GetVideoSurface();
    if (window != nullptr) {
        gl.renderer().setDrawingBuffer(width, height, window->w, window->h);
    }
}
