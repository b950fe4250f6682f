#include "play/BallModels.h"

#include "play/Ball.h"
#include "play/BallColor.h"
#include "play/Shot.h"

namespace {

struct ModelColor {
    GLfloat r;
    GLfloat g;
    GLfloat b;
};

constexpr ModelColor RedModel{0.4f, 0.1f, 0.1f};
constexpr ModelColor BlueModel{0.1f, 0.1f, 0.5f};

constexpr GLsizei ModelCount = 4;
constexpr GLuint BallLists = 0;  // + BallColor
constexpr GLuint ShotLists = 2;  // + BallColor

// The dart: an arrowhead pointing up around the shot's anchor point, at the
// nearest depth of the view so that no ball ever hides a shot.
constexpr GLdouble DartDepth = -1.0;
constexpr GLdouble DartTip[] = {0.0, 0.05, DartDepth};
constexpr GLdouble DartRightBack[] = {0.02, -0.05, DartDepth};
constexpr GLdouble DartNotch[] = {0.0, -0.035, DartDepth};
constexpr GLdouble DartLeftBack[] = {-0.02, -0.05, DartDepth};

void compileBall(GLuint list, const ModelColor& color, GLUquadric* quadric) {
    glNewList(list, GL_COMPILE);
    glColor3f(color.r, color.g, color.b);
    gluSphere(quadric, BallModels::BallRadius, BallModels::SphereSlices, BallModels::SphereStacks);
    glEndList();
}

void compileDart(GLuint list, const ModelColor& color) {
    glNewList(list, GL_COMPILE);
    glColor3f(color.r, color.g, color.b);
    // The outline is concave, and OpenGL leaves the filling of a concave
    // quadrilateral open; two triangles fill it the same everywhere.
    glBegin(GL_TRIANGLES);
    glVertex3dv(DartTip);
    glVertex3dv(DartRightBack);
    glVertex3dv(DartNotch);
    glVertex3dv(DartTip);
    glVertex3dv(DartNotch);
    glVertex3dv(DartLeftBack);
    glEnd();
    glEndList();
}

}  // namespace

BallModels::~BallModels() {
    // The quadric is plain memory of GLU's; only the lists belong to the context.
    if (quadric != nullptr) {
        gluDeleteQuadric(quadric);
    }
}

void BallModels::buildModels() {
    quadric = gluNewQuadric();
    firstList = glGenLists(ModelCount);
    compileBall(firstList + BallLists + Red, RedModel, quadric);
    compileBall(firstList + BallLists + Blue, BlueModel, quadric);
    compileDart(firstList + ShotLists + Red, RedModel);
    compileDart(firstList + ShotLists + Blue, BlueModel);
}

void BallModels::drawBall(const Ball& ball) const {
    glPushMatrix();
    glTranslatef(ball.getX(), ball.getY(), 0.0f);
    glCallList(firstList + BallLists + static_cast<GLuint>(ball.getColor()));
    glPopMatrix();
}

void BallModels::drawShot(const Shot& shot) const {
    glPushMatrix();
    glTranslatef(shot.getX(), shot.getY(), 0.0f);
    glCallList(firstList + ShotLists + static_cast<GLuint>(shot.color));
    glPopMatrix();
}
