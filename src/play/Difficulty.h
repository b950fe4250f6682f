#pragma once

// The difficulty of a game. The difficulty menu's items give Easy to Insane
// in order; the value is also the points that one matching hit scores.
enum Difficulty {
    DifficultyEscape = -1,  // the difficulty menu was left with Escape: no game starts
    NoDifficulty = 0,       // nothing chosen yet in this run
    Easy = 1,
    Normal = 2,
    Hard = 3,
    Insane = 4,
};
