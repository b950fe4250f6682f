#include "web/WebRenderer.h"

#include "web/GlMath.h"
#include "web/GlProgram.h"

#include <GLES2/gl2.h>

#include <cmath>
#include <cstddef>

// The plain names of these belong to the fixed-function calls (src/web/GlCalls.cpp).
extern "C" {
void emscripten_glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a);
void emscripten_glDisable(GLenum capability);
void emscripten_glEnable(GLenum capability);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
}

namespace {

constexpr const char* VertexShader = R"(
attribute vec4 position;
attribute vec2 texel;
attribute vec4 color;
varying vec2 atlasTexel;
varying vec4 fragmentColor;
void main() {
    gl_Position = position;
    atlasTexel = texel;
    fragmentColor = color;
}
)";

// A glyph texel without ink leaves its pixel untouched, as glBitmap does. At
// mediump (linkProgram) a texel coordinate of the atlas is off by half a
// texel at most, so text still draws, at worst a device pixel ragged.
constexpr const char* FragmentShader = R"(
uniform sampler2D atlas;
varying vec2 atlasTexel;
varying vec4 fragmentColor;
void main() {
    if (texture2D(atlas, atlasTexel).r < 0.5) {
        discard;
    }
    gl_FragColor = fragmentColor;
}
)";

constexpr int GlyphAttributes = 3;

float toDevice(int windowPixels, float scale) {
    return std::round(static_cast<float>(windowPixels) * scale);
}

}  // namespace

WebRenderer::WebRenderer() : atlas(AtlasWidth * AtlasHeight, 0) {
    gpu = make();
}

WebRenderer::~WebRenderer() {
    glDeleteTextures(1, &texture);
    glDeleteBuffers(1, &buffer);
    glDeleteProgram(program);
}

// Names made before a loss of the context are dead after it, and deleting
// one only draws a complaint from WebGL: they are overwritten. The atlas and
// every state this layer sets go to the GPU again.
int WebRenderer::make() {
    if (gpuContextLost()) {
        return GpuWaiting;
    }
    program = linkProgram(VertexShader, FragmentShader, {"position", "texel", "color"});
    if (program == 0) {
        return gpuContextLost() ? GpuWaiting : GpuFailed;
    }
    // The glyph atlas is the program's only texture, on unit 0 for good.
    glUniform1i(glGetUniformLocation(program, "atlas"), 0);
    glGenBuffers(1, &buffer);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    atlasChanged = true;
    setDepthTest(depthTest);
    emscripten_glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
    applyViewport();
    return meshes.make();
}

void WebRenderer::renew() {
    const int restores = gpuRestores();
    if ((restores == restoresSeen && gpu != GpuWaiting) || gpuContextLost()) {
        return;
    }
    restoresSeen = restores;
    batch.clear();
    gpu = make();
    if (gpu == GpuFailed) {
        sayCannotDraw(NoPrograms);
    }
}

void WebRenderer::setDepthTest(bool on) {
    flush();
    depthTest = on;
    if (on) {
        emscripten_glEnable(GL_DEPTH_TEST);
    } else {
        emscripten_glDisable(GL_DEPTH_TEST);
    }
}

// The desktop's Mesa stores the nearest 8-bit value of each channel
// (nearestByte); WebGL may round or cut off otherwise. A quarter step above
// that value gives it either way.
void WebRenderer::setClearColor(const Vector4& color) {
    constexpr float Steps = 255.0f;
    constexpr float QuarterStep = 0.25f;
    for (std::size_t i = 0; i < clearColor.size(); ++i) {
        clearColor[i] = (static_cast<float>(nearestByte(color[i])) + QuarterStep) / Steps;
    }
    emscripten_glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
}

int WebRenderer::addGlyph(int width, int height, const std::vector<unsigned char>& coverage) {
    glyphs.push_back({0, 0, 0, 0});
    const int glyph = static_cast<int>(glyphs.size()) - 1;
    if (width <= 0 || height <= 0) {
        return glyph;
    }
    if (shelfX + width > AtlasWidth) {
        shelfX = 0;
        shelfY += shelfHeight;
        shelfHeight = 0;
    }
    if (width > AtlasWidth || shelfY + height > AtlasHeight) {
        return glyph;
    }
    const AtlasSlot slot{shelfX, shelfY, width, height};
    glyphs.back() = slot;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            atlas[(slot.y + row) * AtlasWidth + slot.x + column] = coverage[row * width + column];
        }
    }
    shelfX += width;
    shelfHeight = height > shelfHeight ? height : shelfHeight;
    atlasChanged = true;
    return glyph;
}

