// How fast the wasm build plays a recording headless once warm, for bench/web_page.sh to set
// beside the desktop's tumbra-bench-replay: the recording played RUNS times in one process
// (after as many warm-up runs), the median time of one play printed in milliseconds.
//
//   node build-web/node/tumbra-replay-speed.js FILE [RUNS]
#include "flow/flags.h"
#include "flow/replay_source.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int DefaultRuns = 20;

double playOnce(const Replay& replay) {
    const auto start = std::chrono::steady_clock::now();
    ReplayPlayer player(replay, ThroughTheDoor);
    playHeadless(player, [](int, const StateMark&) {});
    const std::chrono::duration<double, std::milli> taken =
        std::chrono::steady_clock::now() - start;
    return player.matches() ? taken.count() : -1.0;
}

} // namespace

int main(int argc, char** argv) {
    Replay replay;
    ReplayError error;
    if (argc < 2 || !loadReplay(argv[1], ReplayText::Recording, replay, error)) {
        std::fprintf(stderr, "usage: tumbra-replay-speed FILE [RUNS] (%s)\n",
                     error.message.c_str());
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : DefaultRuns;
    optSilent = 1;
    std::vector<double> times;
    for (int run = 0; run < 2 * runs; ++run) {
        const double taken = playOnce(replay);
        if (taken < 0.0) {
            std::fprintf(stderr, "tumbra-replay-speed: %s no longer replays to its checksum\n",
                         argv[1]);
            return 3;
        }
        if (run >= runs) {
            times.push_back(taken);
        }
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    std::printf("%.3f\n", times[static_cast<std::size_t>(runs / 2)]);
    return 0;
}
