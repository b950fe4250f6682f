// The OpenGL 1.1 and GLU calls the game makes, under their own names, over
// WebGL 1 (src/web/GlContext.h), on the current context (CurrentContext.h).
// They take the place of Emscripten's versions of these names at link time.
#include "web/CurrentContext.h"
#include "web/SphereMesh.h"
#include "web/WebRenderer.h"

#include <GL/glu.h>

extern "C" {
// The WebGL call behind a name this file takes over.
void emscripten_glClear(GLbitfield mask);
// Hands a text drawn this frame to the page (src/web/library.js), which learns
// from the frame's texts which screen shows (Module.frameTexts, web/touch.js).
void textDrawn(const GLubyte* bytes, GLsizei length);
}

// The game's quadrics keep GLU's defaults, so a quadric holds nothing.
class GLUquadric {};

namespace {

void submit(ListCommand::Kind kind, float x = 0.0f, float y = 0.0f, float z = 0.0f, float w = 1.0f,
            int index = 0) {
    currentContext().submit({kind, {x, y, z, w}, index});
}

}  // namespace

void glMatrixMode(GLenum mode) {
    currentContext().matrixMode(mode);
}

void glLoadIdentity() {
    currentContext().loadIdentity();
}

void glPushMatrix() {
    currentContext().pushMatrix();
}

void glPopMatrix() {
    currentContext().popMatrix();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    currentContext().multiplyMatrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearVal,
             GLdouble farVal) {
    const auto f = [](double v) { return static_cast<float>(v); };
    currentContext().multiplyMatrix(
        {f(2 / (right - left)), 0, 0, 0, 0, f(2 / (top - bottom)), 0, 0, 0, 0,
         f(-2 / (farVal - nearVal)), 0, f(-(right + left) / (right - left)),
         f(-(top + bottom) / (top - bottom)), f(-(farVal + nearVal) / (farVal - nearVal)), 1});
}

void glEnable(GLenum capability) {
    if (capability == GL_DEPTH_TEST) {
        currentContext().renderer().setDepthTest(true);
    }
    currentContext().setEnabled(capability, true);
}

void glDisable(GLenum capability) {
    if (capability == GL_DEPTH_TEST) {
        currentContext().renderer().setDepthTest(false);
    }
    currentContext().setEnabled(capability, false);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    currentContext().renderer().setClearColor({r, g, b, a});
}

void glClear(GLbitfield mask) {
    currentContext().renderer().flush();
    emscripten_glClear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    currentContext().viewport(x, y, width, height);
}

void glShadeModel(GLenum model) {
    currentContext().setShadeModel(model);
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    currentContext().setLight(light, name, values);
}

void glLightModelfv(GLenum name, const GLfloat* values) {
    if (name == GL_LIGHT_MODEL_AMBIENT) {
        currentContext().setModelAmbient(values);
    }
}

// Colour material for ambient and diffuse is the only kind the game asks for,
// and its material's specular colour stays black, so the shininess does nothing.
void glColorMaterial(GLenum, GLenum) {}
void glMaterialf(GLenum, GLenum, GLfloat) {}

void glPixelStorei(GLenum name, GLint value) {
    if (name == GL_UNPACK_ALIGNMENT) {
        currentContext().setUnpackAlignment(value);
    }
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    submit(ListCommand::Color, r, g, b);
}

void glColor3fv(const GLfloat* rgb) {
    submit(ListCommand::Color, rgb[0], rgb[1], rgb[2]);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    submit(ListCommand::Normal, x, y, z, 0.0f);
}

void glBegin(GLenum mode) {
    submit(ListCommand::Begin, 0.0f, 0.0f, 0.0f, 1.0f, static_cast<int>(mode));
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    submit(ListCommand::Vertex, x, y, z);
}

void glVertex3dv(const GLdouble* v) {
    submit(ListCommand::Vertex, static_cast<float>(v[0]), static_cast<float>(v[1]),
           static_cast<float>(v[2]));
}

void glEnd() {
    submit(ListCommand::End);
}

void glRasterPos2f(GLfloat x, GLfloat y) {
    submit(ListCommand::RasterPos, x, y);
}

void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
              GLfloat ymove, const GLubyte* bitmap) {
    const int glyph =
        currentContext().addBitmap(width, height, bitmap, {xorig, yorig, xmove, ymove});
    submit(ListCommand::Bitmap, 0.0f, 0.0f, 0.0f, 1.0f, glyph);
}

GLuint glGenLists(GLsizei range) {
    return currentContext().genLists(range);
}

void glNewList(GLuint list, GLenum) {
    currentContext().newList(list);
}

void glEndList() {
    currentContext().endList();
}

void glCallList(GLuint list) {
    currentContext().callList(list);
}

void glListBase(GLuint base) {
    currentContext().setListBase(base);
}

// Names of one byte each, the only kind the game's texts use.
void glCallLists(GLsizei n, GLenum type, const GLvoid* names) {
    if (type != GL_UNSIGNED_BYTE) {
        return;
    }
    const GLubyte* bytes = static_cast<const GLubyte*>(names);
    textDrawn(bytes, n);
    for (GLsizei i = 0; i < n; ++i) {
        currentContext().callList(currentContext().getListBase() + bytes[i]);
    }
}

// The list base is the only state the game saves and restores.
void glPushAttrib(GLbitfield) {
    currentContext().pushListBase();
}

void glPopAttrib() {
    currentContext().popListBase();
}

GLUquadric* gluNewQuadric() {
    return new GLUquadric;
}

void gluDeleteQuadric(GLUquadric* quadric) {
    delete quadric;
}

void gluSphere(GLUquadric*, GLdouble radius, GLint slices, GLint stacks) {
    for (const MeshPrimitive& primitive : sphereMesh(radius, slices, stacks)) {
        glBegin(primitive.mode);
        for (const MeshVertex& v : primitive.vertices) {
            glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
            glVertex3f(v.position[0], v.position[1], v.position[2]);
        }
        glEnd();
    }
}
