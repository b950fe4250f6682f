#pragma once

#include "play/LevelParameters.h"
#include "text/ScreenLoop.h"

class BallSet;
class RoundState;
class TextDisplay;
class TickClock;

// The parts of the game that one level is played with; the game owns them all.
struct LevelParts {
    BallSet& world;         // the balls and shots
    RoundState& round;      // points and lives of the game in progress
    TextDisplay& text;      // draws the status line
    TickClock& clock;       // the timer's count; outlives every level
    int windowWidth;        // pixels, to turn a click into a field x
    BeginFrame beginFrame;  // starts every frame
};

// One level, from placing its balls to its end: LevelCleared, or GameOver when
// the lives are gone or on Escape. A window-close request stops the timer and
// ends the program with status 0. Main thread only.
int playOneLevel(const LevelParts& parts, const LevelParameters& level);
