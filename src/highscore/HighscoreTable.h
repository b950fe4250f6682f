#pragma once

#include "highscore/HighscoreEntry.h"

#include <list>

class TextDisplay;

// The high-score table: up to HighscoreCapacity rows "name score", best
// first, from the top of the window down. Expects a begun overlay frame.
void drawHighscoreTable(TextDisplay& text, const std::list<HighscoreEntry>& entries);
