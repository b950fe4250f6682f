#pragma once

#include "text/ScreenLoop.h"

#include <string>

class TextDisplay;
class TextField;

// The name entry: keys go into field (cleared first) until Return, which ends
// it and is never typed; gives the name typed. Main thread only.
std::string typeName(TextField& field, TextDisplay& text, const BeginFrame& beginFrame);

// The texts of the name-entry screen: the congratulation, the prompt, the name
// typed so far and the last round's points. Expects a begun overlay frame.
void drawNameEntry(TextDisplay& text, const std::string& name);
