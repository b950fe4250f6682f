#include "play/Shot.h"

Shot::Shot(int color, float x) : Shot(color, x, StartY) {}

Shot::Shot(int color, float x, float y) : x(x), y(y), color(color) {}

void Shot::move() {
    y += speed;
}
