#include "highscore/TextField.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// The lock bits the library puts into every key event while the lock is on,
// and the one the newer library adds for Scroll Lock.
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

std::string letterWith(int mod) {
    return typed({key(SDLK_a, mod)});
}

TEST(TextFieldLetters, PlainLettersAreSmall) {
    EXPECT_EQ(typed({key(SDLK_a), key(SDLK_m), key(SDLK_z)}), "amz");
}

TEST(TextFieldLetters, ShiftOrCapsLockGivesACapital) {
    EXPECT_EQ(letterWith(KMOD_LSHIFT), "A");
    EXPECT_EQ(letterWith(KMOD_RSHIFT), "A");
    EXPECT_EQ(letterWith(KMOD_LSHIFT | KMOD_RSHIFT), "A");
    EXPECT_EQ(letterWith(KMOD_CAPS), "A");
    EXPECT_EQ(typed({key(SDLK_z, KMOD_LSHIFT)}), "Z");
}

TEST(TextFieldLetters, ShiftWithCapsLockGivesASmallLetter) {
    EXPECT_EQ(letterWith(KMOD_CAPS | KMOD_LSHIFT), "a");
    EXPECT_EQ(letterWith(KMOD_CAPS | KMOD_RSHIFT), "a");
    EXPECT_EQ(letterWith(KMOD_CAPS | KMOD_LSHIFT | KMOD_RSHIFT), "a");
}

TEST(TextFieldLetters, NumLockAndScrollLockChangeNothing) {
    for (const int lock : {int(KMOD_NUM), ScrollLock, KMOD_NUM | ScrollLock}) {
        EXPECT_EQ(letterWith(lock), "a") << lock;
        EXPECT_EQ(letterWith(lock | KMOD_LSHIFT), "A") << lock;
        EXPECT_EQ(letterWith(lock | KMOD_CAPS), "A") << lock;
        EXPECT_EQ(letterWith(lock | KMOD_CAPS | KMOD_RSHIFT), "a") << lock;
    }
}

TEST(TextFieldLetters, CtrlAltOrMetaKeepTheLetterSmall) {
    for (const int held : {int(KMOD_LCTRL), int(KMOD_RCTRL), int(KMOD_LALT), int(KMOD_RALT),
                           int(KMOD_LMETA), int(KMOD_RMETA)}) {
        EXPECT_EQ(letterWith(held), "a") << held;
        EXPECT_EQ(letterWith(held | KMOD_LSHIFT), "a") << held;
        EXPECT_EQ(letterWith(held | KMOD_CAPS), "a") << held;
    }
}

TEST(TextFieldCharacters, NumberRowDigitsAndSpaceAreTaken) {
    EXPECT_EQ(typed({key(SDLK_0), key(SDLK_5), key(SDLK_SPACE), key(SDLK_9)}), "05 9");
    // Shift does not turn a digit into a symbol: there is no layout to ask.
    EXPECT_EQ(typed({key(SDLK_1, KMOD_LSHIFT)}), "1");
}

TEST(TextFieldCharacters, EverythingElseIsIgnored) {
    EXPECT_EQ(typed({key(SDLK_KP0), key(SDLK_KP9), key(SDLK_KP_ENTER), key(SDLK_ESCAPE),
                     key(SDLK_TAB), key(SDLK_RETURN), key(SDLK_MINUS), key(SDLK_PERIOD),
                     key(SDLK_LSHIFT, KMOD_LSHIFT), key(SDLK_CAPSLOCK), key(SDLK_F1),
                     key(SDLK_DELETE), key(SDLK_LEFT), key(SDLK_WORLD_0)}),
              "");
}

TEST(TextFieldBackspace, RemovesTheLastCharacterSpacesToo) {
    EXPECT_EQ(typed({key(SDLK_a), key(SDLK_SPACE), key(SDLK_BACKSPACE)}), "a");
    EXPECT_EQ(typed({key(SDLK_a), key(SDLK_b), key(SDLK_BACKSPACE), key(SDLK_c)}), "ac");
}

TEST(TextFieldBackspace, DoesNothingOnAnEmptyField) {
    EXPECT_EQ(typed({key(SDLK_BACKSPACE), key(SDLK_BACKSPACE), key(SDLK_x)}), "x");
}

TEST(TextFieldState, ClearEmptiesTheText) {
    TextField field("label");
    field.handleKey(key(SDLK_q));
    field.clear();
    EXPECT_EQ(field.getText(), "");
    field.handleKey(key(SDLK_r));
    EXPECT_EQ(field.getText(), "r");
}

TEST(TextFieldState, HasNoLengthLimit) {
    TextField field("");
    for (int i = 0; i < 300; ++i) {
        field.handleKey(key(SDLK_w));
    }
    EXPECT_EQ(field.getText(), std::string(300, 'w'));
}

}  // namespace
