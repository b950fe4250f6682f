#pragma once

#include "play/Ball.h"
#include "play/BallModels.h"
#include "play/Difficulty.h"
#include "play/Shot.h"
#include "play/StepOutcome.h"

#include <list>
#include <memory>

// The world of one level: the balls, the shots in flight and the rules that
// bind them. Owned by the game for the whole run; needs the OpenGL context.
class BallSet {
public:
    static constexpr float LevelFallFactor = 0.01f;  // the level loop's fall factor per tick
    // Candidates drawn for one ball before it goes into a row of its own; far
    // above what the game's densities ever need.
    static constexpr int MaxPlacementAttempts = 100000;

    BallSet();  // builds the models

    void setDifficulty(Difficulty difficulty);  // points per matching hit: Easy 1 .. Insane 4
    void spawnBalls(int count, float speed, int spread);  // spread >= 1 rows; shots stay
    void fireShot(int color, float x);                    // appends at (x, -1.1)
    void dropShots();                                     // a new game starts with none in flight
    StepOutcome step(float fallFactor);                   // one tick: fall, move, collide
    int pointsGained() const { return gained; }           // points of the last step
    void draw() const;                                    // inside a frame

    const std::list<Ball>& getBalls() const { return balls; }
    const std::list<Shot>& getShots() const { return shots; }

    // Test seams: put a ball or a shot exactly where a rule needs it.
    void addBall(const Ball& ball) { balls.push_back(ball); }
    void addShot(const Shot& shot) { shots.push_back(shot); }  // as the youngest

private:
    StepOutcome collide();
    int removeShotsAtTop();                                    // lives: one per shot removed
    std::list<Shot>::iterator oldestShotOn(const Ball& ball);  // end() when none covers it

    std::unique_ptr<BallModels> models;  // its display lists stay with the context
    std::list<Ball> balls;               // placement order
    std::list<Shot> shots;               // oldest first
    int gained = 0;                      // pointsGained of the last step
    int pointsPerHit = 1;
    float hitRadius = 0.1f;  // half the hit square's side; half the placement spacing
};
