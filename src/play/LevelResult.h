#pragma once

// How playLevel ends.
enum LevelResult { LevelCleared = -1, GameOver = 1 };
