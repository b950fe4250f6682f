#pragma once

#include "web/GpuContext.h"
#include "web/MeshRenderer.h"

#include <array>
#include <vector>

// One corner of a glyph's quad as WebGL draws it: clip coordinates, a texel
// of the glyph atlas (0..1) and the final 8-bit colour.
struct GlyphVertex {
    float clip[4];
    float texel[2];
    unsigned char color[4];
};

// Where a glyph's pixels lie in the atlas, in texels.
struct AtlasSlot {
    int x, y, width, height;
};

// Draws what the fixed-function calls produce, in their order: triangles
// through a MeshRenderer, and bitmap glyphs, collected and sent as one draw
// call per flush. The calls place things in window pixels (the size the
// window was asked for); the canvas's drawing buffer may be of another size,
// and the window fills it: triangles are drawn at the buffer's resolution,
// glyphs in whole device pixels, each texel on the device pixels whose
// centres fall in its square. Needs the page's WebGL context, which
// SDL_SetVideoMode makes current; created by SDL_SetVideoMode right after.
// Keeps on the CPU all it sends, so that a lost context, once back, gets it
// all again.
class WebRenderer {
public:
    static constexpr int AtlasWidth = 1024;  // texels
    static constexpr int AtlasHeight = 256;

    WebRenderer();  // makes the programs, the buffers and the atlas texture: see made()
    ~WebRenderer();
    WebRenderer(const WebRenderer&) = delete;
    WebRenderer& operator=(const WebRenderer&) = delete;

    // Stores a glyph's coverage (width * height bytes, bottom row first, 0 or
    // 255) in the atlas; returns its number for addGlyphQuad. A glyph of no
    // pixels, or one the full atlas has no room for, draws nothing.
    int addGlyph(int width, int height, const std::vector<unsigned char>& coverage);
    // Queues a glyph drawn over the window pixels [x, x + width) x [y, y +
    // height) at window depth z (0..1), in the given colour.
    void addGlyphQuad(int glyph, int x, int y, float z, const unsigned char* color);

    // Triangles, drawn at once after what is queued (MeshRenderer).
    int addMesh(const std::vector<PrimitiveVertex>& triangles) { return meshes.addMesh(triangles); }
    void replaceMesh(int mesh, const std::vector<PrimitiveVertex>& triangles) {
        meshes.replaceMesh(mesh, triangles);
    }
    void drawMesh(int mesh, int first, int count, const MeshUniforms& state);

    // How making the GPU objects last ended, a GpuObjects value: anything
    // but GpuMade draws nothing.
    int made() const { return gpu; }
    // Makes everything on the GPU again when the context has come back since
    // the last call, or when it was lost at the start; the swap calls it each
    // frame. A failure is said on the page and never tried again.
    void renew();

    void setViewport(int x, int y, int width, int height);  // window pixels
    void setDepthTest(bool on);
    void setClearColor(const Vector4& color);  // each channel 0..1
    // The drawing buffer's size and the window's, in their own pixels; the
    // swap tells it before each frame.
    void setDrawingBuffer(int bufferWidth, int bufferHeight, int windowWidth, int windowHeight);
    void flush();  // draws the queued glyphs

private:
    GlyphVertex glyphCorner(const AtlasSlot& slot, int dx, int dy, float x, float y, float z,
                            const unsigned char* color) const;
    int make();  // a GpuObjects value
    void applyViewport();

    MeshRenderer meshes;
    std::vector<GlyphVertex> batch;
    std::vector<unsigned char> atlas;  // AtlasWidth * AtlasHeight coverage bytes
    std::vector<AtlasSlot> glyphs;     // by glyph number
    bool atlasChanged = false;
    int shelfX = 0, shelfY = 0, shelfHeight = 0;  // where the next glyph goes
    std::array<int, 4> viewport{0, 0, 1, 1};      // window pixels
    std::array<float, 4> deviceViewport{0.0f, 0.0f, 1.0f, 1.0f};
    float scaleX = 1.0f, scaleY = 1.0f;  // device pixels per window pixel
    bool depthTest = false;
    Vector4 clearColor{0.0f, 0.0f, 0.0f, 0.0f};  // as WebGL gets it
    unsigned program = 0, buffer = 0, texture = 0;
    int gpu = GpuWaiting;  // a GpuObjects value
    int restoresSeen = 0;  // of gpuRestores
};
