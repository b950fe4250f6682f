// Preloaded by bench/run into the game or the baseline, or linked into its web page: counts
// frames, ticks and display lists, logs the heap and the page faults, and plays by the game's
// own rules: it hands input to SDL_PollEvent when the queue is empty and, in the levels run,
// answers rand() to lay the balls out in bands. Set up by QUENDLE_PROBE_OUT (the log, one JSON
// object a line), _RUN (menu, pace, levels or games) and _GAMES.

#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/FrameTimer.h"
#include "play/LevelParameters.h"
#include "play/Placement.h"
#include "text/MenuLayout.h"

#include <GL/gl.h>
#include <SDL.h>
#include <malloc.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#ifdef __EMSCRIPTEN__
// The page is linked with --wrap for each name the probe takes over: the
// game's calls reach __wrap_NAME, and __real_NAME is the library's own.
extern "C" int __real_SDL_PollEvent(SDL_Event*), __real_rand();
extern "C" void __real_SDL_GL_SwapBuffers(), __real_glCallList(GLuint);
#define PROBE_HOOK(name) __wrap_##name
#define PROBE_REAL(name) &__real_##name
#define mallinfo2 mallinfo  // the web's allocator has only the older call
#else
#include <dlfcn.h>
#define PROBE_HOOK(name) name
#define PROBE_REAL(name) reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name))
#endif

