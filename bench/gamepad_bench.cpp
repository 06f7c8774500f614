// What reading the gamepad costs the frame: before it is opened (the headless tools and
// tests), opened with no pad (and what its look for new pads costs, ten times a second), and
// with a pad whose sticks and buttons change every frame.
#include "platform/gamepad.h"

#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

bool startGamepad() {
    openGamepad();
    for (int n = 0; n < 1000 && !gamepadRunning(); ++n) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return gamepadRunning();
}

// Runs first, before anything opens the pad.
void BM_ReadNotOpened(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(readGamepad());
    }
}
BENCHMARK(BM_ReadNotOpened);

void BM_ReadNoPad(benchmark::State& state) {
    if (!startGamepad()) {
        state.SkipWithError("no game-controller subsystem");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readGamepad());
    }
}
BENCHMARK(BM_ReadNoPad);

// What one of those reads costs when it is time to look for newly plugged pads (every 100 ms):
// SDL's device poll.
void BM_LookForPads(benchmark::State& state) {
    if (!startGamepad()) {
        state.SkipWithError("no game-controller subsystem");
        return;
    }
    for (auto _ : state) {
        SDL_GameControllerUpdate();
    }
}
BENCHMARK(BM_LookForPads);

// SDL's virtual pad, both sticks moving and a button pressed or released every frame, so
// every read has events to take; setting them is counted too (well under a microsecond).
void BM_ReadVirtualPad(benchmark::State& state) {
    if (!startGamepad()) {
        state.SkipWithError("no game-controller subsystem");
        return;
    }
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    Sint16 value = 0;
    Uint8 down = 0;
    for (auto _ : state) {
        value = static_cast<Sint16>(value + 997);
        down ^= 1;
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, value);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY, value);
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, down);
        benchmark::DoNotOptimize(readGamepad());
    }
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
}
BENCHMARK(BM_ReadVirtualPad);

} // namespace

BENCHMARK_MAIN();
