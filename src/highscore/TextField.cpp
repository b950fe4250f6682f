#include "highscore/TextField.h"

namespace {

constexpr int CapitalOffset = 'a' - 'A';

// A chord with one of these is a command, not typing: its letter stays small.
constexpr int CommandModifiers = KMOD_CTRL | KMOD_ALT | KMOD_META;

bool isLetter(SDLKey sym) {
    return sym >= SDLK_a && sym <= SDLK_z;
}
bool isDigit(SDLKey sym) {
    return sym >= SDLK_0 && sym <= SDLK_9;
}

// Shift inverts Caps Lock, as on any keyboard. Num Lock, Scroll Lock and any
// other lock state carry no meaning for letters.
bool wantsCapital(SDLMod mod) {
    if ((mod & CommandModifiers) != 0) {
        return false;
    }
    const bool shift = (mod & KMOD_SHIFT) != 0;
    const bool caps = (mod & KMOD_CAPS) != 0;
    return shift != caps;
}

}  // namespace

TextField::TextField(const std::string& label) : label(label) {}

void TextField::handleKey(const SDL_keysym& key) {
    const SDLKey sym = key.sym;
    if (isLetter(sym)) {
        const int letter = wantsCapital(key.mod) ? sym - CapitalOffset : sym;
        text += static_cast<char>(letter);
    } else if (isDigit(sym) || sym == SDLK_SPACE) {
        text += static_cast<char>(sym);
    } else if (sym == SDLK_BACKSPACE && !text.empty()) {
        text.pop_back();
    }
}
