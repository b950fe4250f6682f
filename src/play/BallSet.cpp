#include "play/BallSet.h"

#include "play/Placement.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr float TopEdge = 1.0f;
constexpr float BottomEdge = -1.0f;
// Balls outside these bounds are still waiting above the field or already
// gone below it: nothing of them would show.
constexpr float DrawnBelow = 1.1f;
constexpr float DrawnAbove = -1.1f;

// The closed square of side 2r around the ball's centre, bounds in double.
bool covers(const Ball& ball, const Shot& shot, float radius) {
    const double r = radius;
    const double bx = ball.getX();
    const double by = ball.getY();
    return bx - r <= shot.getX() && shot.getX() <= bx + r && by - r <= shot.getY() &&
           shot.getY() <= by + r;
}

}  // namespace

BallSet::BallSet() : models(std::make_unique<BallModels>()) {
    models->buildModels();
}

void BallSet::setDifficulty(Difficulty difficulty) {
    pointsPerHit = difficulty;
}

void BallSet::spawnBalls(int count, float speed, int spread) {
    balls.clear();
    const std::vector<FieldPosition> positions =
        choosePositions(count, spread, 2.0f * hitRadius, MaxPlacementAttempts);
    // Colours are drawn only once every position is fixed, in placement
    // order: the order of the rand() calls is part of the layout, and
    // std::transform does not promise one.
    for (const FieldPosition& position : positions) {
        // cppcheck-suppress useStlAlgorithm
        balls.emplace_back(speed, position.x, position.y, std::rand() & 1);
    }
}

void BallSet::fireShot(int color, float x) {
    shots.emplace_back(color, x);
}

void BallSet::dropShots() {
    shots.clear();
}

StepOutcome BallSet::step(float fallFactor) {
    for (Ball& ball : balls) {
        ball.fall(fallFactor);
    }
    for (Shot& shot : shots) {
        shot.move();
    }
    return collide();
}

void BallSet::draw() const {
    for (const Ball& ball : balls) {
        if (ball.isAlive() && ball.getY() > DrawnAbove && ball.getY() < DrawnBelow) {
            models->drawBall(ball);
        }
    }
    for (const Shot& shot : shots) {
        if (shot.isAlive()) {
            models->drawShot(shot);
        }
    }
}

int BallSet::removeShotsAtTop() {
    int lost = 0;
    for (auto shot = shots.begin(); shot != shots.end();) {
        if (shot->isAlive() && shot->getY() >= TopEdge) {
            shot = shots.erase(shot);
            ++lost;
        } else {
            ++shot;
        }
    }
    return lost;
}

std::list<Shot>::iterator BallSet::oldestShotOn(const Ball& ball) {
    return std::find_if(shots.begin(), shots.end(),
                        [&](const Shot& shot) { return covers(ball, shot, hitRadius); });
}

StepOutcome BallSet::collide() {
    gained = 0;
    StepOutcome outcome;
    // Shots past the top go first, so they can no longer hit a ball.
    outcome.livesLost = removeShotsAtTop();
    for (auto ball = balls.begin(); ball != balls.end();) {
        if (!ball->isAlive()) {
            ++ball;
            continue;
        }
        if (ball->getY() <= BottomEdge) {
            ball = balls.erase(ball);
            ++outcome.livesLost;
            continue;
        }
        const auto shot = oldestShotOn(*ball);
        if (shot == shots.end()) {
            ++ball;
            continue;
        }
        if (shot->color == ball->getColor()) {
            gained += pointsPerHit;
        } else {
            ++outcome.livesLost;
        }
        shots.erase(shot);
        ball = balls.erase(ball);
    }
    // However the last ball went, the level is over; the lives of this step
    // still count, and the level loop charges them before it decides.
    outcome.levelCleared = balls.empty();
    return outcome;
}
