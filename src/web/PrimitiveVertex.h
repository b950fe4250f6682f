#pragma once

#include "web/GlMath.h"

// A vertex as glVertex gives it: its object-space position, with the normal
// and colour current then. Display lists cut primitives into triangles of
// these, three each with OpenGL's provoking vertex last, and the renderer
// makes the GPU's corners of them.
struct PrimitiveVertex {
    Vector4 position, normal, color;
};
