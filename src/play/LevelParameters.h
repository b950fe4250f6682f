#pragma once

#include "play/Difficulty.h"

#include <functional>

// What one level of a game is played with.
struct LevelParameters {
    int number;     // shown in the status line; 0 for a game's first level
    int ballCount;  // balls placed at the level's start
    float speed;    // fall speed of every ball, field units per second
    int spread;     // 0.1-high rows above the field in which the balls are placed
};

LevelParameters firstLevel(Difficulty difficulty);  // level 0: 10 balls, spread 30, the start speed
LevelParameters nextLevel(const LevelParameters& cleared,
                          Difficulty difficulty);  // +1, +3, +step, +1

// A whole game's levels: plays the first level of difficulty, then the next
// after each one that playLevel answers LevelCleared, until it answers
// anything else (GameOver). Called by the game flow.
void playLevelsUntilOver(Difficulty difficulty,
                         const std::function<int(const LevelParameters&)>& playLevel);
