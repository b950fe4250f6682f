#pragma once

// Points and lives of the game in progress; the game flow makes a fresh one per game.
class RoundState {
public:
    static constexpr int StartLives = 5;

    void addPoints(int gained) { points += gained * multiplier; }  // after every step, also with 0
    void loseLives(int n) { lives -= n; }
    int getPoints() const { return points; }
    int getLives() const { return lives; }
    bool isOver() const { return lives <= 0; }  // several lives can go in one step

private:
    int points = 0;
    int multiplier = 1;  // nothing changes it
    int lives = StartLives;
};
