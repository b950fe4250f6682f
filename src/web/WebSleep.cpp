// nanosleep for the browser, with nanosleep(2)'s contract, so that the game
// waits as on the desktop with no #ifdef. Emscripten's own keeps the page's
// only thread busy; this one suspends the game while the page goes on.
#include <ctime>

#include "web/PosixCalls.h"

namespace {

constexpr double MillisecondsPerSecond = 1000.0;
constexpr double NanosecondsPerMillisecond = 1000.0 * 1000.0;
constexpr long NanosecondsPerSecond = 1000L * 1000L * 1000L;

}  // namespace

extern "C" int nanosleep(const timespec* duration, timespec* remaining) {
    if (duration == nullptr || duration->tv_sec < 0 || duration->tv_nsec < 0 ||
        duration->tv_nsec >= NanosecondsPerSecond) {
        return failWith(EINVAL);
    }
    sleepFor(static_cast<double>(duration->tv_sec) * MillisecondsPerSecond +
             static_cast<double>(duration->tv_nsec) / NanosecondsPerMillisecond);
    if (remaining != nullptr) {
        *remaining = timespec{};
    }
    return 0;
}
