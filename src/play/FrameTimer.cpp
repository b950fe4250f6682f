#include "play/FrameTimer.h"

#include <algorithm>

TickClock::TickClock() : lock(SDL_CreateMutex()) {}

TickClock::~TickClock() {
    SDL_DestroyMutex(lock);
}

void TickClock::start(Uint32 newInterval, Uint32 now) {
    SDL_LockMutex(lock);
    running = true;
    interval = newInterval;
    startTicks = now;
    ticksCounted = 0;
    SDL_UnlockMutex(lock);
}

void TickClock::stop() {
    SDL_LockMutex(lock);
    running = false;
    SDL_UnlockMutex(lock);
}

Uint32 TickClock::takeDue(Uint32 now) {
    SDL_LockMutex(lock);
    Uint32 due = 0;
    if (running) {
        const Uint32 elapsed = now - startTicks;
        due = FrameTimer::ticksDue(elapsed, ticksCounted, interval);
        // Ticks beyond the catch-up bound are forgiven, so that after a long
        // stall the level goes on at its own pace instead of racing through
        // the lost time.
        ticksCounted = std::max(ticksCounted, FrameTimer::ticksByClock(elapsed, interval));
    }
    SDL_UnlockMutex(lock);
    return due;
}

FrameTimer::FrameTimer(Uint32 interval, TickClock& clock) : clock(clock) {
    clock.start(interval, SDL_GetTicks());
    timerId = SDL_AddTimer(interval, onTimerTick, &clock);
}

FrameTimer::~FrameTimer() {
    SDL_RemoveTimer(timerId);
    // A callback already under way when the timer was removed finds nothing due.
    clock.stop();
}

Uint32 FrameTimer::ticksByClock(Uint32 elapsed, Uint32 interval) {
    // Rounded to the nearest tick: a callback a few milliseconds early or
    // late still finds exactly one tick due.
    return (elapsed + interval / 2) / interval;
}

Uint32 FrameTimer::ticksDue(Uint32 elapsed, Uint32 counted, Uint32 interval) {
    const Uint32 byClock = ticksByClock(elapsed, interval);
    if (byClock <= counted) {
        return 0;
    }
    return std::min(byClock - counted, MaxCatchUpTicks);
}

Uint32 FrameTimer::onTimerTick(Uint32 interval, void* param) {
    const Uint32 due = static_cast<TickClock*>(param)->takeDue(SDL_GetTicks());
    for (Uint32 i = 0; i < due; ++i) {
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        event.user.type = SDL_USEREVENT;
        event.user.code = TickCode;
        // A full queue drops the tick; the level simply advances less.
        SDL_PushEvent(&event);
    }
    return interval;
}
