// How fast a recording plays headless through the real game flow: the committed whole game,
// from the title through all 22 stages and the credits. Frames per second is items_per_second.
#include "flow/game_flow.h"
#include "flow/replay_source.h"
#include "replay/replay_file.h"
#include "shell/options.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PlayWholeGame(benchmark::State& state) {
    Replay replay;
    ReplayError error;
    if (!loadReplay(TUMBRA_WHOLE_GAME, ReplayText::Recording, replay, error)) {
        state.SkipWithError(error.message.c_str());
        return;
    }
    optSilent = 1;
    for (auto _ : state) {
        resetToTitle();
        ReplayPlayer player(replay, ThroughTheDoor);
        playHeadless(player, [](int, const StateMark&) {});
        if (!player.matches()) {
            state.SkipWithError("the whole game no longer replays to its checksum");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * replay.lastFrame());
}
BENCHMARK(BM_PlayWholeGame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
