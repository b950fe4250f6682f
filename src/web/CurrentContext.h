#pragma once

#include "web/GlContext.h"

// The one current OpenGL context, on which the game's OpenGL calls act
// implicitly, as OpenGL's own do: made on first use, once the page's WebGL
// context is current (SDL_SetVideoMode), and fitted to the drawing buffer then.
GlContext& currentContext();
// Fits the window's pixels to the canvas's drawing buffer, whatever size the
// page gives it (say, the device's pixels); the swap calls it before every frame.
void fitDrawingBuffer(GlContext& gl);
