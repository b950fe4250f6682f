#include "web/DisplayList.h"

namespace {

void copy3(float* to, const Vector4& from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

void appendTriangle(const PrimitiveVertex& a, const PrimitiveVertex& b, const PrimitiveVertex& c,
                    std::vector<MeshCorner>& out) {
    const PrimitiveVertex* corners[3] = {&a, &b, &c};
    for (int k = 0; k < 3; ++k) {
        MeshCorner corner{};
        for (int i = 0; i < 3; ++i) {
            copy3(corner.corners[i], corners[i]->position);
        }
        corner.which = static_cast<float>(k);
        copy3(corner.normal, corners[k]->normal);
        copy3(corner.color, corners[k]->color);
        copy3(corner.provokingNormal, c.normal);
        copy3(corner.provokingColor, c.color);
        out.push_back(corner);
    }
}

}  // namespace

void appendTriangles(GLenum mode, const std::vector<PrimitiveVertex>& v,
                     std::vector<MeshCorner>& out) {
    const std::size_t n = v.size();
    switch (mode) {
    case GL_TRIANGLES:
        for (std::size_t i = 0; i + 2 < n; i += 3) {
            appendTriangle(v[i], v[i + 1], v[i + 2], out);
        }
        break;
    case GL_TRIANGLE_FAN:
        for (std::size_t i = 1; i + 1 < n; ++i) {
            appendTriangle(v[0], v[i], v[i + 1], out);
        }
        break;
    case GL_QUADS:
        for (std::size_t i = 0; i + 3 < n; i += 4) {
            appendTriangle(v[i], v[i + 1], v[i + 3], out);
            appendTriangle(v[i + 1], v[i + 2], v[i + 3], out);
        }
        break;
    case GL_QUAD_STRIP:
        for (std::size_t i = 0; i + 3 < n; i += 2) {
            appendTriangle(v[i], v[i + 1], v[i + 3], out);
            appendTriangle(v[i + 2], v[i], v[i + 3], out);
        }
        break;
    default:
        break;
    }
}

bool DisplayList::needsBuild(const Vector4& color, const Vector4& normal) const {
    return !built || (takesColor && color != builtColor) || (takesNormal && normal != builtNormal);
}

// Colour and normal steps go only where something can see them: before a
// raster position or a bitmap, and at the end.
std::vector<MeshCorner> DisplayList::build(const Vector4& color, const Vector4& normal) {
    std::vector<MeshCorner> corners;
    std::vector<PrimitiveVertex> primitive;
    steps.clear();
    takesColor = takesNormal = false;
    Vector4 current[2] = {color, normal};
    bool own[2] = {false, false};
    bool pending[2] = {false, false};
    const auto settle = [&] {
        for (int i = 0; i < 2; ++i) {
            if (pending[i]) {
                steps.push_back({i == 0 ? ListStep::Color : ListStep::Normal, current[i], 0, 0});
                pending[i] = false;
            }
        }
    };
    GLenum mode = 0;
    for (const ListCommand& command : commands) {
        switch (command.kind) {
        case ListCommand::Color:
        case ListCommand::Normal: {
            const int i = command.kind == ListCommand::Color ? 0 : 1;
            current[i] = command.values;
            own[i] = pending[i] = true;
            break;
        }
        case ListCommand::Begin:
            mode = static_cast<GLenum>(command.index);
            primitive.clear();
            break;
        case ListCommand::Vertex:
            primitive.push_back({command.values, current[1], current[0]});
            takesColor = takesColor || !own[0];
            takesNormal = takesNormal || !own[1];
            break;
        case ListCommand::End: {
            const int first = static_cast<int>(corners.size());
            appendTriangles(mode, primitive, corners);
            const int added = static_cast<int>(corners.size()) - first;
            if (!steps.empty() && steps.back().kind == ListStep::Draw) {
                steps.back().count += added;
            } else if (added > 0) {
                steps.push_back({ListStep::Draw, {}, first, added});
            }
            break;
        }
        case ListCommand::RasterPos:
        case ListCommand::Bitmap:
            settle();
            steps.push_back(
                {command.kind == ListCommand::RasterPos ? ListStep::RasterPos : ListStep::Bitmap,
                 command.values, command.index, 0});
            break;
        }
    }
    settle();
    built = true;
    builtColor = color;
    builtNormal = normal;
    return corners;
}
