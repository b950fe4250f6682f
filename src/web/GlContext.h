#pragma once

#include "web/DisplayList.h"
#include "web/GlMath.h"
#include "web/Lighting.h"

#include <GL/gl.h>

#include <array>
#include <map>
#include <memory>
#include <vector>

class WebRenderer;

// A glyph of glBitmap: the renderer's number for its pixels, its origin and
// moves in pixels.
struct Glyph {
    int pixels;
    float originX, originY, moveX, moveY;
};

// A point light; positions are kept in eye coordinates, as OpenGL keeps them.
struct Light {
    bool enabled = false;
    Vector4 ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Vector4 diffuse{0.0f, 0.0f, 0.0f, 1.0f};
    Vector4 position{0.0f, 0.0f, 1.0f, 0.0f};
};

// The state of the OpenGL 1.1 subset the game calls: matrices, the current
// colour and normal, lights, flat or smooth shading, raster positions and
// bitmaps, display lists. Triangles go to the GPU with the state they need
// (WebRenderer); a raster position is lit here, once. A display list records
// glColor, glNormal, glBegin, glVertex, glEnd, glRasterPos and glBitmap; every
// other call takes effect at once, even while a list is being compiled. The
// game draws primitives only from lists: outside one, glBegin, glVertex and
// glEnd draw nothing. Main thread only.
class GlContext {
public:
    GlContext();  // makes its renderer: needs the page's WebGL context
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;
    void submit(const ListCommand& command);  // records it while compiling a list, else runs it

    void matrixMode(GLenum mode) { matrixTarget = mode; }  // GL_MODELVIEW or GL_PROJECTION
    void multiplyMatrix(const Matrix& m);                  // current matrix = current * m
    void loadIdentity();
    void pushMatrix();
    void popMatrix();

    void setEnabled(GLenum capability, bool enabled);
    void setShadeModel(GLenum model) { flatShading = model == GL_FLAT; }
    void setLight(GLenum light, GLenum name, const GLfloat* values);
    void setModelAmbient(const GLfloat* values);
    void setUnpackAlignment(int alignment) { unpackAlignment = alignment; }
    // Stores a bitmap (rows of width bits, MSB first, each row padded to the
    // unpack alignment) and returns its glyph number for a Bitmap command.
    int addBitmap(GLsizei width, GLsizei height, const GLubyte* bits,
                  const Vector4& originAndMoves);

    GLuint genLists(GLsizei range);  // first of range fresh names, 0 for a range below 1
    void newList(GLuint list);       // GL_COMPILE only
    void endList();
    void callList(GLuint list);  // an unknown list draws nothing
    void setListBase(GLuint base) { listBase = base; }
    GLuint getListBase() const { return listBase; }
    void pushListBase() { listBaseStack.push_back(listBase); }
    void popListBase();

    void viewport(GLint x, GLint y, GLsizei width, GLsizei height);
    WebRenderer& renderer() { return *output; }

private:
    // A step of a called list, or a call outside a list; mesh is the list's
    // (Draw steps only).
    void perform(const ListStep& step, int mesh);
    Matrix& currentMatrix();
    MeshUniforms uniforms() const;
    void rasterPos(const Vector4& object);
    void bitmap(const Glyph& glyph);

    std::unique_ptr<WebRenderer> output;
    std::vector<Matrix> modelView, projection;  // stacks, current on top
    GLenum matrixTarget = GL_MODELVIEW;
    Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
    Vector4 normal{0.0f, 0.0f, 1.0f, 0.0f};
    bool lighting = false, colorMaterial = false, flatShading = false;
    std::array<Light, MaxLights> lights;
    Vector4 modelAmbient{0.2f, 0.2f, 0.2f, 1.0f};
    int unpackAlignment = 4;
    bool rasterValid = true;
    float raster[3] = {0.0f, 0.0f, 0.0f};  // window x, y and depth
    unsigned char rasterColor[4] = {255, 255, 255, 255};
    int viewportBox[4] = {0, 0, 1, 1};
    std::vector<Glyph> glyphs;
    std::map<GLuint, DisplayList> lists;
    GLuint nextListName = 1;
    GLuint compiling = 0;  // the list being compiled, 0 for none
    GLuint listBase = 0;
    std::vector<GLuint> listBaseStack;
};
