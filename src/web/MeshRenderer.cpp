#include "web/MeshRenderer.h"

#include "web/GlProgram.h"
#include "web/GpuContext.h"
#include "web/MeshShaders.h"

#include <GLES2/gl2.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace {

// The attributes, in the order of MeshCorner's fields.
constexpr std::array<const char*, MostAttributes> AttributeNames = {
    "cornerA", "cornerB", "cornerC",         "which",
    "normal",  "color",   "provokingNormal", "provokingColor"};
constexpr int WhichAttribute = 3;
constexpr int FloatsPerVector = 3;

// The uniforms, in the order of Names below.
enum Uniform {
    ModelView,
    ModelViewProjection,
    Normals,
    ColorMaterial,
    FlatShading,
    SceneAmbient,
    LightPosition,
    LightDiffuse,
    ViewportScale,
    ViewportCentre,
    UniformCount
};
constexpr const char* Names[UniformCount] = {
    "modelView",    "modelViewProjection", "normals",      "colorMaterial", "flatShading",
    "sceneAmbient", "lightPosition",       "lightDiffuse", "viewportScale", "viewportCentre"};

}  // namespace

// Names made before a loss of the context are dead after it, and deleting
// one only draws a complaint from WebGL: they are overwritten.
int MeshRenderer::make() {
    if (gpuContextLost()) {
        return GpuWaiting;
    }
    glGenBuffers(1, &meshBuffer);
    storedChanged = true;
    boundBuffer = 0;
    current = nullptr;
    for (std::size_t lights = 0; lights < programs.size(); ++lights) {
        Program& program = programs[lights];
        program = Program{};
        program.id = linkProgram(meshVertexShader(static_cast<int>(lights)).c_str(),
                                 meshFragmentShader().c_str(),
                                 {AttributeNames.begin(), AttributeNames.end()});
        if (program.id == 0) {
            return gpuContextLost() ? GpuWaiting : GpuFailed;
        }
        std::transform(
            std::begin(Names), std::end(Names), std::back_inserter(program.locations),
            [&program](const char* name) { return glGetUniformLocation(program.id, name); });
    }
    return GpuMade;
}

MeshRenderer::~MeshRenderer() {
    glDeleteBuffers(1, &meshBuffer);
    for (const Program& program : programs) {
        if (program.id != 0) {
            glDeleteProgram(program.id);
        }
    }
}

int MeshRenderer::addMesh(const std::vector<PrimitiveVertex>& triangles) {
    const std::vector<MeshCorner> corners = meshCorners(triangles);
    meshes.emplace_back(static_cast<int>(stored.size()), static_cast<int>(corners.size()));
    stored.insert(stored.end(), corners.begin(), corners.end());
    storedChanged = true;
    return static_cast<int>(meshes.size()) - 1;
}

void MeshRenderer::replaceMesh(int mesh, const std::vector<PrimitiveVertex>& triangles) {
    const auto [first, count] = meshes[static_cast<std::size_t>(mesh)];
    if (static_cast<int>(triangles.size()) != count) {
        return;
    }
    const std::vector<MeshCorner> corners = meshCorners(triangles);
    std::copy(corners.begin(), corners.end(), stored.begin() + first);
    if (!storedChanged) {
        glBindBuffer(GL_ARRAY_BUFFER, meshBuffer);
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(first * sizeof(MeshCorner)),
                        static_cast<GLsizeiptr>(count * sizeof(MeshCorner)), corners.data());
        boundBuffer = 0;
    }
}

void MeshRenderer::drawMesh(int mesh, int first, int count, const MeshUniforms& state) {
    if (storedChanged) {
        glBindBuffer(GL_ARRAY_BUFFER, meshBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(stored.size() * sizeof(MeshCorner)),
                     stored.data(), GL_STATIC_DRAW);
        boundBuffer = 0;
        storedChanged = false;
    }
    activate(state, meshBuffer);
    glDrawArrays(GL_TRIANGLES, meshes[static_cast<std::size_t>(mesh)].first + first, count);
}

void MeshRenderer::setViewport(const std::array<float, 4>& box) {
    viewport = box;
}

// Makes the program for the state's lights current, with the state, and
// points its attributes at a buffer's corners.
void MeshRenderer::activate(const MeshUniforms& state, unsigned buffer) {
    Program& program = programs[static_cast<std::size_t>(state.lightCount)];
    if (current != &program) {
        if (current == nullptr) {
            useAttributes(MostAttributes);
            boundBuffer = 0;
        }
        glUseProgram(program.id);
        current = &program;
    }
    upload(program, state);
    if (boundBuffer == buffer) {
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    boundBuffer = buffer;
    const GLsizei stride = sizeof(MeshCorner);
    const std::size_t offsets[MostAttributes] = {
        offsetof(MeshCorner, corners),
        offsetof(MeshCorner, corners) + FloatsPerVector * sizeof(float),
        offsetof(MeshCorner, corners) + 2 * FloatsPerVector * sizeof(float),
        offsetof(MeshCorner, which),
        offsetof(MeshCorner, normal),
        offsetof(MeshCorner, color),
        offsetof(MeshCorner, provokingNormal),
        offsetof(MeshCorner, provokingColor)};
    for (GLuint i = 0; i < MostAttributes; ++i) {
        glVertexAttribPointer(i, i == WhichAttribute ? 1 : FloatsPerVector, GL_FLOAT, GL_FALSE,
                              stride, reinterpret_cast<const void*>(offsets[i]));
    }
}

// Sends what differs from the uniforms the program already holds.
void MeshRenderer::upload(Program& program, const MeshUniforms& state) {
    const bool all = program.fresh;
    const auto changed = [all](const auto& now, const auto& before) {
        return all || now != before;
    };
    const std::vector<int>& at = program.locations;
    const MeshUniforms& before = program.uploaded;
    if (changed(state.modelView, before.modelView)) {
        glUniformMatrix4fv(at[ModelView], 1, GL_FALSE, state.modelView.data());
    }
    if (changed(state.modelViewProjection, before.modelViewProjection)) {
        glUniformMatrix4fv(at[ModelViewProjection], 1, GL_FALSE, state.modelViewProjection.data());
    }
    if (changed(state.normals, before.normals)) {
        glUniformMatrix3fv(at[Normals], 1, GL_FALSE, state.normals.data());
    }
    if (changed(state.colorMaterial, before.colorMaterial) ||
        changed(state.flatShading, before.flatShading)) {
        glUniform1i(at[ColorMaterial], state.colorMaterial);
        glUniform1i(at[FlatShading], state.flatShading);
    }
    if (changed(state.sceneAmbient, before.sceneAmbient) ||
        changed(state.lightPosition, before.lightPosition) ||
        changed(state.lightDiffuse, before.lightDiffuse)) {
        glUniform4fv(at[SceneAmbient], 1, state.sceneAmbient.data());
        glUniform4fv(at[LightPosition], MaxLights, state.lightPosition[0].data());
        glUniform4fv(at[LightDiffuse], MaxLights, state.lightDiffuse[0].data());
    }
    if (changed(viewport, program.uploadedViewport)) {
        glUniform2f(at[ViewportScale], viewport[2] / 2.0f, viewport[3] / 2.0f);
        glUniform2f(at[ViewportCentre], viewport[0] + viewport[2] / 2.0f,
                    viewport[1] + viewport[3] / 2.0f);
    }
    program.uploaded = state;
    program.uploadedViewport = viewport;
    program.fresh = false;
}
