#include "support/Scenes.h"

#include "highscore/HighscoreEntry.h"
#include "highscore/HighscoreTable.h"
#include "highscore/NameEntry.h"
#include "play/Ball.h"
#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/Shot.h"
#include "shell/Game.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>

#include <climits>
#include <list>
#include <string>

namespace {

// All 95 glyphs, 19 to a line; control and high bytes between them must draw
// nothing and take no space. The first line's colour is fixed at its raster
// position, before printString makes the text colour current for the rest.
void drawFontSheet(Game& game) {
    glColor3f(1.0f, 0.0f, 0.0f);
    for (int line = 0; line < 5; ++line) {
        glRasterPos2f(-0.9f, 0.8f - 0.1f * line);
        std::string glyphs;
        for (int c = 32 + 19 * line; c < 32 + 19 * (line + 1); ++c) {
            glyphs += static_cast<char>(c);
        }
        game.getTextDisplay().printString(glyphs);
    }
    glRasterPos2f(-0.9f, 0.2f);
    game.getTextDisplay().printString("\x01"
                                      "A\t\x7f\x80\xc8\x1f"
                                      "A\xff");
}

// The menus set a colour of their own first (0.2, 0, 0); no text may take it.
void drawMainMenu(Game& game) {
    glColor3f(0.2f, 0.0f, 0.0f);
    game.getTextDisplay().drawMainMenu();
    game.getTextDisplay().drawLastRound();
}

// Balls in their colours and lit, darts in front of balls, balls half in the
// window at its edges: the game's own ball set, emptied first.
void drawWorld(Game& game) {
    BallSet& world = game.getBallSet();
    world.spawnBalls(0, 0.0f, 1);
    world.dropShots();
    for (const Ball& ball : {Ball(0.0f, -0.5f, 0.5f, Red), Ball(0.0f, 0.5f, 0.5f, Blue),
                             Ball(0.0f, -0.5f, 1.05f, Blue), Ball(0.0f, 0.5f, -1.05f, Red)}) {
        world.addBall(ball);
    }
    world.addShot({Blue, -0.5f, 0.45f});
    world.addShot({Red, 0.0f, -0.5f});
    world.draw();
}

// Rows "name score" from the top, names as long as the window allows.
void drawTable(Game& game) {
    std::list<HighscoreEntry> entries;
    entries.emplace_back(std::string(100000, 'W'), INT_MAX);
    for (int i = 0; i < 10; ++i) {
        entries.emplace_back(i == 3 ? "" : "Player " + std::to_string(i), 900 - 100 * i);
    }
    drawHighscoreTable(game.getTextDisplay(), entries);
}

}  // namespace

std::vector<Scene> textScenes() {
    return {
        {"font", drawFontSheet},
        {"main-menu", drawMainMenu},
        {"difficulty-menu",
         [](Game& game) {
             glColor3f(0.2f, 0.0f, 0.0f);
             game.getTextDisplay().drawDifficultyMenu();
         }},
        {"instructions", [](Game& game) { game.getTextDisplay().drawInstructions(); }},
        // A five-digit score runs into "Lives: ", which stays put; the three
        // texts share one number stream, which must be left empty each time.
        {"status-line",
         [](Game& game) {
             game.getTextDisplay().updateStatusLine(10000, 3, 12);
             game.getTextDisplay().drawStatusLine();
         }},
        {"main-menu-after-a-game",
         [](Game& game) {
             game.getTextDisplay().updateStatusLine(-130, 2, 3);
             drawMainMenu(game);
         }},
    };
}

Scene worldScene() {
    return {"world", drawWorld};
}

// The name entry's texts above the last round's points.
std::vector<Scene> highscoreScenes() {
    return {{"highscore-table", drawTable}, {"name-entry", [](Game& game) {
                                                 game.getTextDisplay().updateStatusLine(42, 0, 3);
                                                 drawNameEntry(game.getTextDisplay(), "Ann Lee");
                                             }}};
}

std::vector<Scene> allScenes() {
    std::vector<Scene> scenes = textScenes();
    scenes.push_back(worldScene());
    for (const Scene& scene : highscoreScenes()) {
        scenes.push_back(scene);
    }
    return scenes;
}
