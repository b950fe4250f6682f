#pragma once

#include "web/Lighting.h"
#include "web/MeshCorner.h"
#include "web/PrimitiveVertex.h"

#include <array>
#include <utility>
#include <vector>

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

    // Stores triangles, three vertices each with the provoking one last
    // (appendTriangles); returns the mesh's number, for drawMesh.
    int addMesh(const std::vector<PrimitiveVertex>& triangles);
    // Gives a mesh new triangles, as many as it had.
    void replaceMesh(int mesh, const std::vector<PrimitiveVertex>& triangles);
    // Draws count vertices (whole triangles) of a mesh from its vertex first.
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

    std::array<Program, MaxLights + 1> programs;  // by number of lights
    Program* current = nullptr;                   // null while another program is in use
    unsigned meshBuffer = 0;
    std::vector<MeshCorner> stored;           // every mesh's corners, in the mesh buffer
    std::vector<std::pair<int, int>> meshes;  // first corner and count of each
    bool storedChanged = false;               // not yet in the mesh buffer
    unsigned boundBuffer = 0;                 // whose corners the attributes read
    std::array<float, 4> viewport{0.0f, 0.0f, 1.0f, 1.0f};
};
