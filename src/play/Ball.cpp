#include "play/Ball.h"

Ball::Ball(float speed, float x, float y, int color)
    : color(static_cast<std::uint8_t>(color)), x(x), y(y), speed(speed) {}

void Ball::fall(float factor) {
    y = static_cast<float>(static_cast<double>(y) - static_cast<double>(speed) * factor);
}
