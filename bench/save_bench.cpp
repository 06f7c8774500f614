// tumbra-bench-saves [CLEARS]: the frames around a stage clear, when the records are saved,
// against the same frames with nothing kept. Each stage is cleared headless (its opponents
// dropped once "GO !!" is over) through the real game flow, with the records kept as the game
// keeps them; a home of its own in /tmp receives the saves. Prints the median, the 99th
// percentile and the longest of the 20 frames before and after each clear, both ways.
#include "engine/ball.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/game_flow.h"
#include "platform/user_files.h"
#include "player/records.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int AroundClear = 20;

double timedFrame() {
    const Clock::time_point start = Clock::now();
    onIdle();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void dropOpponents() {
    for (int slot = 1; slot < gameWorld.ballCount; ++slot) {
        Ball& ball = *gameWorld.balls[slot];
        ball.fallen = 1;
        ball.position = Vector3f(0.0f, 0.0f, -100.0f);
        ball.velocity = ZeroVector;
    }
}

// Frame times in microseconds of the frames around each clear; `clearing` gets those of the
// frames that clear a stage, in which the records are saved.
std::vector<double> framesAroundClears(int clears, std::vector<double>& clearing) {
    std::vector<double> times;
    resetToTitle();
    for (int i = 0; i < clears; ++i) {
        startGame(FirstStage + i % (LastStage - 1));
        while (gameState != Playing) {
            onIdle();
        }
        for (int n = 0; n < AroundClear; ++n) {
            times.push_back(timedFrame());
        }
        dropOpponents();
        for (int n = 0; n < AroundClear; ++n) {
            times.push_back(timedFrame());
            if (n == 0) {
                clearing.push_back(times.back());
            }
        }
    }
    return times;
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-24s median %6.1f us, p99 %6.1f us, longest %8.1f us over %zu frames\n", what,
                times[times.size() / 2], times[times.size() * 99 / 100], times.back(),
                times.size());
}

} // namespace

int main(int argc, char** argv) {
    const int clears = argc > 1 ? std::atoi(argv[1]) : 200;
    char home[] = "/tmp/tumbra-bench-XXXXXX";
    if (::mkdtemp(home) == nullptr) {
        return 1;
    }
    ::setenv("HOME", home, 1);
    ::unsetenv("XDG_DATA_HOME");
    beepOutput = [](int) {};
    std::vector<double> quietClears;
    std::vector<double> keptClears;
    const std::vector<double> quiet = framesAroundClears(clears, quietClears);
    static constexpr FrameListener Keeper[] = {keepRecords};
    frameListeners = Keeper;
    const std::vector<double> kept = framesAroundClears(clears, keptClears);
    finishSaving();
    report("nothing kept:", quiet);
    report("records kept and saved:", kept);
    report("clearing, nothing kept:", quietClears);
    report("clearing, records saved:", keptClears);
    std::printf("games recorded: %d\n", recordKeeper.records.gamesPlayed);
    std::system((std::string("rm -rf ") + home).c_str());
    return 0;
}
