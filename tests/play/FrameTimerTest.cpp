#include "play/FrameTimer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A callback may still run after its timer is removed, so the clock it
// reaches lives as long as the test program, as the game's lives as long as
// the game.
std::unique_ptr<TickClock> processClock;

TickClock& clockForTimers() {
    testGame();
    if (!processClock) {
        processClock = std::make_unique<TickClock>();
    }
    return *processClock;
}

constexpr Uint32 Interval = 10;

// Feeds callbacks at the given moments (ms since the start) through the due
// rule as the timer's thread does, and returns how many ticks went out.
Uint32 ticksPostedAt(const std::vector<Uint32>& callbackMoments) {
    Uint32 counted = 0;
    Uint32 posted = 0;
    for (const Uint32 moment : callbackMoments) {
        posted += FrameTimer::ticksDue(moment, counted, Interval);
        counted = FrameTimer::ticksByClock(moment, Interval);
    }
    return posted;
}

}  // namespace

TEST(FrameTimerPace, ACallbackOnTimePostsOneTick) {
    EXPECT_EQ(FrameTimer::ticksDue(10, 0, Interval), 1u);
    EXPECT_EQ(FrameTimer::ticksDue(20, 1, Interval), 1u);
    EXPECT_EQ(FrameTimer::ticksDue(1000, 99, Interval), 1u);
}

TEST(FrameTimerPace, AFewMillisecondsEarlyOrLateStillPostOne) {
    EXPECT_EQ(FrameTimer::ticksDue(9, 0, Interval), 1u);
    EXPECT_EQ(FrameTimer::ticksDue(11, 0, Interval), 1u);
    EXPECT_EQ(FrameTimer::ticksDue(24, 1, Interval), 1u);
}

TEST(FrameTimerPace, NothingIsDueBeforeTheClockOwesIt) {
    EXPECT_EQ(FrameTimer::ticksDue(0, 0, Interval), 0u);
    EXPECT_EQ(FrameTimer::ticksDue(4, 0, Interval), 0u);
    EXPECT_EQ(FrameTimer::ticksDue(30, 3, Interval), 0u);
    EXPECT_EQ(FrameTimer::ticksDue(30, 5, Interval), 0u);
}

TEST(FrameTimerPace, ACallbackLateBySeveralTicksPostsThatMany) {
    EXPECT_EQ(FrameTimer::ticksDue(50, 1, Interval), 4u);
    EXPECT_EQ(FrameTimer::ticksDue(100, 0, Interval), 10u);
}

TEST(FrameTimerPace, CatchUpStopsAtTheBound) {
    EXPECT_EQ(FrameTimer::ticksDue(110, 0, Interval), FrameTimer::MaxCatchUpTicks);
    EXPECT_EQ(FrameTimer::ticksDue(60000, 5, Interval), FrameTimer::MaxCatchUpTicks);
    // The event queue holds 128 events: one callback must never come near it.
    EXPECT_LT(FrameTimer::MaxCatchUpTicks, 128u);
}

TEST(FrameTimerPace, TheClockCountsWholeIntervalsToTheNearest) {
    EXPECT_EQ(FrameTimer::ticksByClock(0, Interval), 0u);
    EXPECT_EQ(FrameTimer::ticksByClock(4, Interval), 0u);
    EXPECT_EQ(FrameTimer::ticksByClock(5, Interval), 1u);
    EXPECT_EQ(FrameTimer::ticksByClock(14, Interval), 1u);
    EXPECT_EQ(FrameTimer::ticksByClock(1000, Interval), 100u);
}

TEST(FrameTimerPace, ATimerReArmedLateStillDeliversAHundredTicksASecond) {
    // Rescheduled from the moment the callback ran: every sixth period is
    // 11 ms instead of 10, so only about 98 callbacks fall in a second.
    std::vector<Uint32> moments;
    Uint32 now = 0;
    for (int callback = 1; now < 60000; ++callback) {
        now += callback % 6 == 0 ? 11 : 10;
        moments.push_back(now);
    }
    ASSERT_LT(moments.size(), 5910u);
    ASSERT_GE(moments.back(), 60000u);
    const Uint32 posted = ticksPostedAt(moments);
    EXPECT_EQ(posted, FrameTimer::ticksByClock(moments.back(), Interval));
    EXPECT_GE(posted, 6000u);
}

TEST(FrameTimerPace, ATimerOnTimePostsOneTickPerCallback) {
    std::vector<Uint32> moments;
    for (Uint32 callback = 1; callback <= 1000; ++callback) {
        moments.push_back(callback * Interval);
    }
    EXPECT_EQ(ticksPostedAt(moments), 1000u);
}

TEST(FrameTimerPace, ALongStallIsForgivenBeyondTheBound) {
    // Callbacks at 10, 20, then nothing until 5 s: the level resumes at its
    // own pace with one bounded burst, not a replay of the lost five seconds.
    const Uint32 posted = ticksPostedAt({10, 20, 5000, 5010, 5020});
    EXPECT_EQ(posted, 2u + FrameTimer::MaxCatchUpTicks + 2u);
}

TEST(FrameTimer, PostsTickEventsWithCodeZeroAndNoData) {
    TickClock& clock = clockForTimers();
    drainEvents();
    FrameTimer timer(Interval, clock);
    SDL_Event event;
    // The window may still report itself (exposure, focus); the first user event is the tick.
    do {
        ASSERT_EQ(SDL_WaitEvent(&event), 1);
    } while (event.type != SDL_USEREVENT);
    EXPECT_EQ(event.user.code, FrameTimer::TickCode);
    EXPECT_EQ(event.user.data1, nullptr);
    EXPECT_EQ(event.user.data2, nullptr);
}

TEST(FrameTimer, KeepsTicking) {
    TickClock& clock = clockForTimers();
    drainEvents();
    FrameTimer timer(Interval, clock);
    int ticks = 0;
    SDL_Event event;
    while (ticks < 5 && SDL_WaitEvent(&event) == 1) {
        if (event.type == SDL_USEREVENT && event.user.code == FrameTimer::TickCode) {
            ++ticks;
        }
    }
    EXPECT_EQ(ticks, 5);
}

TEST(TickClock, OwesNothingBeforeItStartsOrAfterItStops) {
    TickClock clock;
    EXPECT_EQ(clock.takeDue(), 0u);
    clock.start(Interval);
    clock.stop();
    EXPECT_EQ(clock.takeDue(), 0u);
}

TEST(FrameTimer, ALevelsTimerOnceGoneLeavesNothingDue) {
    TickClock& clock = clockForTimers();
    { FrameTimer timer(Interval, clock); }
    // What a callback already under way when the timer went would find.
    EXPECT_EQ(clock.takeDue(), 0u);
}
