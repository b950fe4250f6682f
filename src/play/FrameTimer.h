#pragma once

#include <SDL.h>

// The level's clock: posts one tick event (SDL_USEREVENT, code 0) per
// interval from SDL's timer thread, catching up by the clock so the long-run
// rate is exact even when SDL reschedules late. Stops when destroyed.
class FrameTimer {
public:
    static constexpr int TickCode = 0;          // user-event code of a tick
    static constexpr Uint32 MaxCatchUpTicks = 10; // ticks one callback may post after a stall

    explicit FrameTimer(Uint32 interval); // milliseconds; the ticks start now
    ~FrameTimer();                        // SDL_RemoveTimer
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    // Ticks to post when `elapsed` ms have passed since the start and `posted`
    // ticks were sent, at most MaxCatchUpTicks; pure, so pacing can be tested.
    static Uint32 ticksDue(Uint32 elapsed, Uint32 posted, Uint32 interval);

private:
    static Uint32 onTimerTick(Uint32 interval, void* param); // SDL's timer thread

    SDL_TimerID timerId = nullptr;
    Uint32 interval;
    Uint32 startTicks = 0;  // SDL_GetTicks when the timer started; timer thread reads only
    Uint32 ticksPosted = 0; // touched only by the timer thread after construction
};
