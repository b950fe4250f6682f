#pragma once

#include <vector>

// The primitive kinds a sphere is made of, with OpenGL's values for them.
enum SphereMode { SphereTriangleFan = 0x0006, SphereQuadStrip = 0x0008 };

// One vertex as the sphere sends it: its normal, then its position.
struct MeshVertex {
    float normal[3];
    float position[3];
};

// One glBegin/glEnd pair of the sphere.
struct MeshPrimitive {
    SphereMode mode;
    std::vector<MeshVertex> vertices;
};

// The primitives, vertices and normals of a sphere of the given radius around
// the origin, in the order the desktop's GLU sends them for a quadric with the
// default settings (filled, smooth normals, outside, no texture): a fan around
// each pole, then one quad strip per stack in between. slices >= 2, stacks >= 3.
// Pure; tests/web proves the order against the native GLU.
std::vector<MeshPrimitive> sphereMesh(double radius, int slices, int stacks);
