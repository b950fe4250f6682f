#pragma once

#include "web/GlMath.h"
#include "web/PrimitiveVertex.h"

#include <GL/gl.h>

#include <vector>

// What a call of a built list does, in order. Its triangles draw in runs from
// one mesh; colour and normal steps leave the state as the list's own calls
// would, where text or the caller can see it.
struct ListStep {
    enum Kind { Color, Normal, RasterPos, Bitmap, Draw };
    Kind kind;
    Vector4 values;  // colour, normal or position, by kind
    int first;       // Draw: the run's first vertex in the mesh; Bitmap: the glyph number
    int count;       // Draw: the run's vertices, three a triangle
};

// One fixed-function call as a display list keeps it. The kinds up to Bitmap
// are steps as they are, and a call outside a list runs as that step.
struct ListCommand {
    enum Kind {
        Color = ListStep::Color,
        Normal = ListStep::Normal,
        RasterPos = ListStep::RasterPos,
        Bitmap = ListStep::Bitmap,
        Begin,
        Vertex,
        End
    };
    Kind kind;
    Vector4 values;  // colour, normal or position, by kind
    int index;       // primitive mode for Begin, glyph number for Bitmap
};

// Cuts one glBegin/glEnd primitive into triangles, appended to `out` three
// vertices each, with the vertex OpenGL names as provoking last: the last of
// each triangle, of each quad, of each triangle of a fan and of each quad of
// a quad strip. GL_TRIANGLES, GL_TRIANGLE_FAN, GL_QUADS and GL_QUAD_STRIP;
// others add nothing.
void appendTriangles(GLenum mode, const std::vector<PrimitiveVertex>& vertices,
                     std::vector<PrimitiveVertex>& out);

// A display list: its recorded commands, and the steps and triangles they
// build. Vertices before the list's own glColor or glNormal take the colour or
// normal current when it is called, so the list is built again when those
// change. Main thread only.
class DisplayList {
public:
    void record(const ListCommand& command) { commands.push_back(command); }
    // Whether build must run before a call with this colour and normal current.
    bool needsBuild(const Vector4& color, const Vector4& normal) const;
    // Makes the steps; returns the list's triangles for its mesh (appendTriangles).
    std::vector<PrimitiveVertex> build(const Vector4& color, const Vector4& normal);
    const std::vector<ListStep>& getSteps() const { return steps; }

    int mesh = -1;  // the renderer's mesh of its triangles; -1 for none yet

private:
    std::vector<ListCommand> commands;
    std::vector<ListStep> steps;
    bool built = false;
    bool takesColor = false, takesNormal = false;  // some vertex uses the caller's
    Vector4 builtColor{}, builtNormal{};           // the caller's, when last built
};
