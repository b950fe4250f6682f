#include <SDL.h>

#include <emscripten/eventloop.h>

#include <cstdint>

// Milliseconds the level could be seen since the first call: the page shown
// and its WebGL context not lost (src/web/library.js).
extern "C" double seenMilliseconds();

struct WebTimer {
    Uint32 interval;  // milliseconds until the next call
    SDL_TimerCallback callback;
    void* param;
    long timeout;  // the browser's id of the pending call, 0 once the timer has stopped
};

namespace {

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
