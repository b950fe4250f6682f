#pragma once

#include <string>

// The number of results the list keeps and the table shows.
constexpr int HighscoreCapacity = 10;

// One result: a player's name and the points of that game.
class HighscoreEntry {
public:
    HighscoreEntry(const std::string& name, int score) : name(name), score(score) {}

    std::string getName() const { return name; }
    int getScore() const { return score; }
    // Scores only: names never take part in ordering.
    bool operator<(const HighscoreEntry& other) const { return score < other.score; }

private:
    std::string name;  // letters, digits and spaces from the name entry; may be empty
    int score;
};
