#include "web/GlContext.h"

#include "web/GlMath.h"
#include "web/WebRenderer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Matrix Identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
// The bitmap's corner is the raster position minus its origin, rounded down
// after this nudge, as the desktop's Mesa does, so that a raster position a
// rounding error below a pixel edge still starts at that pixel.
constexpr float BitmapNudge = 0.0001f;
constexpr int BitsPerByte = 8;
constexpr unsigned char Ink = 255;

}  // namespace

GlContext::GlContext()
    : output(std::make_unique<WebRenderer>()), modelView{Identity}, projection{Identity} {
    // OpenGL's defaults for light 0; the others start dark.
    lights[0].diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
}

GlContext::~GlContext() = default;

void GlContext::submit(const ListCommand& command) {
    if (compiling != 0) {
        lists[compiling].record(command);
    } else if (command.kind < ListCommand::Begin) {
        // The game draws primitives only from display lists: outside one, a
        // primitive's parts draw nothing.
        perform({static_cast<ListStep::Kind>(command.kind), command.values, command.index, 0}, -1);
    }
}

void GlContext::perform(const ListStep& step, int mesh) {
    switch (step.kind) {
    case ListStep::Draw:
        output->drawMesh(mesh, step.first, step.count, uniforms());
        break;
    case ListStep::Color:
        color = step.values;
        break;
    case ListStep::Normal:
        normal = step.values;
        break;
    case ListStep::RasterPos:
        rasterPos(step.values);
        break;
    case ListStep::Bitmap:
        bitmap(glyphs[static_cast<std::size_t>(step.first)]);
        break;
    }
}

Matrix& GlContext::currentMatrix() {
    return matrixTarget == GL_PROJECTION ? projection.back() : modelView.back();
}

void GlContext::multiplyMatrix(const Matrix& m) {
    currentMatrix() = product(currentMatrix(), m);
}

void GlContext::loadIdentity() {
    currentMatrix() = Identity;
}

void GlContext::pushMatrix() {
    std::vector<Matrix>& stack = matrixTarget == GL_PROJECTION ? projection : modelView;
    stack.push_back(stack.back());
}

void GlContext::popMatrix() {
    std::vector<Matrix>& stack = matrixTarget == GL_PROJECTION ? projection : modelView;
    if (stack.size() > 1) {
        stack.pop_back();
    }
}

void GlContext::setEnabled(GLenum capability, bool enabled) {
    if (capability == GL_LIGHTING) {
        lighting = enabled;
    } else if (capability == GL_COLOR_MATERIAL) {
        colorMaterial = enabled;
    } else if (capability >= GL_LIGHT0 && capability < GL_LIGHT0 + MaxLights) {
        lights[capability - GL_LIGHT0].enabled = enabled;
    }
}

void GlContext::setLight(GLenum light, GLenum name, const GLfloat* values) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + MaxLights) {
        return;
    }
    Light& l = lights[light - GL_LIGHT0];
    const Vector4 v{values[0], values[1], values[2], values[3]};
    if (name == GL_AMBIENT) {
        l.ambient = v;
    } else if (name == GL_DIFFUSE) {
        l.diffuse = v;
    } else if (name == GL_POSITION) {
        l.position = transform(modelView.back(), v);
    }
}

void GlContext::setModelAmbient(const GLfloat* values) {
    modelAmbient = {values[0], values[1], values[2], values[3]};
}

MeshUniforms GlContext::uniforms() const {
    MeshUniforms u;
    u.modelView = modelView.back();
    u.modelViewProjection = product(projection.back(), modelView.back());
    u.normals = normalMatrix(modelView.back());
    u.flatShading = flatShading;
    u.colorMaterial = colorMaterial || !lighting;
    u.sceneAmbient = lighting ? modelAmbient : Vector4{1.0f, 1.0f, 1.0f, 1.0f};
    for (const Light& light : lights) {
        if (!lighting || !light.enabled) {
            continue;
        }
        const auto i = static_cast<std::size_t>(u.lightCount++);
        const Vector4& p = light.position;
        u.lightPosition[i] =
            p[3] != 0.0f ? Vector4{p[0] / p[3], p[1] / p[3], p[2] / p[3], 1.0f} : p;
        u.lightDiffuse[i] = light.diffuse;
        for (int k = 0; k < 3; ++k) {
            u.sceneAmbient[k] += light.ambient[k];
        }
    }
    return u;
}

