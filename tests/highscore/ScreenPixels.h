#pragma once

#include "support/TestSupport.h"

#include <optional>

// The first pixel of the 10 x 13 character cell at raster position (left,
// baseline) that differs from the background, scanning from the bottom row;
// empty when the cell is all background. Positions in window pixels from the
// bottom left, as OpenGL counts them; read before the swap.
inline std::optional<Rgb> inkIn(int left, int baselineAboveBottom) {
    for (int row = 0; row < 13; ++row) {
        for (int column = 0; column < 10; ++column) {
            const int fromBottom = baselineAboveBottom - 2 + row;
            const Rgb pixel = readPixel(left + column, 599 - fromBottom);
            if (!nearColor(pixel, Background, 6)) {
                return pixel;
            }
        }
    }
    return std::nullopt;
}

inline bool hasInk(int left, int baselineAboveBottom) {
    return inkIn(left, baselineAboveBottom).has_value();
}

// True when the next event the test pushed, skipping what the window system
// adds, is a press of sym.
inline bool nextIsKeyDown(SDLKey sym) {
    SDL_Event event{};
    while (SDL_PollEvent(&event)) {
        if (event.type != SDL_ACTIVEEVENT && event.type != SDL_VIDEOEXPOSE &&
            event.type != SDL_SYSWMEVENT) {
            return event.type == SDL_KEYDOWN && event.key.keysym.sym == sym;
        }
    }
    return false;
}
