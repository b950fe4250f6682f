#pragma once

// What one world step did, as the level loop acts on it.
struct StepOutcome {
    int livesLost = 0;          // balls at the bottom, shots at the top, wrong-colour hits
    bool levelCleared = false;  // the last ball is gone, however it went
};