void GlContext::rasterPos(const Vector4& object) {
    const Vector4 eye = transform(modelView.back(), object);
    const Vector4 clip = transform(projection.back(), eye);
    rasterValid = true;
    for (int i = 0; i < 3; ++i) {
        rasterValid = rasterValid && -clip[3] <= clip[i] && clip[i] <= clip[3];
    }
    if (!rasterValid) {
        return;
    }
    const float halfWidth = static_cast<float>(viewportBox[2]) / 2.0f;
    const float halfHeight = static_cast<float>(viewportBox[3]) / 2.0f;
    raster[0] = clip[0] / clip[3] * halfWidth + (static_cast<float>(viewportBox[0]) + halfWidth);
    raster[1] = clip[1] / clip[3] * halfHeight + (static_cast<float>(viewportBox[1]) + halfHeight);
    raster[2] = clip[2] / clip[3] * 0.5f + 0.5f;
    const Vector4 c = litColor(uniforms(), color, normal, eye);
    for (int i = 0; i < 4; ++i) {
        rasterColor[i] = nearestByte(c[i]);
    }
}

int GlContext::addBitmap(GLsizei width, GLsizei height, const GLubyte* bits,
                         const Vector4& originAndMoves) {
    const int rowBytes =
        (width + BitsPerByte - 1) / BitsPerByte + unpackAlignment - 1 -
        ((width + BitsPerByte - 1) / BitsPerByte + unpackAlignment - 1) % unpackAlignment;
    std::vector<unsigned char> coverage(static_cast<std::size_t>(width * height), 0);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const GLubyte byte = bits[row * rowBytes + column / BitsPerByte];
            const bool set = (byte >> (BitsPerByte - 1 - column % BitsPerByte)) & 1;
            coverage[static_cast<std::size_t>(row * width + column)] = set ? Ink : 0;
        }
    }
    glyphs.push_back({output->addGlyph(width, height, coverage), originAndMoves[0],
                      originAndMoves[1], originAndMoves[2], originAndMoves[3]});
    return static_cast<int>(glyphs.size()) - 1;
}

void GlContext::bitmap(const Glyph& glyph) {
    if (!rasterValid) {
        return;
    }
    const int x = static_cast<int>(std::floor(raster[0] + BitmapNudge - glyph.originX));
    const int y = static_cast<int>(std::floor(raster[1] + BitmapNudge - glyph.originY));
    output->addGlyphQuad(glyph.pixels, x, y, raster[2], rasterColor);
    raster[0] += glyph.moveX;
    raster[1] += glyph.moveY;
}

GLuint GlContext::genLists(GLsizei range) {
    if (range < 1) {
        return 0;
    }
    const GLuint first = nextListName;
    nextListName += static_cast<GLuint>(range);
    return first;
}

void GlContext::newList(GLuint list) {
    compiling = list;
    lists[list] = DisplayList();
}

void GlContext::endList() {
    compiling = 0;
}

void GlContext::callList(GLuint list) {
    const auto found = lists.find(list);
    if (found == lists.end()) {
        return;
    }
    DisplayList& called = found->second;
    if (called.needsBuild(color, normal)) {
        const std::vector<PrimitiveVertex> triangles = called.build(color, normal);
        if (called.mesh >= 0) {
            output->replaceMesh(called.mesh, triangles);
        } else if (!triangles.empty()) {
            called.mesh = output->addMesh(triangles);
        }
    }
    for (const ListStep& step : called.getSteps()) {
        perform(step, called.mesh);
    }
}

void GlContext::popListBase() {
    if (!listBaseStack.empty()) {
        listBase = listBaseStack.back();
        listBaseStack.pop_back();
    }
}

void GlContext::viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    viewportBox[0] = x;
    viewportBox[1] = y;
    viewportBox[2] = width;
    viewportBox[3] = height;
    output->setViewport(x, y, width, height);
}
