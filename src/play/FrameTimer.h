#pragma once

#include <SDL.h>

// The level's clock: posts one tick event (SDL_USEREVENT, code 0) per
// interval from SDL's timer thread, catching up by the clock so the long-run
// rate is exact even when SDL reschedules late. Stops when destroyed.
class FrameTimer {
public:
    static constexpr int TickCode = 0;             // user-event code of a tick
    static constexpr Uint32 MaxCatchUpTicks = 10;  // ticks one callback may post after a stall

    explicit FrameTimer(Uint32 interval);  // milliseconds; the ticks start now
    ~FrameTimer();                         // SDL_RemoveTimer
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    // Ticks the clock owes after `elapsed` ms of the timer's life: elapsed /
    // interval rounded to the nearest whole tick. Pure, so pacing can be tested.
    static Uint32 ticksByClock(Uint32 elapsed, Uint32 interval);
    // Ticks one callback posts when `counted` ticks were already dealt with
    // (posted, or forgiven after a stall): what the clock owes beyond them, at
    // most MaxCatchUpTicks, 0 when none is owed. Pure.
    static Uint32 ticksDue(Uint32 elapsed, Uint32 counted, Uint32 interval);

private:
    static Uint32 onTimerTick(Uint32 interval, void* param);  // SDL's timer thread

    SDL_TimerID timerId = nullptr;
    Uint32 interval;
    Uint32 startTicks = 0;    // SDL_GetTicks when the timer started; timer thread reads only
    Uint32 ticksCounted = 0;  // posted or forgiven; only the timer thread touches it after start
};
