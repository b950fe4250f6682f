// A probe that bench/run preloads (LD_PRELOAD) into the real game or into the
// baseline program. It counts, from outside, the calls the program makes into
// SDL, OpenGL and the C library, writes what it saw to a log, and for some
// runs plays the part of the player: it hands the program input events
// through SDL_PollEvent, as SDL's own queue would, and may choose the values
// rand() returns so that a level's balls lie where the run needs them. It
// never changes what the program computes from its events.
//
// Unlike the game, a preloaded library has no owner to keep its state in, so
// the state lives in one file-level object. Set up by environment variables:
//   QUENDLE_PROBE_OUT    the log file; without it the probe does nothing
//   QUENDLE_PROBE_T0     the exec time ($EPOCHREALTIME), for the start-up time
//   QUENDLE_PROBE_RUN    menu | pace | levels | games: who plays, and how
//   QUENDLE_PROBE_VSYNC  a display rate in Hz to wait for after every swap
//   QUENDLE_PROBE_HOLDS  levels to hold still in the levels run ("0,10,30")
//   QUENDLE_PROBE_GAMES  games to play in the games run

#include <GL/gl.h>
#include <SDL.h>

#include <dlfcn.h>
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

constexpr int TickCode = 0;           // the game's tick: SDL_USEREVENT with code 0
constexpr long SampleNs = 100000000;  // one log sample per 100 ms
constexpr long ShotNs = 500000000;    // one ball position per 500 ms in the pace run
constexpr int WindowSize = 600;       // pixels, both ways
constexpr int NewGameY = 205;         // pixel rows of the first and last menu items
constexpr int InsaneY = 339;          // (the fourth item's row is narrower)
constexpr int MenuX = 300;            // the middle column
constexpr float FallFactor = 0.01f;   // the level loop's fall per tick, times speed
constexpr float FireBelow = 0.9f;     // a shot fired now meets a ball this low in time
constexpr float InsaneSpeed = 0.27f;  // the first level's speed and the step per level
constexpr double InsaneStep = 0.12;
constexpr long SettleNs = 300000000;  // a held level settles before it is counted
constexpr long HoldNs = 2500000000;   // and is then counted this long
constexpr int BandColumns = 10;       // balls per band in the band layout, 0.21 apart
constexpr int FollowedDraw = 470;     // the followed ball's column draw: x -0.53,
constexpr int FollowedPixel = 141;    // under this pixel column
constexpr int FirstColumnDraw = 50;   // band columns: x -0.95, -0.74, ... 0.94, whose
constexpr int ColumnStepDraw = 210;   // pixel columns are FirstColumnPixel + n * ColumnStepPixel
constexpr int FirstColumnPixel = 15;
constexpr int ColumnStepPixel = 63;
constexpr int HighestRowDraw = 29;  // the highest row of a game's first level (30 rows)
constexpr int ShotRowPixel = 500;   // where the games run clicks in play

enum Mark { NoMark, HeapMark, PlayMark, DoneMark };

// One scripted input: handed out after `wait` frames with an empty queue.
struct Step {
    int wait;
    SDL_Event event;
    Mark mark;
};

struct Probe {
    std::FILE* log = nullptr;
    std::string run;
    double execTime = 0.0;  // seconds since the epoch
    long startNs = 0;       // CLOCK_MONOTONIC at load
    long vsyncNs = 0;       // 0: no emulated display rate
    std::atomic<long> ticksPushed{0};
    std::atomic<long> ticksDropped{0};
    long ticksTaken = 0;
    long ticksSwallowed = 0;  // taken while a level is held still
    long frames = 0;
    long swapNs = 0;  // time inside the real buffer swap
    int listsThisFrame = 0;
    int listsLastFrame = 0;
    long nextSampleNs = 0;
    long nextShotNs = 0;
    bool playing = false;
    std::deque<Step> plan;
    int games = 0;
    // Scripted layouts.
    std::vector<int> randValues;  // this level's draws
    int level = -1;               // levels placed in this game
    int ballCount = 0;
    float speed = 0.0f;
    long levelTicks = 0;  // ticksTaken when the level was placed
    std::vector<bool> fired;
    std::vector<int> holds;
    int holdLevel = -1;
    long holdStartNs = 0;
    bool counting = false;
    bool tickWaiting = false;  // a tick taken off the queue, handed on after the shots due
    SDL_Event waitingTick{};
    // The real functions.
    int (*realPoll)(SDL_Event*) = nullptr;
    int (*realPush)(SDL_Event*) = nullptr;
    void (*realSwap)() = nullptr;
    void (*realCallList)(GLuint) = nullptr;
    int (*realRand)() = nullptr;
};

