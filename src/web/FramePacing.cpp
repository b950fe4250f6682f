// The swap that shows each frame and paces the game to the display.
#include "web/CurrentContext.h"
#include "web/WebRenderer.h"

#include <SDL.h>

// In the page (src/web/library.js): the frame's texts handed over and
// Module.onFrame told, and the wait for the next display frame, which
// Asyncify suspends the game through.
extern "C" {
void frameShown();
void waitForDisplay();
}

// Draws what the frame queued and waits for the display, as the desktop's
// swap does with the swap control the game asks for: the screen loops run at
// the display's rate. The page counts frames and may look at each one
// (web/index.html).
void SDL_GL_SwapBuffers() {
    GlContext& gl = currentContext();
    gl.renderer().flush();
    frameShown();
    waitForDisplay();
    fitDrawingBuffer(gl);
    gl.renderer().renew();
}
