#pragma once

#include <SDL.h>

#include <string>

// The name being typed in the name entry: letters, digits and spaces.
class TextField {
public:
    explicit TextField(const std::string& label);  // text starts empty

    const std::string& getText() const { return text; }
    void clear() { text.clear(); }
    void handleKey(const SDL_keysym& key);  // one key press: a character, Backspace, or nothing

private:
    std::string text;
    std::string label;  // shown nowhere
};
