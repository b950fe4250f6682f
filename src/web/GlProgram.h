#pragma once

#include <vector>

// Compiles and links a WebGL program from GLSL ES 1.00 sources, binding the
// ith attribute name to location i, and makes it current; 0 when it does not
// link. The caller deletes it. Needs the page's WebGL context.
unsigned linkProgram(const char* vertexSource, const char* fragmentSource,
                     const std::vector<const char*>& attributes);
// Enables locations 0 .. count - 1 and disables the rest of the first `limit`,
// so that a draw never reads arrays the current program does not use.
void useAttributes(int count, int limit);
