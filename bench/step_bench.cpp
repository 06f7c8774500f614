// How long one World::step takes: on stage 20 (the largest roster, 9 balls) and on the title
// stage (8 Darks, the field held level after every step as the title screen does). Each run
// loads the stage afresh, untimed, and times the first steps, while every ball is in play.
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int StepsPerRun = 50;
constexpr int BusiestStage = 20;

void loadFresh(int stage) {
    lives = StartingLives;
    stageNumber = stage;
    loadStage();
}

void stepStage(benchmark::State& state) {
    const int stage = static_cast<int>(state.range(0));
    const bool holdLevel = stage == TitleStage;
    for (auto _ : state) {
        state.PauseTiming();
        loadFresh(stage);
        state.ResumeTiming();
        for (int step = 0; step < StepsPerRun; ++step) {
            benchmark::DoNotOptimize(gameWorld.step(0.0f, 0.0f, 0.0f, 0.0f));
            if (holdLevel) {
                gameWorld.tiltX = 0.0f;
                gameWorld.tiltY = 0.0f;
            }
        }
    }
    state.counters["balls"] = gameWorld.ballCount;
    // Time per step, shown in seconds with a unit prefix.
    state.counters["per_step"] = benchmark::Counter(
        StepsPerRun, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(stepStage)->Arg(BusiestStage)->Arg(TitleStage);

} // namespace

BENCHMARK_MAIN();