Probe probe;

long nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000L + ts.tv_nsec - probe.startNs;
}

double wallSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

bool isTick(const SDL_Event* event) {
    return event->type == SDL_USEREVENT && event->user.code == TickCode;
}

template <typename F> F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

SDL_Event click(int x, int y, int button) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = static_cast<Uint8>(button);
    event.button.state = SDL_PRESSED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    return event;
}

SDL_Event escape() {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDLK_ESCAPE;
    return event;
}

void add(int wait, const SDL_Event& event, Mark mark = NoMark) {
    probe.plan.push_back({wait, event, mark});
}

// One event of the run: its name, the time in ms since load, two values, the
// frames and the ticks taken so far.
void logLine(const char* name, double a, double b = 0.0) {
    std::fprintf(probe.log, "%s %.3f %.3f %.3f %ld %ld\n", name, nowNs() / 1e6, a, b, probe.frames,
                 probe.ticksTaken);
    std::fflush(probe.log);
}

// One sample of the counts, for the runner to take rates from.
void sample() {
    std::fprintf(probe.log, "s %.3f %ld %ld %ld %ld %ld %.3f %d\n", nowNs() / 1e6, probe.frames,
                 probe.ticksPushed.load(), probe.ticksTaken, probe.ticksDropped.load(),
                 probe.ticksSwallowed, probe.swapNs / 1e6, probe.listsLastFrame);
    std::fflush(probe.log);
}

// A game through its whole cycle, so that every screen and the high-score
// file are used: the moon the run provides holds ten scores no game here
// reaches, so no name is asked for.
void planGame() {
    add(3, SDL_Event{}, HeapMark);
    add(3, click(MenuX, NewGameY, SDL_BUTTON_LEFT));
    add(3, click(MenuX, NewGameY, SDL_BUTTON_LEFT));
    add(30, click(MenuX - 100, ShotRowPixel, SDL_BUTTON_LEFT));
    add(0, click(MenuX + 100, ShotRowPixel, SDL_BUTTON_RIGHT));
    add(30, escape());
    add(3, click(MenuX, NewGameY, SDL_BUTTON_LEFT));
}

void makePlan() {
    if (probe.run == "pace") {
        add(5, click(MenuX, NewGameY, SDL_BUTTON_LEFT));
        add(5, click(MenuX, NewGameY, SDL_BUTTON_LEFT), PlayMark);
    } else if (probe.run == "levels") {
        add(5, click(MenuX, NewGameY, SDL_BUTTON_LEFT));
        add(5, click(MenuX, InsaneY, SDL_BUTTON_LEFT), PlayMark);
    } else if (probe.run == "games") {
        const char* count = std::getenv("QUENDLE_PROBE_GAMES");
        for (int i = 0; i < (count != nullptr ? std::atoi(count) : 0); ++i) {
            planGame();
        }
        add(3, SDL_Event{}, HeapMark);
        add(0, SDL_Event{}, DoneMark);
    }
}

void readHolds() {
    const char* text = std::getenv("QUENDLE_PROBE_HOLDS");
    while (text != nullptr && *text != '\0') {
        char* end = nullptr;
        probe.holds.push_back(static_cast<int>(std::strtol(text, &end, 10)));
        text = (*end == ',') ? end + 1 : nullptr;
    }
}

