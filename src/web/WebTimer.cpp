#include <SDL.h>
#include <emscripten.h>

#include <emscripten/eventloop.h>

#include <cstdint>

struct WebTimer {
    Uint32 interval;  // milliseconds until the next call
    SDL_TimerCallback callback;
    void* param;
    long timeout;  // the browser's id of the pending call, 0 once the timer has stopped
};

namespace {

// Milliseconds the level could be seen since the first call: the page shown
// and its WebGL context not lost. The browser still runs a hidden page's
// timers, now and then, and a page without its context runs them as ever; a
// clock that stands still meanwhile gives them nothing to post, and none owed
// when the game shows again.
EM_JS(double, seenMilliseconds, (), {
    if (!Module.seenTime) {
        const lost = Boolean(Module.ctx && Module.ctx.isContextLost());
        const seen = {before : 0, since : null, hidden : document.hidden, lost : lost};
        const update = function() {
            const running = !seen.hidden && !seen.lost;
            if (!running && seen.since != null) {
                seen.before += performance.now() - seen.since;
                seen.since = null;
            } else if (running && seen.since == null) {
                seen.since = performance.now();
            }
        };
        document.addEventListener(
            'visibilitychange', function() {
                seen.hidden = document.hidden;
                update();
            });
        Module.canvas.addEventListener(
            'webglcontextlost', function() {
                seen.lost = true;
                update();
            });
        Module.canvas.addEventListener(
            'webglcontextrestored', function() {
                seen.lost = false;
                update();
            });
        update();
        Module.seenTime = seen;
    }
    const time = Module.seenTime;
    return time.before + (time.since == null ? 0 : performance.now() - time.since);
});

void fire(void* data) {
    WebTimer* timer = static_cast<WebTimer*>(data);
    timer->interval = timer->callback(timer->interval, timer->param);
    // A callback that returns 0 stops its timer, as in SDL 1.2; the memory
    // stays until the owner removes the timer.
    timer->timeout =
        timer->interval == 0 ? 0 : emscripten_set_timeout(fire, timer->interval, timer);
}

}  // namespace

WebTimer* webAddTimer(Uint32 interval, SDL_TimerCallback callback, void* param) {
    WebTimer* timer = new WebTimer{interval, callback, param, 0};
    timer->timeout = emscripten_set_timeout(fire, interval, timer);
    return timer;
}

SDL_bool webRemoveTimer(WebTimer* timer) {
    if (timer == nullptr) {
        return SDL_FALSE;
    }
    if (timer->timeout != 0) {
        emscripten_clear_timeout(timer->timeout);
    }
    delete timer;
    return SDL_TRUE;
}

// Through 64 bits, whose range the clock never leaves: a double beyond
// Uint32's range has no defined conversion to it, a uint64_t wraps.
Uint32 webGetTicks() {
    return static_cast<Uint32>(static_cast<std::uint64_t>(seenMilliseconds()));
}
