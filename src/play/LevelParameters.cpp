#include "play/LevelParameters.h"

#include "play/LevelResult.h"

namespace {

struct DifficultySpeeds {
    float startSpeed;  // fall speed of a game's first level
    double speedStep;  // added after every cleared level
};

// Indexed by difficulty; entry 0 is unused.
constexpr DifficultySpeeds SpeedTable[] = {
    {0.0f, 0.0}, {0.18f, 0.03}, {0.21f, 0.06}, {0.24f, 0.09}, {0.27f, 0.12}};

constexpr int FirstBallCount = 10;
constexpr int FirstSpread = 30;
constexpr int BallsAddedPerLevel = 3;
constexpr int RowsAddedPerLevel = 1;

const DifficultySpeeds& speedsOf(Difficulty difficulty) {
    if (difficulty < Easy || difficulty > Insane) {
        return SpeedTable[Easy];
    }
    return SpeedTable[difficulty];
}

}  // namespace

LevelParameters firstLevel(Difficulty difficulty) {
    return {0, FirstBallCount, speedsOf(difficulty).startSpeed, FirstSpread};
}

LevelParameters nextLevel(const LevelParameters& cleared, Difficulty difficulty) {
    // The step is added in double precision and the sum rounded back to a float,
    // so speeds drift from start + n * step exactly as a float accumulator does.
    const double speed = static_cast<double>(cleared.speed) + speedsOf(difficulty).speedStep;
    return {cleared.number + 1, cleared.ballCount + BallsAddedPerLevel, static_cast<float>(speed),
            cleared.spread + RowsAddedPerLevel};
}

void playLevelsUntilOver(Difficulty difficulty,
                         const std::function<int(const LevelParameters&)>& playLevel) {
    LevelParameters level = firstLevel(difficulty);
    while (playLevel(level) == LevelCleared) {
        level = nextLevel(level, difficulty);
    }
}
