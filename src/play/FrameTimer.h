#pragma once

#include <SDL.h>

// The count of ticks a level's timer owes, shared by the main thread and
// SDL's timer thread under its own lock. The game owns one for its whole run:
// SDL may still be inside a callback when SDL_RemoveTimer returns, so the
// callback must only ever reach an object that outlives every level.
class TickClock {
public:
    TickClock();   // creates the lock; main thread
    ~TickClock();  // after the last timer is gone
    TickClock(const TickClock&) = delete;
    TickClock& operator=(const TickClock&) = delete;

    // Main thread: counting from now (SDL_GetTicks ms), every interval ms.
    void start(Uint32 interval, Uint32 now);
    void stop();  // main thread: from now on nothing is due
    // Timer thread: ticks to post at now (SDL_GetTicks ms), counted as dealt
    // with; after a stall, those past MaxCatchUpTicks are forgiven, not owed.
    Uint32 takeDue(Uint32 now);

private:
    SDL_mutex* lock;
    bool running = false;
    Uint32 interval = 0;      // milliseconds
    Uint32 startTicks = 0;    // SDL_GetTicks when the level's timer started
    Uint32 ticksCounted = 0;  // posted or forgiven since the start
};

// The level's clock: posts one tick event (SDL_USEREVENT, code 0) per
// interval from SDL's timer thread, catching up by the clock so the long-run
// rate is exact even when SDL reschedules late. Stops when destroyed.
class FrameTimer {
public:
    static constexpr int TickCode = 0;             // user-event code of a tick
    static constexpr Uint32 MaxCatchUpTicks = 10;  // ticks one callback may post after a stall

    // Starts ticking now, every interval ms; clock must outlive the SDL timer
    // subsystem's last callback, which in the game means the game itself.
    FrameTimer(Uint32 interval, TickClock& clock);
    ~FrameTimer();  // SDL_RemoveTimer, then the clock owes nothing more
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
    static Uint32 onTimerTick(Uint32 interval, void* param);  // SDL's timer thread; param: clock

    SDL_TimerID timerId = nullptr;
    TickClock& clock;
};
