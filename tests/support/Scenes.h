#pragma once

#include <vector>

class Game;

// How one picture of tests/reference/ is drawn into a begun overlay frame:
// shared by the desktop's picture tests and the web stage's scene program.
struct Scene {
    const char* name;          // the picture's file name without ".png"
    void (*draw)(Game& game);  // the game's window is open; may change its texts' state
};

// Each list in the order one process must draw it: the main menu shows no
// last round only until a status line has been set.
std::vector<Scene> textScenes();       // the font, the menus, the instructions, the status line
Scene worldScene();                    // lit balls and darts, some half out of the window
std::vector<Scene> highscoreScenes();  // the table, then the name entry
std::vector<Scene> allScenes();        // the three above, in that order
