#pragma once

#include "text/ScreenLoop.h"

class TextDisplay;

// The high-score screen: reads "moon", shows its table until a key or a mouse
// button is pressed, then writes the list back. A window-close request ends
// the program before the write, leaving the file as it was.
void showHighscoreTable(TextDisplay& text, const BeginFrame& beginFrame);
