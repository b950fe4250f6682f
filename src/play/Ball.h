#pragma once

#include <cstdint>

// One falling ball. Positions and speeds are field units (the window spans -1..1).
class Ball {
public:
    Ball(float speed, float x, float y, int color);  // color is a BallColor
    void fall(float factor);  // y -= speed * factor, in double precision, stored as float

    int getColor() const { return color; }
    float getX() const { return x; }
    float getY() const { return y; }
    bool isAlive() const { return alive; }

private:
    std::uint8_t color;  // BallColor
    float x;             // centre
    float y;
    float speed;        // field units per second at the level loop's fall factor
    bool alive = true;  // nothing clears it: leaving play is removal from the set
};
