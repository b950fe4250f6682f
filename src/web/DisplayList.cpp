#include "web/DisplayList.h"

#include <utility>

namespace {

void appendTriangle(const PrimitiveVertex& a, const PrimitiveVertex& b, const PrimitiveVertex& c,
                    std::vector<PrimitiveVertex>& out) {
    out.insert(out.end(), {a, b, c});
}

}  // namespace

void appendTriangles(GLenum mode, const std::vector<PrimitiveVertex>& v,
                     std::vector<PrimitiveVertex>& out) {
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

namespace {

enum State { ColorState, NormalState, StateCount };

// Walks a list's commands once, making its steps and its triangles. Colour
// and normal steps go only where something can see them: before a raster
// position or a bitmap, and at the end (settle).
class ListBuilder {
public:
    ListBuilder(const Vector4& color, const Vector4& normal) : current{color, normal} {}

    void add(const ListCommand& command) {
        switch (command.kind) {
        case ListCommand::Color:
            set(ColorState, command.values);
            break;
        case ListCommand::Normal:
            set(NormalState, command.values);
            break;
        case ListCommand::Begin:
            mode = static_cast<GLenum>(command.index);
            primitive.clear();
            break;
        case ListCommand::Vertex:
            vertex(command.values);
            break;
        case ListCommand::End:
            endPrimitive();
            break;
        case ListCommand::RasterPos:
        case ListCommand::Bitmap:
            settle();
            steps.push_back(
                {static_cast<ListStep::Kind>(command.kind), command.values, command.index, 0});
            break;
        }
    }

    void settle() {
        for (int i = 0; i < StateCount; ++i) {
            if (pending[i]) {
                steps.push_back(
                    {i == ColorState ? ListStep::Color : ListStep::Normal, current[i], 0, 0});
                pending[i] = false;
            }
        }
    }

    std::vector<ListStep> steps;
    std::vector<PrimitiveVertex> triangles;          // three vertices each
    bool takesCallers[StateCount] = {false, false};  // some vertex uses the caller's value

private:
    void set(State state, const Vector4& value) {
        current[state] = value;
        own[state] = pending[state] = true;
    }

    void vertex(const Vector4& position) {
        primitive.push_back({position, current[NormalState], current[ColorState]});
        for (int i = 0; i < StateCount; ++i) {
            takesCallers[i] = takesCallers[i] || !own[i];
        }
    }

    // The primitive's triangles join the run of triangles drawn last, if any.
    void endPrimitive() {
        const int first = static_cast<int>(triangles.size());
        appendTriangles(mode, primitive, triangles);
        const int added = static_cast<int>(triangles.size()) - first;
        if (!steps.empty() && steps.back().kind == ListStep::Draw) {
            steps.back().count += added;
        } else if (added > 0) {
            steps.push_back({ListStep::Draw, {}, first, added});
        }
    }

    Vector4 current[StateCount];
    bool own[StateCount] = {false, false};      // set by the list itself
    bool pending[StateCount] = {false, false};  // set since the last step that shows it
    GLenum mode = 0;
    std::vector<PrimitiveVertex> primitive;
};

}  // namespace

std::vector<PrimitiveVertex> DisplayList::build(const Vector4& color, const Vector4& normal) {
    ListBuilder builder(color, normal);
    for (const ListCommand& command : commands) {
        builder.add(command);
    }
    builder.settle();
    steps = std::move(builder.steps);
    takesColor = builder.takesCallers[ColorState];
    takesNormal = builder.takesCallers[NormalState];
    built = true;
    builtColor = color;
    builtNormal = normal;
    return std::move(builder.triangles);
}
