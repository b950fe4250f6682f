#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

class Ball;
class Shot;

// The four display lists every ball and shot is drawn from: red and blue
// spheres, red and blue darts. Needs a current OpenGL context; the lists live
// as long as the context, the quadric as long as this object.
class BallModels {
public:
    static constexpr float BallRadius = 0.1f;
    static constexpr int SphereSlices = 36;
    static constexpr int SphereStacks = 36;

    BallModels() = default;
    ~BallModels();  // frees the quadric; the display lists stay with the context
    BallModels(const BallModels&) = delete;
    BallModels& operator=(const BallModels&) = delete;

    void buildModels();                     // once, with the context current
    void drawBall(const Ball& ball) const;  // at the ball's field position, depth 0
    void drawShot(const Shot& shot) const;  // dart at depth -1, in front of every ball

private:
    GLUquadric* quadric = nullptr;  // default settings, used for both spheres
    GLuint firstList = 0;           // red ball, blue ball, red dart, blue dart
};
