#pragma once

#include "web/GlMath.h"
#include "web/MeshRenderer.h"

#include <GL/gl.h>

#include <vector>

// One fixed-function call as a display list keeps it.
struct ListCommand {
    enum Kind { Color, Normal, Begin, Vertex, End, Bitmap, RasterPos };
    Kind kind;
    Vector4 values;  // colour, normal or position, by kind
    int index;       // primitive mode for Begin, glyph number for Bitmap
};

// A vertex as glVertex gives it: its object-space position, with the normal
// and colour current then.
struct PrimitiveVertex {
    Vector4 position, normal, color;
};

// Cuts one glBegin/glEnd primitive into triangles, appended to `out`, each
// with the vertex OpenGL names as provoking last: the last of each triangle,
// of each quad, of each triangle of a fan and of each quad of a quad strip.
// GL_TRIANGLES, GL_TRIANGLE_FAN, GL_QUADS and GL_QUAD_STRIP; others add nothing.
void appendTriangles(GLenum mode, const std::vector<PrimitiveVertex>& vertices,
                     std::vector<MeshCorner>& out);

// What a call of a built list does, in order. Its triangles draw in runs from
// one mesh; colour and normal steps leave the state as the list's own calls
// would, where text or the caller can see it.
struct ListStep {
    enum Kind { Draw, Color, Normal, RasterPos, Bitmap };
    Kind kind;
    Vector4 values;  // colour, normal or position, by kind
    int first;       // Draw: the run's first corner in the mesh; Bitmap: the glyph number
    int count;       // Draw: the run's corners
};

// A display list: its recorded commands, and the steps and triangles they
// build. Vertices before the list's own glColor or glNormal take the colour or
// normal current when it is called, so the list is built again when those
// change. Main thread only.
class DisplayList {
public:
    void record(const ListCommand& command) { commands.push_back(command); }
    // Whether build must run before a call with this colour and normal current.
    bool needsBuild(const Vector4& color, const Vector4& normal) const;
    // Makes the steps; returns the list's triangles for its mesh.
    std::vector<MeshCorner> build(const Vector4& color, const Vector4& normal);
    const std::vector<ListStep>& getSteps() const { return steps; }

    int mesh = -1;  // the renderer's mesh of its triangles; -1 for none yet

private:
    std::vector<ListCommand> commands;
    std::vector<ListStep> steps;
    bool built = false;
    bool takesColor = false, takesNormal = false;  // some vertex uses the caller's
    Vector4 builtColor{}, builtNormal{};           // the caller's, when last built
};
