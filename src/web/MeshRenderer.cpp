#include "web/MeshRenderer.h"

#include "web/GlProgram.h"
#include "web/MeshShaders.h"

#include <GLES2/gl2.h>

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace {

constexpr int AttributeCount = 8;
constexpr int FloatsPerVector = 3;

// The uniforms, in the order of Names below.
enum Uniform {
    ModelView,
    Projection,
    Normals,
    Lighting,
    ColorMaterial,
    FlatShading,
    ModelAmbient,
    LightCount,
    LightPosition,
    LightAmbient,
    LightDiffuse,
    ViewportScale,
    ViewportCentre,
    UniformCount
};
constexpr const char* Names[UniformCount] = {
    "modelView",    "projection",    "normals",       "lighting",      "colorMaterial",
    "flatShading",  "modelAmbient",  "lightCount",    "lightPosition", "lightAmbient",
    "lightDiffuse", "viewportScale", "viewportCentre"};

}  // namespace

MeshRenderer::MeshRenderer() {
    program = linkProgram(MeshVertexShader, MeshFragmentShader,
                          {"cornerA", "cornerB", "cornerC", "which", "normal", "color",
                           "provokingNormal", "provokingColor"});
    std::transform(std::begin(Names), std::end(Names), std::back_inserter(locations),
                   [this](const char* name) { return glGetUniformLocation(program, name); });
    glGenBuffers(1, &meshBuffer);
    glGenBuffers(1, &streamBuffer);
}

MeshRenderer::~MeshRenderer() {
    glDeleteBuffers(1, &streamBuffer);
    glDeleteBuffers(1, &meshBuffer);
    glDeleteProgram(program);
}

int MeshRenderer::addMesh(const std::vector<MeshCorner>& corners) {
    meshes.emplace_back(static_cast<int>(stored.size()), static_cast<int>(corners.size()));
    stored.insert(stored.end(), corners.begin(), corners.end());
    storedChanged = true;
    return static_cast<int>(meshes.size()) - 1;
}

void MeshRenderer::replaceMesh(int mesh, const std::vector<MeshCorner>& corners) {
    const auto [first, count] = meshes[static_cast<std::size_t>(mesh)];
    if (static_cast<int>(corners.size()) != count) {
        return;
    }
    std::copy(corners.begin(), corners.end(), stored.begin() + first);
    if (!storedChanged) {
        glBindBuffer(GL_ARRAY_BUFFER, meshBuffer);
        boundBuffer = 0;
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(first * sizeof(MeshCorner)),
                        static_cast<GLsizeiptr>(count * sizeof(MeshCorner)), corners.data());
    }
}

void MeshRenderer::drawMesh(int mesh, int first, int count, const MeshUniforms& state) {
    if (storedChanged) {
        glBindBuffer(GL_ARRAY_BUFFER, meshBuffer);
        boundBuffer = 0;
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(stored.size() * sizeof(MeshCorner)),
                     stored.data(), GL_STATIC_DRAW);
        storedChanged = false;
    }
    activate(meshBuffer);
    upload(state);
    glDrawArrays(GL_TRIANGLES, meshes[static_cast<std::size_t>(mesh)].first + first, count);
}

void MeshRenderer::drawTriangles(const std::vector<MeshCorner>& corners,
                                 const MeshUniforms& state) {
    if (corners.empty()) {
        return;
    }
    activate(streamBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(corners.size() * sizeof(MeshCorner)),
                 corners.data(), GL_STREAM_DRAW);
    upload(state);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(corners.size()));
}

void MeshRenderer::setViewport(const std::array<float, 4>& box) {
    viewport = box;
    if (active) {
        glUniform2f(locations[ViewportScale], box[2] / 2.0f, box[3] / 2.0f);
        glUniform2f(locations[ViewportCentre], box[0] + box[2] / 2.0f, box[1] + box[3] / 2.0f);
    }
}

// Makes the program current and points its attributes at a buffer's corners.
void MeshRenderer::activate(unsigned buffer) {
    if (!active) {
        glUseProgram(program);
        useAttributes(AttributeCount, AttributeCount);
        active = true;
        boundBuffer = 0;
        setViewport(viewport);
    }
    if (boundBuffer == buffer) {
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    boundBuffer = buffer;
    const GLsizei stride = sizeof(MeshCorner);
    const std::size_t offsets[AttributeCount] = {offsetof(MeshCorner, corners),
                                                 offsetof(MeshCorner, corners) + 3 * sizeof(float),
                                                 offsetof(MeshCorner, corners) + 6 * sizeof(float),
                                                 offsetof(MeshCorner, which),
                                                 offsetof(MeshCorner, normal),
                                                 offsetof(MeshCorner, color),
                                                 offsetof(MeshCorner, provokingNormal),
                                                 offsetof(MeshCorner, provokingColor)};
    for (GLuint i = 0; i < AttributeCount; ++i) {
        glVertexAttribPointer(i, i == 3 ? 1 : FloatsPerVector, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsets[i]));
    }
}

// Sends what differs from the uniforms the program already holds.
void MeshRenderer::upload(const MeshUniforms& state) {
    const bool all = !uploadedAny;
    const auto changed = [&](const auto& now, const auto& before) { return all || now != before; };
    if (changed(state.modelView, uploaded.modelView)) {
        glUniformMatrix4fv(locations[ModelView], 1, GL_FALSE, state.modelView.data());
    }
    if (changed(state.projection, uploaded.projection)) {
        glUniformMatrix4fv(locations[Projection], 1, GL_FALSE, state.projection.data());
    }
    if (changed(state.normals, uploaded.normals)) {
        glUniformMatrix3fv(locations[Normals], 1, GL_FALSE, state.normals.data());
    }
    if (changed(state.lighting, uploaded.lighting) ||
        changed(state.colorMaterial, uploaded.colorMaterial) ||
        changed(state.flatShading, uploaded.flatShading)) {
        glUniform1i(locations[Lighting], state.lighting);
        glUniform1i(locations[ColorMaterial], state.colorMaterial);
        glUniform1i(locations[FlatShading], state.flatShading);
    }
    if (changed(state.modelAmbient, uploaded.modelAmbient) ||
        changed(state.lightCount, uploaded.lightCount) ||
        changed(state.lightPosition, uploaded.lightPosition) ||
        changed(state.lightAmbient, uploaded.lightAmbient) ||
        changed(state.lightDiffuse, uploaded.lightDiffuse)) {
        glUniform4fv(locations[ModelAmbient], 1, state.modelAmbient.data());
        glUniform1i(locations[LightCount], state.lightCount);
        glUniform4fv(locations[LightPosition], MeshUniforms::MaxLights,
                     state.lightPosition[0].data());
        glUniform4fv(locations[LightAmbient], MeshUniforms::MaxLights,
                     state.lightAmbient[0].data());
        glUniform4fv(locations[LightDiffuse], MeshUniforms::MaxLights,
                     state.lightDiffuse[0].data());
    }
    uploaded = state;
    uploadedAny = true;
}
