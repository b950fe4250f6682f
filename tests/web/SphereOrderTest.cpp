// The browser build draws GLU's sphere from its own mesh (src/web/SphereMesh).
// OpenGL's feedback mode returns every vertex the desktop GLU sends, with its
// lit colour, which depends on its normal: the mesh sent through the same
// calls must return exactly the same numbers in the same order.
#include "support/TestSupport.h"
#include "web/SphereMesh.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr GLsizei FeedbackCapacity = 1 << 20;

std::vector<GLfloat> feedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(FeedbackCapacity);
    glFeedbackBuffer(FeedbackCapacity, GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    buffer.resize(used < 0 ? 0 : static_cast<std::size_t>(used));
    return buffer;
}

void drawMesh(double radius, int slices, int stacks) {
    for (const MeshPrimitive& primitive : sphereMesh(radius, slices, stacks)) {
        glBegin(primitive.mode);
        for (const MeshVertex& v : primitive.vertices) {
            glNormal3fv(v.normal);
            glVertex3fv(v.position);
        }
        glEnd();
    }
}

struct SphereCase {
    double radius;
    int slices;
    int stacks;
};

}  // namespace

// The game's balls, and shapes where a wrong index or pole would show at once.
TEST(SphereMesh, SendsTheVerticesAndNormalsOfTheDesktopGluInItsOrder) {
    testGame();
    glShadeModel(GL_SMOOTH);  // every vertex keeps the colour of its own normal
    glColor3f(0.4f, 0.1f, 0.1f);
    GLUquadric* quadric = gluNewQuadric();
    for (const SphereCase& c : {SphereCase{0.1, 36, 36}, {0.5, 8, 5}, {0.9, 3, 3}}) {
        const std::vector<GLfloat> desktop =
            feedback([&] { gluSphere(quadric, c.radius, c.slices, c.stacks); });
        const std::vector<GLfloat> mesh = feedback([&] { drawMesh(c.radius, c.slices, c.stacks); });
        ASSERT_FALSE(desktop.empty()) << c.slices;
        EXPECT_EQ(mesh, desktop) << "radius " << c.radius << ", " << c.slices << " x " << c.stacks;
    }
    gluDeleteQuadric(quadric);
    glShadeModel(GL_FLAT);
}
