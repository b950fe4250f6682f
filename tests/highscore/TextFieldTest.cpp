#include "highscore/TextField.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// The bit the newer library adds for Scroll Lock, beside KMOD_NUM.
constexpr int ScrollLock = 0x8000;

SDL_keysym key(SDLKey sym, int mod = KMOD_NONE) {
    SDL_keysym keysym{};
    keysym.sym = sym;
    keysym.mod = static_cast<SDLMod>(mod);
    return keysym;
}

std::string typed(std::initializer_list<SDL_keysym> keys) {
    TextField field("");
    for (const SDL_keysym& k : keys) {
        field.handleKey(k);
    }
    return field.getText();
}

TEST(TextFieldLetters, CapitalWithShiftOrCapsLockNotBothUnlessCtrlAltOrMetaIsHeld) {
    const std::pair<int, const char*> cases[] = {{KMOD_NONE, "a"},
                                                 {KMOD_LSHIFT, "A"},
                                                 {KMOD_RSHIFT, "A"},
                                                 {KMOD_LSHIFT | KMOD_RSHIFT, "A"},
                                                 {KMOD_CAPS, "A"},
                                                 {KMOD_CAPS | KMOD_LSHIFT, "a"},
                                                 {KMOD_CAPS | KMOD_RSHIFT, "a"},
                                                 {KMOD_CAPS | KMOD_LSHIFT | KMOD_RSHIFT, "a"},
                                                 {KMOD_LCTRL | KMOD_LSHIFT, "a"},
                                                 {KMOD_RCTRL | KMOD_CAPS, "a"},
                                                 {KMOD_LALT | KMOD_LSHIFT, "a"},
                                                 {KMOD_RALT | KMOD_CAPS, "a"},
                                                 {KMOD_LMETA | KMOD_RSHIFT, "a"},
                                                 {KMOD_RMETA | KMOD_CAPS, "a"}};
    // Num Lock and Scroll Lock never matter.
    for (const int lock : {0, int(KMOD_NUM), ScrollLock, KMOD_NUM | ScrollLock}) {
        for (const auto& [mod, letter] : cases) {
            EXPECT_EQ(typed({key(SDLK_a, mod | lock)}), letter) << "mod " << (mod | lock);
        }
    }
    EXPECT_EQ(typed({key(SDLK_m), key(SDLK_z, KMOD_LSHIFT)}), "mZ");
}

TEST(TextFieldCharacters, NumberRowDigitsAndSpaceAreTakenEverythingElseIgnored) {
    EXPECT_EQ(typed({key(SDLK_0), key(SDLK_5), key(SDLK_SPACE), key(SDLK_9)}), "05 9");
    // Shift does not turn a digit into a symbol: there is no layout to ask.
    EXPECT_EQ(typed({key(SDLK_1, KMOD_LSHIFT)}), "1");
    EXPECT_EQ(typed({key(SDLK_KP0), key(SDLK_KP9), key(SDLK_KP_ENTER), key(SDLK_ESCAPE),
                     key(SDLK_TAB), key(SDLK_RETURN), key(SDLK_MINUS), key(SDLK_PERIOD),
                     key(SDLK_LSHIFT, KMOD_LSHIFT), key(SDLK_CAPSLOCK), key(SDLK_F1),
                     key(SDLK_DELETE), key(SDLK_LEFT), key(SDLK_WORLD_0)}),
              "");
}

TEST(TextFieldState, HasNoLengthLimit) {
    TextField field("label");
    for (int i = 0; i < 300; ++i) {
        field.handleKey(key(SDLK_w));
    }
    EXPECT_EQ(field.getText(), std::string(300, 'w'));
}

}  // namespace
