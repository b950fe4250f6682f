#pragma once

#include "web/GlMath.h"

#include <array>
#include <utility>
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

// The fixed-function state that a draw of triangles depends on. Lighting off
// is no lights, colour material and a white ambient light: the colour itself.
struct MeshUniforms {
    static constexpr int MaxLights = 8;
    Matrix modelView{}, modelViewProjection{};
    NormalMatrix normals{};  // of the model-view matrix
    bool colorMaterial = false, flatShading = false;
    Vector4 sceneAmbient{};  // the model's ambient light and every enabled light's, summed
    int lightCount = 0;      // the enabled lights, first in the arrays below
    // Eye space, a point divided by its w (w 1) or a direction (w 0).
    std::array<Vector4, MaxLights> lightPosition{};
    std::array<Vector4, MaxLights> lightDiffuse{};
};

// Draws triangles with WebGL programs that do the vertex stage of OpenGL 1.1
// on the GPU: transforms, the lighting equation, flat or smooth shading, and
// coverage decided exactly as the desktop's Mesa decides it (for shapes under
// 128 device pixels across, where fragment shaders have highp); one program
// for each number of lights. Meshes live in one GPU buffer for good, and on
// the CPU too. Needs the page's WebGL context.
class MeshRenderer {
public:
    MeshRenderer() = default;  // makes nothing: make does
    ~MeshRenderer();
    // Makes the mesh buffer, with every mesh so far, and the programs; again
    // once a lost context is back. A GpuObjects value; draw only after GpuMade.
    int make();
    MeshRenderer(const MeshRenderer&) = delete;
    MeshRenderer& operator=(const MeshRenderer&) = delete;

    int addMesh(const std::vector<MeshCorner>& corners);  // the mesh's number, for drawMesh
    // Gives a mesh new corners, as many as it had.
    void replaceMesh(int mesh, const std::vector<MeshCorner>& corners);
    // Draws count corners (whole triangles) of a mesh from its corner first.
    void drawMesh(int mesh, int first, int count, const MeshUniforms& state);
    // The viewport in device pixels: x, y, width, height.
    void setViewport(const std::array<float, 4>& box);
    void deactivate() { current = nullptr; }  // another program has been made current

private:
    // A program and what its uniforms hold.
    struct Program {
        unsigned id = 0;
        std::vector<int> locations;
        MeshUniforms uploaded;
        std::array<float, 4> uploadedViewport{};
        bool fresh = true;  // nothing uploaded yet
    };

    void activate(const MeshUniforms& state, unsigned buffer);
    void upload(Program& program, const MeshUniforms& state);

    std::array<Program, MeshUniforms::MaxLights + 1> programs;  // by number of lights
    Program* current = nullptr;  // null while another program is in use
    unsigned meshBuffer = 0;
    std::vector<MeshCorner> stored;           // every mesh's corners, in the mesh buffer
    std::vector<std::pair<int, int>> meshes;  // first corner and count of each
    bool storedChanged = false;               // not yet in the mesh buffer
    unsigned boundBuffer = 0;                 // whose corners the attributes read
    std::array<float, 4> viewport{0.0f, 0.0f, 1.0f, 1.0f};
};
