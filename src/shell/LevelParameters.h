#pragma once

// Difficulty codes as the difficulty menu returns them; the code is also the
// points that one matching hit scores.
enum Difficulty { Easy = 1, Normal = 2, Hard = 3, Insane = 4 };

// What one level of a game is played with.
struct LevelParameters {
    int number;     // shown in the status line; 0 for a game's first level
    int ballCount;  // balls placed at the level's start
    float speed;    // fall speed of every ball, field units per second
    int spread;     // 0.1-high rows above the field in which the balls are placed
};

LevelParameters firstLevel(int difficultyCode);  // level 0: 10 balls, spread 30, the start speed
LevelParameters nextLevel(const LevelParameters& cleared, int difficultyCode);  // +1, +3, +step, +1
