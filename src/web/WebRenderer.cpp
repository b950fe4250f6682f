#include "web/WebRenderer.h"

#include <GLES2/gl2.h>

#include <cstddef>

// The plain names of these belong to the fixed-function calls (web/GlCalls.cpp).
extern "C" {
void emscripten_glPixelStorei(GLenum name, GLint value);
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

// A glyph texel without ink leaves its pixel untouched, as glBitmap does.
constexpr const char* FragmentShader = R"(
precision highp float;
uniform sampler2D atlas;
varying vec2 atlasTexel;
varying vec4 fragmentColor;
void main() {
    if (atlasTexel.x >= 0.0 && texture2D(atlas, atlasTexel).r < 0.5) {
        discard;
    }
    gl_FragColor = fragmentColor;
}
)";

GLuint compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

}  // namespace

WebRenderer::WebRenderer() : atlas(AtlasWidth * AtlasHeight, 0) {
    program = glCreateProgram();
    const GLuint vertex = compile(GL_VERTEX_SHADER, VertexShader);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, FragmentShader);
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    positionSlot = glGetAttribLocation(program, "position");
    texelSlot = glGetAttribLocation(program, "texel");
    colorSlot = glGetAttribLocation(program, "color");
    // The glyph atlas is the program's only texture, on unit 0 for good.
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "atlas"), 0);
    glGenBuffers(1, &buffer);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    atlasChanged = true;
}

WebRenderer::~WebRenderer() {
    glDeleteTextures(1, &texture);
    glDeleteBuffers(1, &buffer);
    glDeleteProgram(program);
}

void WebRenderer::addTriangle(const BatchVertex& a, const BatchVertex& b, const BatchVertex& c) {
    batch.push_back(a);
    batch.push_back(b);
    batch.push_back(c);
}

AtlasSlot WebRenderer::addGlyph(int width, int height, const std::vector<unsigned char>& coverage) {
    if (shelfX + width > AtlasWidth) {
        shelfX = 0;
        shelfY += shelfHeight;
        shelfHeight = 0;
    }
    if (width > AtlasWidth || shelfY + height > AtlasHeight) {
        return {0, 0, 0, 0};
    }
    const AtlasSlot slot{shelfX, shelfY, width, height};
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            atlas[(slot.y + row) * AtlasWidth + slot.x + column] = coverage[row * width + column];
        }
    }
    shelfX += width;
    shelfHeight = height > shelfHeight ? height : shelfHeight;
    atlasChanged = true;
    return slot;
}

BatchVertex WebRenderer::glyphCorner(const AtlasSlot& slot, int dx, int dy, int x, int y, float z,
                                     const unsigned char* color) const {
    const float px = static_cast<float>(x + dx * slot.width - viewport[0]);
    const float py = static_cast<float>(y + dy * slot.height - viewport[1]);
    return {{2.0f * px / viewport[2] - 1.0f, 2.0f * py / viewport[3] - 1.0f, 2.0f * z - 1.0f, 1.0f},
            {static_cast<float>(slot.x + dx * slot.width) / AtlasWidth,
             static_cast<float>(slot.y + dy * slot.height) / AtlasHeight},
            {color[0], color[1], color[2], color[3]}};
}

void WebRenderer::addGlyphQuad(const AtlasSlot& slot, int x, int y, float z,
                               const unsigned char* color) {
    if (slot.width == 0) {
        return;
    }
    const BatchVertex c00 = glyphCorner(slot, 0, 0, x, y, z, color);
    const BatchVertex c10 = glyphCorner(slot, 1, 0, x, y, z, color);
    const BatchVertex c11 = glyphCorner(slot, 1, 1, x, y, z, color);
    const BatchVertex c01 = glyphCorner(slot, 0, 1, x, y, z, color);
    addTriangle(c00, c10, c11);
    addTriangle(c00, c11, c01);
}

void WebRenderer::setViewport(int x, int y, int width, int height) {
    viewport[0] = x;
    viewport[1] = y;
    viewport[2] = width;
    viewport[3] = height;
}

void WebRenderer::flush() {
    if (batch.empty()) {
        return;
    }
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (atlasChanged) {
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, AtlasWidth, AtlasHeight, 0, GL_LUMINANCE,
                     GL_UNSIGNED_BYTE, atlas.data());
        atlasChanged = false;
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batch.size() * sizeof(BatchVertex)),
                 batch.data(), GL_STREAM_DRAW);
    const GLsizei stride = sizeof(BatchVertex);
    glEnableVertexAttribArray(positionSlot);
    glVertexAttribPointer(positionSlot, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(BatchVertex, clip)));
    glEnableVertexAttribArray(texelSlot);
    glVertexAttribPointer(texelSlot, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(BatchVertex, texel)));
    glEnableVertexAttribArray(colorSlot);
    glVertexAttribPointer(colorSlot, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(BatchVertex, color)));
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(batch.size()));
    batch.clear();
}
