#pragma once

#include <vector>

// One corner of a triangle as WebGL draws it: clip coordinates, a texel of
// the glyph atlas (negative x for none) and the final 8-bit colour.
struct BatchVertex {
    float clip[4];
    float texel[2];
    unsigned char color[4];
};

// Where a glyph's pixels lie in the atlas, in texels.
struct AtlasSlot {
    int x, y, width, height;
};

// Draws what the fixed-function calls produce with one WebGL program: lit,
// flat-shaded triangles and bitmap glyphs, collected in drawing order and
// sent as one draw call per flush. Needs the page's WebGL context, which
// SDL_SetVideoMode makes current; created by the first OpenGL call after it.
class WebRenderer {
public:
    static constexpr int AtlasWidth = 1024;  // texels
    static constexpr int AtlasHeight = 256;

    WebRenderer();  // compiles the program, makes the buffer and the atlas texture
    ~WebRenderer();
    WebRenderer(const WebRenderer&) = delete;
    WebRenderer& operator=(const WebRenderer&) = delete;

    void addTriangle(const BatchVertex& a, const BatchVertex& b, const BatchVertex& c);
    // Stores a glyph's coverage (width * height bytes, bottom row first, 0 or
    // 255) in the atlas; a slot of width 0 when the atlas is full.
    AtlasSlot addGlyph(int width, int height, const std::vector<unsigned char>& coverage);
    // Queues a glyph drawn over the window pixels [x, x + width) x [y, y +
    // height) at window depth z (0..1), in the given colour.
    void addGlyphQuad(const AtlasSlot& slot, int x, int y, float z, const unsigned char* color);
    void setViewport(int x, int y, int width, int height);  // window pixels
    void flush();                                           // draws everything queued, in order

private:
    BatchVertex glyphCorner(const AtlasSlot& slot, int dx, int dy, int x, int y, float z,
                            const unsigned char* color) const;

    std::vector<BatchVertex> batch;
    std::vector<unsigned char> atlas;  // AtlasWidth * AtlasHeight coverage bytes
    bool atlasChanged = false;
    int shelfX = 0, shelfY = 0, shelfHeight = 0;  // where the next glyph goes
    int viewport[4] = {0, 0, 1, 1};
    unsigned program = 0, buffer = 0, texture = 0;
    int positionSlot = 0, texelSlot = 0, colorSlot = 0;
};