// (x, y) is the glyph's corner in device pixels.
GlyphVertex WebRenderer::glyphCorner(const AtlasSlot& slot, int dx, int dy, float x, float y,
                                     float z, const unsigned char* color) const {
    const float px = x + static_cast<float>(dx * slot.width) * scaleX - deviceViewport[0];
    const float py = y + static_cast<float>(dy * slot.height) * scaleY - deviceViewport[1];
    return {{2.0f * px / deviceViewport[2] - 1.0f, 2.0f * py / deviceViewport[3] - 1.0f,
             2.0f * z - 1.0f, 1.0f},
            {static_cast<float>(slot.x + dx * slot.width) / AtlasWidth,
             static_cast<float>(slot.y + dy * slot.height) / AtlasHeight},
            {color[0], color[1], color[2], color[3]}};
}

// The corner goes to the nearest device pixel, so that every glyph shows its
// texels whole at any scale.
void WebRenderer::addGlyphQuad(int glyph, int x, int y, float z, const unsigned char* color) {
    const AtlasSlot& slot = glyphs[static_cast<std::size_t>(glyph)];
    if (slot.width == 0) {
        return;
    }
    const float deviceX = toDevice(x, scaleX);
    const float deviceY = toDevice(y, scaleY);
    const GlyphVertex c00 = glyphCorner(slot, 0, 0, deviceX, deviceY, z, color);
    const GlyphVertex c10 = glyphCorner(slot, 1, 0, deviceX, deviceY, z, color);
    const GlyphVertex c11 = glyphCorner(slot, 1, 1, deviceX, deviceY, z, color);
    const GlyphVertex c01 = glyphCorner(slot, 0, 1, deviceX, deviceY, z, color);
    batch.insert(batch.end(), {c00, c10, c11, c00, c11, c01});
}

void WebRenderer::drawMesh(int mesh, int first, int count, const MeshUniforms& state) {
    flush();
    if (gpu == GpuMade) {
        meshes.drawMesh(mesh, first, count, state);
    }
}

void WebRenderer::setViewport(int x, int y, int width, int height) {
    flush();
    viewport = {x, y, width, height};
    applyViewport();
}

void WebRenderer::setDrawingBuffer(int bufferWidth, int bufferHeight, int windowWidth,
                                   int windowHeight) {
    if (windowWidth <= 0 || windowHeight <= 0) {
        return;
    }
    const float x = static_cast<float>(bufferWidth) / static_cast<float>(windowWidth);
    const float y = static_cast<float>(bufferHeight) / static_cast<float>(windowHeight);
    if (x != scaleX || y != scaleY) {
        flush();
        scaleX = x;
        scaleY = y;
        applyViewport();
    }
}

void WebRenderer::applyViewport() {
    const float left = toDevice(viewport[0], scaleX);
    const float bottom = toDevice(viewport[1], scaleY);
    deviceViewport = {left, bottom, toDevice(viewport[0] + viewport[2], scaleX) - left,
                      toDevice(viewport[1] + viewport[3], scaleY) - bottom};
    emscripten_glViewport(
        static_cast<GLint>(deviceViewport[0]), static_cast<GLint>(deviceViewport[1]),
        static_cast<GLsizei>(deviceViewport[2]), static_cast<GLsizei>(deviceViewport[3]));
    meshes.setViewport(deviceViewport);
}

void WebRenderer::flush() {
    if (gpu != GpuMade) {
        batch.clear();
    }
    if (batch.empty()) {
        return;
    }
    meshes.deactivate();
    glUseProgram(program);
    useAttributes(GlyphAttributes);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (atlasChanged) {
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, AtlasWidth, AtlasHeight, 0, GL_LUMINANCE,
                     GL_UNSIGNED_BYTE, atlas.data());
        atlasChanged = false;
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batch.size() * sizeof(GlyphVertex)),
                 batch.data(), GL_STREAM_DRAW);
    const GLsizei stride = sizeof(GlyphVertex);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(GlyphVertex, clip)));
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(GlyphVertex, texel)));
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(GlyphVertex, color)));
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(batch.size()));
    batch.clear();
}
