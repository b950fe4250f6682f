#pragma once

// How a level ends, and the one value while it goes on.
enum LevelResult { LevelCleared = -1, LevelGoesOn = 0, GameOver = 1 };
