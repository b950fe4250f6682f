#include "play/BallColor.h"
#include "play/BallSet.h"
#include "play/LevelParameters.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// Steps timed per iteration: a shot fired at the bottom is still in flight
// after 20 steps, so every timed step sees all of them.
constexpr int StepsPerRound = 20;

// Balls spread over the right part of the field, standing still; the shots
// rise at the far left, so each step tests every shot against every ball
// and nothing is removed.
void fillWorld(BallSet& world, int ballCount) {
    constexpr int Columns = 17;
    for (int i = 0; i < ballCount; ++i) {
        const float x = -0.7f + 0.1f * static_cast<float>(i % Columns);
        const float y = -0.9f + 0.0018f * static_cast<float>(i / Columns) * 17;
        world.addBall(Ball(0.0f, x, y, i & 1));
    }
}

void refillShots(BallSet& world, int shotCount) {
    world.dropShots();
    for (int i = 0; i < shotCount; ++i) {
        world.fireShot(i & 1, -0.95f);
    }
}

// One world step with the given numbers of balls and shots in play. The
// reported time is per step; the CPU column also holds the untimed refills.
void BM_Step(benchmark::State& state) {
    const int ballCount = static_cast<int>(state.range(0));
    const int shotCount = static_cast<int>(state.range(1));
    BallSet world;
    fillWorld(world, ballCount);
    for (auto _ : state) {
        refillShots(world, shotCount);
        const auto start = std::chrono::steady_clock::now();
        for (int step = 0; step < StepsPerRound; ++step) {
            benchmark::DoNotOptimize(world.step(BallSet::LevelFallFactor));
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count() / StepsPerRound);
    }
    if (world.getBalls().size() != static_cast<std::size_t>(ballCount)) {
        state.SkipWithError("a ball left the world");
    }
}
BENCHMARK(BM_Step)
    ->ArgNames({"balls", "shots"})
    ->ArgsProduct({{10, 100, 1000}, {1, 10, 100}})
    ->UseManualTime()
    // Manual time counts the steps only (a twentieth of each round), so a
    // short minimum still runs each case for about a second.
    ->MinTime(0.05);

// Placing the balls at the start of a level of a game on "Normal".
void BM_SpawnBalls(benchmark::State& state) {
    LevelParameters level = firstLevel(Normal);
    while (level.number < state.range(0)) {
        level = nextLevel(level, Normal);
    }
    BallSet world;
    std::srand(1);
    for (auto _ : state) {
        world.spawnBalls(level.ballCount, level.speed, level.spread);
        benchmark::ClobberMemory();
    }
    state.counters["balls"] = level.ballCount;
    state.counters["rows"] = level.spread;
}
BENCHMARK(BM_SpawnBalls)->ArgName("level")->Arg(0)->Arg(10)->Arg(30)->Arg(60);

}  // namespace

int main(int argc, char** argv) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::printf("Unable to init SDL: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);
    if (SDL_SetVideoMode(600, 600, 32, SDL_OPENGL) == nullptr) {
        std::printf("Unable to open an OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
