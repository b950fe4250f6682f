// Temporary stubs so the tree links while play is written.
#include "play/BallSet.h"
#include "play/FrameTimer.h"
#include "play/LevelResult.h"
#include "shell/Game.h"

BallSet::BallSet() : models(std::make_unique<BallModels>()) {}
BallSet::~BallSet() = default;
void BallSet::setDifficulty(int code) { pointsPerHit = code; }
void BallSet::spawnBalls(int, float, int) {}
void BallSet::fireShot(int, float) {}
void BallSet::dropShots() { shots.clear(); }
StepOutcome BallSet::step(float) { return {}; }
void BallSet::draw() const {}
int Game::playLevel(int, int, float, int) { return GameOver; }
