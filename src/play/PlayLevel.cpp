#include "play/PlayLevel.h"

#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/FrameTimer.h"
#include "play/LevelResult.h"
#include "play/RoundState.h"
#include "text/TextDisplay.h"

#include <memory>

namespace {

constexpr Uint32 TickInterval = 10;  // milliseconds: 100 steps per second of play

// The field x under the mouse: -1 at the left edge, 0 in the middle.
float fieldX(int mouseX, int width) {
    return static_cast<float>(2.0 * (mouseX - 0.5 * width) / width);
}

void fireAt(BallSet& world, const SDL_MouseButtonEvent& button, int width) {
    if (button.button == SDL_BUTTON_LEFT) {
        world.fireShot(Blue, fieldX(button.x, width));
    } else if (button.button == SDL_BUTTON_RIGHT) {
        world.fireShot(Red, fieldX(button.x, width));
    }
}

// One step of the world with its points and lives: LevelGoesOn, or how the level ends.
int applyTick(BallSet& world, RoundState& round, TextDisplay& status) {
    const StepOutcome outcome = world.step(BallSet::LevelFallFactor);
    round.addPoints(world.pointsGained());
    status.setPoints(round.getPoints());
    if (outcome.livesLost > 0) {
        round.loseLives(outcome.livesLost);
        status.setLives(round.getLives());
    }
    // The lives of the step that removed the last ball are charged first: a
    // level cleared with the last life gone still ends the game.
    if (round.isOver()) {
        return GameOver;
    }
    if (outcome.levelCleared) {
        return LevelCleared;
    }
    return LevelGoesOn;
}

bool isTick(const SDL_Event& event) {
    return event.type == SDL_USEREVENT && event.user.code == FrameTimer::TickCode;
}

int onLevelEvent(const LevelParts& parts, const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
        return GameOver;
    }
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        fireAt(parts.world, event.button, parts.windowWidth);
    }
    if (isTick(event)) {
        return applyTick(parts.world, parts.round, parts.text);
    }
    return LevelGoesOn;
}

}  // namespace

int playOneLevel(const LevelParts& parts, const LevelParameters& level) {
    // Owned here so that every return stops the ticks; the program's exit
    // stops them by hand.
    auto timer = std::make_unique<FrameTimer>(TickInterval, parts.clock);
    parts.world.spawnBalls(level.ballCount, level.speed, level.spread);
    parts.text.updateStatusLine(parts.round.getPoints(), parts.round.getLives(), level.number);
    return runScreenLoop(
        parts.beginFrame,
        [&parts] {
            parts.world.draw();
            parts.text.drawStatusLine();
        },
        [&parts](const SDL_Event& event) { return onLevelEvent(parts, event); },
        [&timer] { timer.reset(); });
}
