#include "play/FrameTimer.h"

#include <algorithm>

// The start is taken before the timer exists, so its thread only ever reads a finished value.
FrameTimer::FrameTimer(Uint32 interval) : interval(interval), startTicks(SDL_GetTicks()) {
    timerId = SDL_AddTimer(interval, onTimerTick, this);
}

FrameTimer::~FrameTimer() {
    SDL_RemoveTimer(timerId);
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
    FrameTimer* timer = static_cast<FrameTimer*>(param);
    const Uint32 elapsed = SDL_GetTicks() - timer->startTicks;
    const Uint32 due = ticksDue(elapsed, timer->ticksCounted, timer->interval);
    // Ticks beyond the catch-up bound are forgiven, so that after a long
    // stall the level goes on at its own pace instead of racing through the
    // lost time. Counted before posting: once the first tick is out, the level
    // may end and delete this timer, and nothing of it is touched after that.
    timer->ticksCounted = ticksByClock(elapsed, timer->interval);
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