void startProbe() {
    probe.realPoll = next<int (*)(SDL_Event*)>("SDL_PollEvent");
    probe.realPush = next<int (*)(SDL_Event*)>("SDL_PushEvent");
    probe.realSwap = next<void (*)()>("SDL_GL_SwapBuffers");
    probe.realCallList = next<void (*)(GLuint)>("glCallList");
    probe.realRand = next<int (*)()>("rand");
    const char* out = std::getenv("QUENDLE_PROBE_OUT");
    if (out == nullptr) {
        return;
    }
    probe.startNs = nowNs();
    probe.log = std::fopen(out, "w");
    const char* run = std::getenv("QUENDLE_PROBE_RUN");
    probe.run = run != nullptr ? run : "menu";
    const char* t0 = std::getenv("QUENDLE_PROBE_T0");
    probe.execTime = t0 != nullptr ? std::atof(t0) : 0.0;
    const char* hz = std::getenv("QUENDLE_PROBE_VSYNC");
    probe.vsyncNs = hz != nullptr ? 1000000000L / std::atol(hz) : 0;
    readHolds();
    makePlan();
}

// Where ball b of a level is placed: (column draw, row draw). The band
// layout puts ten balls 0.21 apart in every third row, lowest band first, so
// that none clashes and each lies under a whole pixel column. The pace layout
// puts one ball in the lowest row, to be followed on screen, and the others
// in the highest, so that the level lasts.
int layoutDraw(int call) {
    const int ball = call / 2;
    const bool row = (call % 2) == 1;
    if (probe.run == "pace") {
        if (ball == 0) {
            return row ? 0 : FollowedDraw;
        }
        // Column 2 is the followed ball's own.
        const int column = ball < 3 ? ball - 1 : ball;
        return row ? HighestRowDraw : FirstColumnDraw + ColumnStepDraw * column;
    }
    return row ? 3 * (ball / BandColumns) : FirstColumnDraw + ColumnStepDraw * (ball % BandColumns);
}

float bandY(int ball) {
    return static_cast<float>((3 * (ball / BandColumns) * 100) / 1000.0 + 1.1);
}

// Called at the first poll after a level's draws: its balls are all placed.
void levelPlaced() {
    probe.ballCount = static_cast<int>(probe.randValues.size() / 3);
    probe.randValues.clear();
    ++probe.level;
    probe.speed = probe.level == 0
                      ? InsaneSpeed
                      : static_cast<float>(static_cast<double>(probe.speed) + InsaneStep);
    probe.fired.assign(static_cast<std::size_t>(probe.ballCount), false);
    logLine("level", probe.level, probe.ballCount);
}

float ballY(int ball) {
    return bandY(ball) - (probe.ticksTaken - probe.levelTicks) * probe.speed * FallFactor;
}

int colorOf(int ball) {
    // The colour draws follow the position draws, one per ball, in order.
    return layoutDraw(2 * probe.ballCount + ball) & 1;
}

bool wantsHold() {
    for (const int level : probe.holds) {
        if (level == probe.level) {
            return true;
        }
    }
    return false;
}

// A level to be held that is not yet done with.
bool holdPending() {
    return probe.run == "levels" && probe.ballCount > 0 && wantsHold() &&
           probe.holdLevel != probe.level;
}

// The height at which the lowest band stops: as many bands in view as fit,
// the lowest still clear of the bottom edge.
float holdHeight() {
    const int bands = (probe.ballCount + BandColumns - 1) / BandColumns;
    return std::max(1.0f - 0.3f * static_cast<float>(bands - 1), -0.85f);
}

