#include "play/BallSet.h"
#include "play/LevelParameters.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

// A shot fired at the bottom is still in flight after 20 steps: each step sees all.
constexpr int StepsPerRound = 20;

// One world step, balls standing still at the right and shots rising at the far
// left: every shot is tested against every ball, and nothing is removed.
void BM_Step(benchmark::State& state) {
    BallSet world;
    for (int i = 0; i < state.range(0); ++i) {
        world.addBall(Ball(0.0f, -0.7f + 0.1f * (i % 17), -0.9f + 0.0306f * (i / 17), i & 1));
    }
    for (auto _ : state) {
        world.dropShots();
        for (int i = 0; i < state.range(1); ++i) {
            world.fireShot(i & 1, -0.95f);
        }
        const auto start = std::chrono::steady_clock::now();
        for (int step = 0; step < StepsPerRound; ++step) {
            benchmark::DoNotOptimize(world.step(BallSet::LevelFallFactor));
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count() / StepsPerRound);
    }
}
BENCHMARK(BM_Step)->ArgsProduct({{10, 100, 1000}, {1, 10, 100}})->UseManualTime()->MinTime(0.05);

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
}
BENCHMARK(BM_SpawnBalls)->Arg(0)->Arg(10)->Arg(30)->Arg(60);

}  // namespace

// The ball set builds display lists: the benchmarks need an OpenGL window.
int main(int argc, char** argv) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || SDL_SetVideoMode(600, 600, 32, SDL_OPENGL) == nullptr) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    SDL_Quit();
}
