#pragma once

#include "Image.h"

#include <vector>

// A falling ball as it shows in a screenshot: the lit sphere's pixels of one
// colour family, connected.
struct BallSpot {
    bool blue;    // blue family (b clearly above r), else red family (r clearly above b)
    int centerX;  // window pixels from the left
    int top;      // topmost pixel row, from the top
    int bottom;   // bottommost pixel row
    int area;     // pixels
};

// The balls in a screenshot of play, lowest on screen first. Shots (small
// darts) and text are not balls.
std::vector<BallSpot> findBalls(const Image& image);

// True when no pixel of a ball or a shot lies in the columns centerX -
// halfWidth to centerX + halfWidth above the row bottom.
bool isClearColumn(const Image& image, int centerX, int halfWidth, int bottom);
