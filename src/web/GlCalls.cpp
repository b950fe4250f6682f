// The OpenGL 1.1 and GLU calls the game makes, under their own names, over
// WebGL 1 (web/GlContext.h), and the swap that shows each frame. They take
// the place of Emscripten's versions of these names at link time.
#include "web/GlContext.h"
#include "web/GpuContext.h"
#include "web/SphereMesh.h"
#include "web/WebRenderer.h"

#include <GL/glu.h>
#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <memory>

// The WebGL call behind a name this file takes over.
extern "C" void emscripten_glClear(GLbitfield mask);

// Emscripten's own, which webSetVideoMode stands in front of (web/sdl/SDL.h).
#undef SDL_SetVideoMode

// The game's quadrics keep GLU's defaults, so a quadric holds nothing.
class GLUquadric {};

namespace {

// OpenGL's calls act on one implicit current context. This is its state,
// made by SDL_SetVideoMode (webSetVideoMode) once it has the WebGL context.
std::unique_ptr<GlContext> current;

// The window's pixels fill the canvas's drawing buffer, whatever size the
// page gives it (say, the device's pixels); taken before every frame.
void fitDrawingBuffer(GlContext& gl) {
    int width = 0;
    int height = 0;
    emscripten_webgl_get_drawing_buffer_size(emscripten_webgl_get_current_context(), &width,
                                             &height);
    const SDL_Surface* window = SDL_GetVideoSurface();
    if (window != nullptr) {
        gl.renderer().setDrawingBuffer(width, height, window->w, window->h);
    }
}

GlContext& context() {
    if (!current) {
        current = std::make_unique<GlContext>();
        fitDrawingBuffer(*current);
    }
    return *current;
}

// The page learns which screen shows from the texts of each frame
// (Module.frameTexts, web/touch.js): the first 60 bytes of each, as many
// glyphs as a line of the field holds.
EM_JS(void, textDrawn, (const GLubyte* bytes, GLsizei length), {
    if (!Module.drawnTexts)
        Module.drawnTexts = Array.of();
    Module.drawnTexts.push(
        String.fromCharCode.apply(null, HEAPU8.subarray(bytes, bytes + Math.min(length, 60))));
});

EM_JS(void, frameShown, (), {
    Module.frameTexts = Module.drawnTexts || Array.of();
    Module.drawnTexts = Array.of();
    if (Module.onFrame)
        Module.onFrame();
});

// Suspends the game until the browser's next display frame, when the page
// shows what was drawn and has delivered the input that came meanwhile.
EM_JS(void, waitForDisplay, (), {
    Asyncify.handleSleep(function(wakeUp) { requestAnimationFrame(function() { wakeUp(); }); });
});

void submit(ListCommand::Kind kind, float x = 0.0f, float y = 0.0f, float z = 0.0f, float w = 1.0f,
            int index = 0) {
    context().submit({kind, {x, y, z, w}, index});
}

}  // namespace

void glMatrixMode(GLenum mode) {
    context().matrixMode(mode);
}

void glLoadIdentity() {
    context().loadIdentity();
}

void glPushMatrix() {
    context().pushMatrix();
}

void glPopMatrix() {
    context().popMatrix();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    context().multiplyMatrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearVal,
             GLdouble farVal) {
    const auto f = [](double v) { return static_cast<float>(v); };
    context().multiplyMatrix({f(2 / (right - left)), 0, 0, 0, 0, f(2 / (top - bottom)), 0, 0, 0, 0,
                              f(-2 / (farVal - nearVal)), 0, f(-(right + left) / (right - left)),
                              f(-(top + bottom) / (top - bottom)),
                              f(-(farVal + nearVal) / (farVal - nearVal)), 1});
}

void glEnable(GLenum capability) {
    if (capability == GL_DEPTH_TEST) {
        context().renderer().setDepthTest(true);
    }
    context().setEnabled(capability, true);
}

void glDisable(GLenum capability) {
    if (capability == GL_DEPTH_TEST) {
        context().renderer().setDepthTest(false);
    }
    context().setEnabled(capability, false);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    context().renderer().setClearColor({r, g, b, a});
}

void glClear(GLbitfield mask) {
    context().renderer().flush();
    emscripten_glClear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    context().viewport(x, y, width, height);
}

void glShadeModel(GLenum model) {
    context().setShadeModel(model);
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    context().setLight(light, name, values);
}

void glLightModelfv(GLenum name, const GLfloat* values) {
    if (name == GL_LIGHT_MODEL_AMBIENT) {
        context().setModelAmbient(values);
    }
}

// Colour material for ambient and diffuse is the only kind the game asks for,
// and its material's specular colour stays black, so the shininess does nothing.
void glColorMaterial(GLenum, GLenum) {}
void glMaterialf(GLenum, GLenum, GLfloat) {}

void glPixelStorei(GLenum name, GLint value) {
    if (name == GL_UNPACK_ALIGNMENT) {
        context().setUnpackAlignment(value);
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
    const int glyph = context().addBitmap(width, height, bitmap, {xorig, yorig, xmove, ymove});
    submit(ListCommand::Bitmap, 0.0f, 0.0f, 0.0f, 1.0f, glyph);
}

GLuint glGenLists(GLsizei range) {
    return context().genLists(range);
}

void glNewList(GLuint list, GLenum) {
    context().newList(list);
}

void glEndList() {
    context().endList();
}

void glCallList(GLuint list) {
    context().callList(list);
}

void glListBase(GLuint base) {
    context().setListBase(base);
}

// Names of one byte each, the only kind the game's texts use.
void glCallLists(GLsizei n, GLenum type, const GLvoid* names) {
    if (type != GL_UNSIGNED_BYTE) {
        return;
    }
    const GLubyte* bytes = static_cast<const GLubyte*>(names);
    textDrawn(bytes, n);
    for (GLsizei i = 0; i < n; ++i) {
        context().callList(context().getListBase() + bytes[i]);
    }
}

// The list base is the only state the game saves and restores.
void glPushAttrib(GLbitfield) {
    context().pushListBase();
}

void glPopAttrib() {
    context().popListBase();
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

// Draws what the frame queued and waits for the display, as the desktop's
// swap does with the swap control the game asks for: the screen loops run at
// the display's rate. The page counts frames and may look at each one
// (web/index.html).
void SDL_GL_SwapBuffers() {
    context().renderer().flush();
    frameShown();
    waitForDisplay();
    fitDrawingBuffer(context());
    context().renderer().renew();
}

// The window, once the page is found able to draw it: WebGL there, and every
// program linked. Where it is not, the page says why, and the game, which
// cannot go on without a window, ends.
SDL_Surface* webSetVideoMode(int width, int height, int bitsPerPixel, Uint32 flags) {
    SDL_Surface* window = SDL_SetVideoMode(width, height, bitsPerPixel, flags);
    if (window != nullptr && emscripten_webgl_get_current_context() == 0) {
        sayCannotDraw(NoWebGl);
        return nullptr;
    }
    if (window != nullptr && context().renderer().made() == GpuFailed) {
        sayCannotDraw(NoPrograms);
        return nullptr;
    }
    watchGpuContext();
    return window;
}
