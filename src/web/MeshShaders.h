#pragma once

// The GLSL ES 1.00 sources of MeshRenderer's program: attributes as in
// MeshCorner, uniforms as in MeshUniforms plus the viewport.
extern const char* const MeshVertexShader;
extern const char* const MeshFragmentShader;
