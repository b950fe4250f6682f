#include <SDL.h>
#include <emscripten.h>

#include <emscripten/eventloop.h>

struct WebTimer {
    Uint32 interval;  // milliseconds until the next call
    SDL_TimerCallback callback;
    void* param;
    long timeout;  // the browser's id of the pending call, 0 once the timer has stopped
};

namespace {

// Milliseconds the page has been shown since the first call. The browser
// still runs a hidden page's timers, now and then; a clock that stands still
// meanwhile gives them nothing to post, and none owed when the page shows again.
EM_JS(double, shownMilliseconds, (), {
    if (!Module.shownTime) {
        var shown = {before : 0, since : document.hidden ? null : performance.now()};
        document.addEventListener(
            'visibilitychange', function() {
                if (document.hidden && shown.since != null) {
                    shown.before += performance.now() - shown.since;
                    shown.since = null;
                } else if (!document.hidden && shown.since == null) {
                    shown.since = performance.now();
                }
            });
        Module.shownTime = shown;
    }
    var time = Module.shownTime;
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

Uint32 webGetTicks() {
    return static_cast<Uint32>(shownMilliseconds());
}