// Decided for every tick taken, so that the balls stop where they should
// however few frames are drawn: from the tick that brings the lowest band to
// its height on, the ticks are swallowed and the same balls stay drawn.
bool swallowTick() {
    if (!holdPending()) {
        return false;
    }
    if (probe.holdStartNs == 0 && ballY(0) > holdHeight()) {
        return false;
    }
    if (probe.holdStartNs == 0) {
        probe.holdStartNs = nowNs();
    }
    return true;
}

// While a level is held or still coming into view, nobody shoots; the frames
// are counted once the hold has settled.
bool holdStill() {
    if (!holdPending()) {
        return false;
    }
    if (probe.holdStartNs == 0) {
        return true;
    }
    const long held = nowNs() - probe.holdStartNs;
    // A sample right before each mark: the runner counts the frames between them.
    if (!probe.counting && held > SettleNs) {
        probe.counting = true;
        sample();
        logLine("hold", probe.level, 0);
    }
    if (held > SettleNs + HoldNs) {
        sample();
        logLine("unhold", probe.level, 0);
        probe.holdLevel = probe.level;
        probe.holdStartNs = 0;
        probe.counting = false;
        return false;
    }
    return true;
}

// The levels run's player: a shot of the right colour under every ball that
// is low enough, lowest band first, so that the oldest shot in a column
// always meets the lowest ball.
bool fireNext(SDL_Event* event) {
    for (int ball = 0; ball < probe.ballCount; ++ball) {
        if (!probe.fired[static_cast<std::size_t>(ball)] && ballY(ball) <= FireBelow) {
            probe.fired[static_cast<std::size_t>(ball)] = true;
            const int x = FirstColumnPixel + ColumnStepPixel * (ball % BandColumns);
            *event =
                click(x, WindowSize / 2, colorOf(ball) == 1 ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
            return true;
        }
    }
    return false;
}

// The next event of the real queue, without the ticks of a held level: 0
// when there is none.
int takeEvent(SDL_Event* event) {
    for (;;) {
        if (probe.realPoll(event) == 0) {
            return 0;
        }
        if (!isTick(event) || !swallowTick()) {
            return 1;
        }
        ++probe.ticksSwallowed;
    }
}

int scripted(SDL_Event* event) {
    if (!probe.plan.empty()) {
        Step& step = probe.plan.front();
        if (step.wait > 0) {
            --step.wait;
            return 0;
        }
        const Step taken = step;
        probe.plan.pop_front();
        if (taken.mark == HeapMark) {
            const struct mallinfo2 heap = mallinfo2();
            logLine("heap", static_cast<double>(heap.uordblks), ++probe.games);
            return 0;
        }
        if (taken.mark == DoneMark) {
            logLine("done", probe.games);
            return 0;
        }
        if (taken.mark == PlayMark) {
            probe.playing = true;
            logLine("play", 0.0);
        }
        *event = taken.event;
        return 1;
    }
    if (probe.run == "levels" && probe.ballCount > 0 && !holdStill()) {
        return fireNext(event) ? 1 : 0;
    }
    return 0;
}

// The pace run's timed screenshot: the column under the followed ball, read
// back from the frame about to be shown; the ball's centre is the middle of
// the longest run of pixels that are not the background.
void shootBall() {
    unsigned char column[WindowSize * 4];
    glReadPixels(FollowedPixel, 0, 1, WindowSize, GL_RGBA, GL_UNSIGNED_BYTE, column);
    int bestStart = 0;
    int bestLength = 0;
    int start = 0;
    for (int row = 0; row <= WindowSize; ++row) {
        const unsigned char* p = column + 4 * row;
        const bool ball =
            row < WindowSize &&
            (std::abs(p[0] - 153) > 8 || std::abs(p[1] - 153) > 8 || std::abs(p[2] - 178) > 8);
        if (!ball) {
            if (row - start > bestLength) {
                bestLength = row - start;
                bestStart = start;
            }
            start = row + 1;
        }
    }
    logLine("ball", bestStart + bestLength / 2.0, bestLength);
}

// The renderer, and the swap interval the library reports for the window:
// 1 when it will wait for the display's vertical blank where there is one.
void describeContext() {
    const auto getAttribute =
        reinterpret_cast<int (*)(SDL_GLattr, int*)>(dlsym(RTLD_DEFAULT, "SDL_GL_GetAttribute"));
    int interval = -1;
    if (getAttribute != nullptr) {
        getAttribute(SDL_GL_SWAP_CONTROL, &interval);
    }
    std::fprintf(probe.log, "renderer %s | %s\nswap-interval %d\n", glGetString(GL_RENDERER),
                 glGetString(GL_VERSION), interval);
}

void waitForDisplay() {
    const long now = nowNs();
    const long due = (now / probe.vsyncNs + 1) * probe.vsyncNs + probe.startNs;
    timespec ts{};
    ts.tv_sec = due / 1000000000L;
    ts.tv_nsec = due % 1000000000L;
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
}

// Starts the probe once the state above is built: objects of one file are
// built in the order they are defined.
struct ProbeStarter {
    ProbeStarter() { startProbe(); }
} starter;

}  // namespace

