// What a beep costs the frame that asks for it, and what the tone costs the audio thread.
#include "platform/beep.h"
#include "platform/tone.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr int SampleRate = 48000;
constexpr int BufferSamples = 512;

// The beep call on a running audio device (SDL's dummy driver: the same path, no sound card).
void BM_BeepCall(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!openBeep()) {
        state.SkipWithError("no audio device");
        return;
    }
    for (auto _ : state) {
        beep(880);
    }
    closeBeep();
}
BENCHMARK(BM_BeepCall);

// One audio buffer of a sounding tone, as the audio thread renders it.
void BM_ToneBuffer(benchmark::State& state) {
    ToneGenerator tone(SampleRate);
    std::vector<float> buffer(BufferSamples);
    for (auto _ : state) {
        tone.start(440);
        tone.render(buffer.data(), BufferSamples);
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_ToneBuffer);

} // namespace

BENCHMARK_MAIN();
