#pragma once

#include "web/PrimitiveVertex.h"

#include <vector>

// One corner of a triangle as the GPU gets it. WebGL 1 has no flat varyings,
// so every corner carries the whole triangle: its three corners in object
// space, the provoking vertex last, and the provoking vertex's normal and
// colour; then its own normal and colour, for smooth shading.
struct MeshCorner {
    float corners[3][3];
    float which;  // this corner: 0, 1 or 2
    float normal[3];
    float color[3];  // rgb 0..1; alpha is always 1
    float provokingNormal[3];
    float provokingColor[3];
};

// The corners of triangles given three vertices each, the provoking one last
// (appendTriangles); a last incomplete triangle is left out.
std::vector<MeshCorner> meshCorners(const std::vector<PrimitiveVertex>& triangles);
