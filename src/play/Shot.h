#pragma once

#include <cstdint>

// One rising shot, fired from just below the bottom edge.
class Shot {
public:
    static constexpr float StartY = -1.1f;  // just below the bottom edge
    static constexpr float Rise = 0.1f;     // field units per step

    Shot(int color, float x);           // color is a BallColor; starts at (x, StartY)
    Shot(int color, float x, float y);  // anywhere: a seam for placing shots exactly
    void move();                        // y += speed

    float getX() const { return x; }
    float getY() const { return y; }
    bool isAlive() const { return alive; }

private:
    float x;  // anchor point: the dart's tip is 0.05 above it
    float y;

public:
    std::int32_t color;  // BallColor, read directly by the hit test

private:
    float speed = Rise;
    bool alive = true;  // nothing clears it: leaving play is removal from the set
};
