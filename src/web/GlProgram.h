#pragma once

#include <vector>

// Compiles and links a WebGL program from GLSL ES 1.00 sources, binding the
// ith attribute name to location i, and makes it current. The fragment
// shader's floats are highp where the GPU offers it there, else mediump with
// ROUGH defined, for a shader that needs highp to do without. Returns it, or
// 0 when a shader does not compile or the program does not link, which the
// driver's log on the console then tells. The caller deletes it, and makes a
// failed one no more. Needs the page's WebGL context, not lost.
unsigned linkProgram(const char* vertexSource, const char* fragmentSource,
                     const std::vector<const char*>& attributes);
// The most vertex attributes a program of the web layer reads: the mesh
// programs' eight (MeshCorner's fields).
constexpr int MostAttributes = 8;

// Enables locations 0 .. count - 1 and disables the rest up to MostAttributes,
// so that a draw never reads arrays the current program does not use.
void useAttributes(int count);
