#pragma once

#include "web/GlMath.h"

#include <array>

// The lights OpenGL 1.1 offers (GL_LIGHT0 .. GL_LIGHT7), and so the most a
// draw is lit by.
constexpr int MaxLights = 8;
// OpenGL's default material colours, which a draw without colour material
// takes for its ambient and diffuse reflection (grey, alpha 1).
constexpr float DefaultMaterialAmbient = 0.2f;
constexpr float DefaultMaterialDiffuse = 0.8f;

// The fixed-function state that lighting and a draw of triangles depend on.
// Lighting off is no lights, colour material and a white ambient light: the
// colour itself.
struct MeshUniforms {
    Matrix modelView{}, modelViewProjection{};
    NormalMatrix normals{};  // of the model-view matrix
    bool colorMaterial = false, flatShading = false;
    Vector4 sceneAmbient{};  // the model's ambient light and every enabled light's, summed
    int lightCount = 0;      // the enabled lights, first in the arrays below
    // Eye space, a point divided by its w (w 1) or a direction (w 0).
    std::array<Vector4, MaxLights> lightPosition{};
    std::array<Vector4, MaxLights> lightDiffuse{};
};

// OpenGL 1.1's lighting of one vertex under the state: `color` (each channel
// 0..1) with the object-space normal, at the eye-space position `eye`. The
// mesh shader lights balls with the same equation in GLSL (lit() in
// src/web/MeshShaders.cpp); this lights texts' raster positions.
Vector4 litColor(const MeshUniforms& state, const Vector4& color, const Vector4& normal,
                 const Vector4& eye);