namespace {

constexpr long long SampleNs = 100000000;  // a sample every 100 ms
constexpr long long SettleNs = 300000000;  // a held level settles this long,
constexpr long long HoldNs = 6000000000;   // then is counted this long
constexpr float FireBelow = 0.9f;          // the player shoots a ball once this low
constexpr float ColumnGap = 0.01f;         // between two balls of a band
constexpr int HeldLevels[] = {0, 10, 30};  // 10, 40 and 100 balls: 70 fit in view

long long clockNs(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// The levels run's layout: bands of balls a gap apart from a quarter ball off
// the left edge, lowest first, in rows just far enough apart not to clash.
int rowsApart(float spacing) {
    int rows = 1;
    while (placementRow(rows, rows + 1) - placementRow(0, rows + 1) <= spacing) {
        ++rows;
    }
    return rows;
}
struct Layout {
    float spacing = 2.0f * BallModels::BallRadius;
    float firstX = -1.0f + spacing / 4.0f;
    float step = spacing + ColumnGap;
    int columns = static_cast<int>((1.0f - firstX) / step) + 1;
    int rows = rowsApart(spacing);
    float bandStep = placementRow(rows, rows + 1) - placementRow(0, rows + 1);
    float columnX(int ball) const { return firstX + step * (ball % columns); }
    // rand() call `call` of a level's placement: x, y, x, y, ..., then the colours.
    int draw(int call) const {
        const float drawWidth = placementColumn(1) - placementColumn(0);
        return call % 2 == 1
                   ? rows * (call / 2 / columns)
                   : static_cast<int>((columnX(call / 2) - placementColumn(0)) / drawWidth + 0.5f);
    }
} const layout;

// Handed out after `wait` polls found the queue empty; type 0 only marks the log.
struct Step {
    int wait;
    SDL_Event event;
    const char* mark = nullptr;
};

// A preloaded library has no owner to keep state in: it lives in this object.
struct Probe {
    std::FILE* log = nullptr;
    std::string run;
    long taken = 0, frames = 0;
    long long nextSampleNs = 0;
    int lists = 0, listsShown = 0, draws = 0;
    std::deque<Step> plan;
    LevelParameters level{-1, 0, 0.0f, 0};  // the level last placed
    long levelTicks = 0;                    // ticks taken when it was placed
    std::vector<bool> fired;
    std::vector<int> holds{HeldLevels, HeldLevels + 3};
    long long holdStartNs = 0;  // 0: not holding
    bool counting = false;
    int (*poll)(SDL_Event*) = PROBE_REAL(SDL_PollEvent);
    void (*swap)() = PROBE_REAL(SDL_GL_SwapBuffers);
    void (*callList)(GLuint) = PROBE_REAL(glCallList);
    int (*realRand)() = PROBE_REAL(rand);

    Probe() {
        const char* out = std::getenv("QUENDLE_PROBE_OUT");
        log = out != nullptr ? std::fopen(out, "w") : nullptr;
        run =
            std::getenv("QUENDLE_PROBE_RUN") != nullptr ? std::getenv("QUENDLE_PROBE_RUN") : "menu";
    }
    bool levels() const { return run == "levels"; }
    bool holdPending() const { return std::count(holds.begin(), holds.end(), level.number) > 0; }
    float ballY(int ball) const {
        const float placed = placementRow(layout.draw(2 * ball + 1), level.spread);
        return placed - (taken - levelTicks) * level.speed * BallSet::LevelFallFactor;
    }
    // The lowest band stops where as many bands are in view as fit above it.
    float holdHeight() const {
        const int bands = (level.ballCount + layout.columns - 1) / layout.columns;
        return std::max(1.0f - layout.bandStep * (bands - 1),
                        -1.0f + 1.5f * BallModels::BallRadius);
    }
};
Probe probe;

// A log line with every count: {"e": name, "t": ms (monotonic), ...}.
void logLine(const char* name, const std::string& extra = "") {
    const auto heap = static_cast<std::size_t>(mallinfo2().uordblks);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(probe.log,
                 "{\"e\": \"%s\", \"t\": %.3f, \"wall\": %.6f, \"frames\": %ld, \"taken\": %ld, "
                 "\"lists\": %d, \"faults\": %ld, \"heap\": %zu, \"level\": %d%s}\n",
                 name, clockNs(CLOCK_MONOTONIC) / 1e6, clockNs(CLOCK_REALTIME) / 1e9, probe.frames,
                 probe.taken, probe.listsShown, usage.ru_minflt, heap, probe.level.number,
                 extra.c_str());
    std::fflush(probe.log);
}

// A click at field x (-1 .. 1) and click y (-1 top .. 1 bottom) of the window.
SDL_Event click(double x, double y, int button = SDL_BUTTON_LEFT) {
    const SDL_Surface* screen = SDL_GetVideoSurface();
    SDL_Event event{};
    event.type = event.button.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = static_cast<Uint8>(button);
    event.button.x = static_cast<Uint16>((x + 1.0) / 2.0 * screen->w);
    event.button.y = static_cast<Uint16>((y + 1.0) / 2.0 * screen->h);
    return event;
}

SDL_Event menuClick(int item) {
    return click(0.0, (MenuRows[item].clickTop + MenuRows[item].clickBottom) / 2.0);
}

// Made at the first frame, for a click needs the window's size. A game uses every
// screen and the high-score file (whose ten scores no game here reaches).
void makePlan() {
    const Difficulty difficulty = probe.run == "pace" ? Easy : Insane;
    if (probe.run == "pace" || probe.levels()) {
        probe.plan = {{5, menuClick(0)}, {5, menuClick(difficulty - 1), "play"}};
    }
    SDL_Event escape{SDL_KEYDOWN};
    escape.key.keysym.sym = SDLK_ESCAPE;
    const char* games = std::getenv("QUENDLE_PROBE_GAMES");
    for (int game = 0; probe.run == "games" && game < std::atoi(games); ++game) {
        probe.plan.insert(probe.plan.end(), {{3, SDL_Event{}, "heap"},
                                             {3, menuClick(0)},
                                             {3, menuClick(Easy - 1)},
                                             {30, click(-0.3, 0.7)},
                                             {0, click(0.3, 0.7, SDL_BUTTON_RIGHT)},
                                             {30, escape},
                                             {3, menuClick(0)}});
    }
    probe.plan.push_back({3, SDL_Event{}, "heap"});
}

// From the tick that brings the lowest band to its height, ticks are swallowed.
bool swallowTick() {
    if (!probe.holdPending() || (probe.holdStartNs == 0 && probe.ballY(0) > probe.holdHeight())) {
        return false;
    }
    probe.holdStartNs = probe.holdStartNs == 0 ? clockNs(CLOCK_MONOTONIC) : probe.holdStartNs;
    return true;
}

// True while a level is held or comes into view to be held: nobody shoots.
bool holding() {
    if (!probe.holdPending()) {
        return false;
    }
    const auto held = probe.holdStartNs == 0 ? 0 : clockNs(CLOCK_MONOTONIC) - probe.holdStartNs;
    if (!probe.counting && held > SettleNs) {
        probe.counting = true;
        logLine("hold");
    } else if (held > SettleNs + HoldNs) {
        logLine("unhold");
        probe.holds.erase(std::find(probe.holds.begin(), probe.holds.end(), probe.level.number));
        probe.holdStartNs = 0;
        probe.counting = false;
        return false;
    }
    return true;
}

// A shot of the ball's colour under every ball low enough, lowest band first.
bool fireNext(SDL_Event* event) {
    for (int ball = 0; probe.levels() && !holding() && ball < probe.level.ballCount; ++ball) {
        if (!probe.fired[ball] && probe.ballY(ball) <= FireBelow) {
            probe.fired[ball] = true;
            const bool blue = (layout.draw(2 * probe.level.ballCount + ball) & 1) == Blue;
            *event = click(layout.columnX(ball), 0.0, blue ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
            return true;
        }
    }
    return false;
}

int scripted(SDL_Event* event) {
    if (probe.plan.empty() || probe.plan.front().wait-- > 0) {
        return fireNext(event) ? 1 : 0;
    }
    const Step step = probe.plan.front();
    probe.plan.pop_front();
    if (step.mark != nullptr) {
        logLine(step.mark);
    }
    *event = step.event;
    return event->type != 0 ? 1 : 0;
}

}  // namespace

extern "C" {

int PROBE_HOOK(SDL_PollEvent)(SDL_Event* event) {
    if (probe.log == nullptr || event == nullptr) {
        return probe.poll(event);
    }
    // The player fires before the next step, so no ball falls past its shot.
    if (fireNext(event)) {
        return 1;
    }
    while (probe.poll(event) != 0) {
        const bool tick = event->type == SDL_USEREVENT && event->user.code == FrameTimer::TickCode;
        if (!tick || !swallowTick()) {
            probe.taken += tick ? 1 : 0;
            return 1;
        }
    }
    return scripted(event);
}

// The first two frames are marked when their swap returns: start-up time.
void PROBE_HOOK(SDL_GL_SwapBuffers)() {
    probe.swap();
    if (probe.log == nullptr) {
        return;
    }
    probe.listsShown = probe.lists;
    probe.lists = 0;
    if (++probe.frames <= 2) {
        const std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        logLine(probe.frames == 1 ? "frame1" : "frame2", ", \"renderer\": \"" + renderer + "\"");
    }
    if (probe.frames == 1) {
        makePlan();
    }
    if (clockNs(CLOCK_MONOTONIC) >= probe.nextSampleNs) {
        probe.nextSampleNs = clockNs(CLOCK_MONOTONIC) + SampleNs;
        logLine("s");
    }
}

void PROBE_HOOK(glCallList)(GLuint list) {
    ++probe.lists;
    probe.callList(list);
}

// The levels run places every level's balls; the level is placed at its last draw.
int PROBE_HOOK(rand)() {
    if (probe.log == nullptr || !probe.levels()) {
        return probe.realRand();
    }
    const LevelParameters placing =
        probe.level.number < 0 ? firstLevel(Insane) : nextLevel(probe.level, Insane);
    probe.levelTicks = probe.taken;
    const int value = layout.draw(probe.draws++);
    if (probe.draws == 3 * placing.ballCount) {
        probe.level = placing;
        probe.draws = 0;
        probe.fired.assign(static_cast<std::size_t>(placing.ballCount), false);
    }
    return value;
}
}
