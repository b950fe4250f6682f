#pragma once

#include "play/Difficulty.h"
#include "text/ScreenLoop.h"

#include <SDL.h>

#include <memory>
#include <string>

class BallSet;
class RoundState;
class TextDisplay;
class TextField;
class TickClock;

// Frees an SDL surface that the game owns (the window icon).
struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

// Results of the main menu.
enum MainMenuResult { MenuNewGame = -1, MenuQuit = 1 };

// The one game object: opens the window and owns every long-lived part of the
// game. Every screen is an operation of it that hands the parts the screen
// needs to the screen's own loop. Main thread only.
class Game {
public:
    Game(int width, int height);  // opens the window; prints and exits 1 when that fails
    ~Game();                      // never reached in play: the program ends through exit(0)
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    [[noreturn]] void run();  // menus and games until the player quits; called once by main

    // Window and OpenGL (shell/Game.cpp).
    int initVideo();           // 0 when the window is open, 1 after printing why it is not
    void initGl();             // lights, viewport, depth test; shows one black frame
    void beginOverlayFrame();  // starts every frame: identity matrices, clear, white colour

    // Menus (shell/Menus.cpp). Each ends the program with exit(0) on a window-close request.
    int mainMenu();               // MenuNewGame, or MenuQuit for "Quit" and Escape
    Difficulty difficultyMenu();  // Easy..Insane, or DifficultyEscape
    void showInstructions();      // until any key or mouse button

    // One level of play (play/PlayLevel.h): LevelCleared or GameOver.
    int playLevel(int level, int count, float speed, int spread);

    // High scores (highscore/HighscoreScreen.h, highscore/NameEntry.h).
    void showHighscoreScreen();  // reads "moon", shows it until a key or button, writes it back
    std::string enterName();     // the name typed until Return

    // Game flow steps (shell/GameFlow.cpp), public so the rules can be driven one at a time.
    void startGame(Difficulty chosen);  // a fresh round, the ball set told the difficulty
    void playGame();                    // level after level until the game is over
    void endGame();                     // high-score check, name entry, high-score screen

    RoundState* getRoundState() const { return roundState.get(); }  // null before run
    BallSet& getBallSet() const { return *ballSet; }
    TextDisplay& getTextDisplay() const { return *textDisplay; }
    TextField& getNameField() const { return *nameField; }
    Difficulty getDifficulty() const { return difficulty; }

private:
    BeginFrame overlayFrame() {  // how every screen of this window starts a frame
        return [this] { beginOverlayFrame(); };
    }
    int menuItemAt(int x, int y) const;  // 1..4 for a click on a menu row, 0 for none

    SDL_Surface* screen = nullptr;  // the window surface; SDL releases it at exit
    // The parts, released in the reverse of this order: the icon first, the clock last.
    std::unique_ptr<TickClock> tickClock;  // the level timer's count; outlives every timer
    std::unique_ptr<TextField> nameField;
    std::unique_ptr<RoundState> roundState;  // the game in progress; null until run starts
    std::unique_ptr<TextDisplay> textDisplay;
    std::unique_ptr<BallSet> ballSet;
    std::unique_ptr<SDL_Surface, SurfaceDeleter> icon;  // null when "icon.bmp" could not be read
    Difficulty difficulty = Easy;  // of the current game; DifficultyEscape after Escape
    int width;  // requested window size in pixels; drawing reads screen->w, screen->h
    int height;
};
