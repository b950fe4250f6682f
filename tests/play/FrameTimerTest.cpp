#include "play/FrameTimer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A callback may still run after its timer is removed, so the clock it
// reaches outlives every timer, as the game's does.
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

TEST(FrameTimerPace, ACallbackPostsTheTicksTheClockOwesUpToTheBound) {
    struct Case {
        Uint32 now;
        Uint32 counted;
        Uint32 due;
    };
    const Uint32 bound = FrameTimer::MaxCatchUpTicks;
    const Case cases[] = {
        {10, 0, 1},      {20, 1, 1},        {1000, 99, 1},  // on time
        {9, 0, 1},       {11, 0, 1},        {24, 1, 1},     // a few milliseconds early or late
        {0, 0, 0},       {4, 0, 0},         {30, 3, 0},    {30, 5, 0},  // nothing owed yet
        {50, 1, 4},      {100, 0, 10},                                  // late by several ticks
        {110, 0, bound}, {60000, 5, bound},                             // a long stall
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameTimer::ticksDue(c.now, c.counted, Interval), c.due)
            << "at " << c.now << " ms with " << c.counted << " counted";
    }
    // The event queue holds 128 events: one callback must never come near it.
    EXPECT_LT(bound, 128u);
}

TEST(FrameTimerPace, TheClockCountsWholeIntervalsToTheNearest) {
    const Uint32 moments[] = {0, 4, 5, 14, 1000};
    const Uint32 counts[] = {0, 0, 1, 1, 100};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(FrameTimer::ticksByClock(moments[i], Interval), counts[i]) << moments[i];
    }
}

TEST(FrameTimerPace, ATimerReArmedLateStillDeliversAHundredTicksASecond) {
    // Rescheduled from when the callback ran: every sixth period is 11 ms.
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

TEST(FrameTimerPace, ALongStallIsForgivenBeyondTheBound) {
    // One bounded burst after the stall, not a replay of the lost five seconds.
    const Uint32 posted = ticksPostedAt({10, 20, 5000, 5010, 5020});
    EXPECT_EQ(posted, 2u + FrameTimer::MaxCatchUpTicks + 2u);
}

TEST(FrameTimer, KeepsPostingTickEventsWithCodeZeroAndNoData) {
    TickClock& clock = clockForTimers();
    drainEvents();
    FrameTimer timer(Interval, clock);
    int ticks = 0;
    SDL_Event event;
    // The window may still report itself (exposure, focus) among the ticks.
    while (ticks < 5 && SDL_WaitEvent(&event) == 1) {
        if (event.type == SDL_USEREVENT) {
            EXPECT_EQ(event.user.code, FrameTimer::TickCode);
            EXPECT_EQ(event.user.data1, nullptr);
            EXPECT_EQ(event.user.data2, nullptr);
            ++ticks;
        }
    }
    EXPECT_EQ(ticks, 5);
}

TEST(FrameTimer, AFreshClockOrALevelsTimerOnceGoneLeavesNothingDue) {
    EXPECT_EQ(TickClock().takeDue(), 0u);
    TickClock& clock = clockForTimers();
    { FrameTimer timer(Interval, clock); }
    // What a callback already under way when the timer went would find.
    EXPECT_EQ(clock.takeDue(), 0u);
}
