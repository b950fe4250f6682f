#pragma once

#include <string>

class TextDisplay;

// The texts of the name-entry screen: the congratulation, the prompt, the name
// typed so far and the last round's points. Expects a begun overlay frame.
void drawNameEntry(TextDisplay& display, const std::string& name);