extern "C" {

int SDL_PollEvent(SDL_Event* event) {
    if (probe.log == nullptr || event == nullptr) {
        return probe.realPoll(event);
    }
    if (!probe.randValues.empty()) {
        levelPlaced();
    }
    if (!probe.tickWaiting) {
        if (!takeEvent(event)) {
            return scripted(event);
        }
        if (!isTick(event)) {
            return 1;
        }
        probe.waitingTick = *event;
        probe.tickWaiting = true;
    }
    // The player fires before the world steps, so that however long a frame
    // takes, no ball falls past the height at which its shot was due.
    if (probe.run == "levels" && probe.ballCount > 0 && !holdStill() && fireNext(event)) {
        return 1;
    }
    *event = probe.waitingTick;
    probe.tickWaiting = false;
    ++probe.ticksTaken;
    return 1;
}

int SDL_PushEvent(SDL_Event* event) {
    const int result = probe.realPush(event);
    if (probe.log != nullptr && event != nullptr && isTick(event)) {
        ++probe.ticksPushed;
        if (result < 0) {
            ++probe.ticksDropped;
        }
    }
    return result;
}

void SDL_GL_SwapBuffers() {
    if (probe.log == nullptr) {
        probe.realSwap();
        return;
    }
    ++probe.frames;
    probe.listsLastFrame = probe.listsThisFrame;
    probe.listsThisFrame = 0;
    if (probe.run == "pace" && probe.playing && nowNs() >= probe.nextShotNs) {
        probe.nextShotNs = nowNs() + ShotNs;
        shootBall();
    }
    // Sampled before the swap: the queue was just found empty, so every tick
    // pushed so far has been taken.
    if (nowNs() >= probe.nextSampleNs) {
        probe.nextSampleNs = nowNs() + SampleNs;
        sample();
    }
    const long before = nowNs();
    probe.realSwap();
    probe.swapNs += nowNs() - before;
    if (probe.frames == 1) {
        describeContext();
    }
    if (probe.frames <= 2 && probe.execTime > 0.0) {
        // Shown: the swap has returned.
        logLine(probe.frames == 1 ? "frame1" : "frame2", (wallSeconds() - probe.execTime) * 1e3);
    }
    if (probe.vsyncNs > 0) {
        waitForDisplay();
    }
}

void glCallList(GLuint list) {
    ++probe.listsThisFrame;
    probe.realCallList(list);
}

int rand() {
    if (probe.log == nullptr || (probe.run != "pace" && probe.run != "levels")) {
        return probe.realRand();
    }
    if (probe.randValues.empty()) {
        probe.levelTicks = probe.ticksTaken;  // placement comes before the level's first poll
    }
    const int value = layoutDraw(static_cast<int>(probe.randValues.size()));
    probe.randValues.push_back(value);
    return value;
}
}
