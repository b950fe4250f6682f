#include "web/Lighting.h"

#include <algorithm>

// OpenGL 1.1's lighting equation (section 2.13.1) for ambient and diffuse
// light, as the mesh shader has it (lit() in src/web/MeshShaders.cpp): the
// material's specular colour stays black in this game, so specular light adds
// nothing, and no attenuation or spotlight is set.
Vector4 litColor(const MeshUniforms& state, const Vector4& color, const Vector4& normal,
                 const Vector4& eye) {
    const auto material = [&](float byDefault, int i) {
        return state.colorMaterial ? color[static_cast<std::size_t>(i)] : byDefault;
    };
    const Vector4 n = eyeNormal(state.normals, normal);
    Vector4 c{0.0f, 0.0f, 0.0f, material(1.0f, 3)};
    for (int i = 0; i < 3; ++i) {
        c[i] = material(DefaultMaterialAmbient, i) * state.sceneAmbient[i];
    }
    for (int light = 0; light < state.lightCount; ++light) {
        const Vector4& diffuse = state.lightDiffuse[static_cast<std::size_t>(light)];
        const Vector4 l = towardsLight(state.lightPosition[static_cast<std::size_t>(light)], eye);
        const float facing = std::max(n[0] * l[0] + n[1] * l[1] + n[2] * l[2], 0.0f);
        for (int i = 0; i < 3; ++i) {
            c[i] += facing * diffuse[i] * material(DefaultMaterialDiffuse, i);
        }
    }
    return c;
}
