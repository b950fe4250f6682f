#pragma once

#include <string>

// The GLSL ES 1.00 sources of MeshRenderer's programs: attributes as in
// MeshCorner, uniforms as in MeshUniforms plus the viewport. The vertex
// shader is made for a number of lights (0..MaxLights, the first of the uniform
// arrays); lighting off is 0 lights with an unlit look chosen by the caller.
std::string meshVertexShader(int lights);
std::string meshFragmentShader();
