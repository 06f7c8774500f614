// tumbra-bench-saves [CLEARS]: the frames around a stage clear, when the records are saved,
// against the same frames with nothing kept. Each stage is cleared headless (its opponents
// dropped once "GO !!" is over) through the real game flow, with the records kept as the game
// keeps them; a home of its own in /tmp receives the saves. Prints the longest frame of the
// 20 before and after each clear, and its median, both ways.
#include "app/game_flow.h"
#include "app/game_state.h"
#include "app/records.h"
#include "platform/user_files.h"
#include "sim/ball.h"
#include "sim/stages.h"
#include "sim/world.h"

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

// Frame times in microseconds of the frames around each clear.
std::vector<double> framesAroundClears(int clears) {
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
        }
    }
    return times;
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-28s median %7.1f us, longest %7.1f us over %zu frames\n", what,
                times[times.size() / 2], times.back(), times.size());
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
    const std::vector<double> quiet = framesAroundClears(clears);
    frameListener = keepRecords;
    const std::vector<double> kept = framesAroundClears(clears);
    finishSaving();
    report("nothing kept:", quiet);
    report("records kept and saved:", kept);
    std::printf("games recorded: %d\n", recordKeeper.records.gamesPlayed);
    std::system((std::string("rm -rf ") + home).c_str());
    return 0;
}
