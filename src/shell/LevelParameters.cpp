#include "shell/LevelParameters.h"

namespace {

struct DifficultySpeeds {
    float startSpeed;  // fall speed of a game's first level
    double speedStep;  // added after every cleared level
};

// Indexed by difficulty code; entry 0 is unused.
constexpr DifficultySpeeds SpeedTable[] = {
    {0.0f, 0.0}, {0.18f, 0.03}, {0.21f, 0.06}, {0.24f, 0.09}, {0.27f, 0.12}};

constexpr int FirstBallCount = 10;
constexpr int FirstSpread = 30;
constexpr int BallsAddedPerLevel = 3;
constexpr int RowsAddedPerLevel = 1;

const DifficultySpeeds& speedsOf(int difficultyCode) {
    if (difficultyCode < Easy || difficultyCode > Insane) {
        return SpeedTable[Easy];
    }
    return SpeedTable[difficultyCode];
}

}  // namespace

LevelParameters firstLevel(int difficultyCode) {
    return {0, FirstBallCount, speedsOf(difficultyCode).startSpeed, FirstSpread};
}

LevelParameters nextLevel(const LevelParameters& cleared, int difficultyCode) {
    // The step is added in double precision and the sum rounded back to a float,
    // so speeds drift from start + n * step exactly as a float accumulator does.
    const double speed = static_cast<double>(cleared.speed) + speedsOf(difficultyCode).speedStep;
    return {cleared.number + 1, cleared.ballCount + BallsAddedPerLevel, static_cast<float>(speed),
            cleared.spread + RowsAddedPerLevel};
}
