#include "flow/replay_report.h"

#include "engine/game_state.h"
#include "engine/stages.h"
#include "flow/flags.h"
#include "flow/replay_source.h"
#include "replay/replay_player.h"

#include <cstdio>

namespace {

constexpr const char* StateNames[] = {"Playing", "GameOver", "StageClear", "Reentry", "Go",
                                      "Ready",   "AllClear", "Title",      "Ending",  "StageIntro"};

// Lives lost in the play stages: the title's and the ending's first ball also costs lives
// when it drops; only the player's count.
struct LivesLost {
    StateMark last{Title, 0, StartingLives};
    int count = 0;

    void note(const StateMark& mark) {
        const bool inPlay = mark.stage >= FirstStage && mark.stage <= LastStage;
        if (inPlay && mark.stage == last.stage && mark.lives < last.lives) {
            count += last.lives - mark.lives;
        }
        last = mark;
    }
};

} // namespace

int reportReplay(const std::string& path, bool requireSealed) {
    Replay replay;
    ReplayError error;
    if (!loadReplay(path, ReplayText::Recording, replay, error)) {
        return replayFileError(path, error);
    }
    optSilent = 1;
    ReplayPlayer player(replay, ThroughTheDoor);
    int stagesCleared = 0;
    LivesLost livesLost;
    playHeadless(player, [&](int frame, const StateMark& mark) {
        if (mark.state == StageClear) {
            ++stagesCleared;
        }
        livesLost.note(mark);
        std::printf("{\"frame\":%d,\"state\":\"%s\",\"stage\":%d,\"lives\":%d}\n", frame,
                    StateNames[mark.state], mark.stage, mark.lives);
    });
    const bool matches = player.matches() && (replay.sealed || !requireSealed);
    std::printf("{\"frames\":%d,\"stagesCleared\":%d,\"livesLost\":%d,\"lives\":%d,"
                "\"sealed\":%s",
                player.framesPlayed(), stagesCleared, livesLost.count, lives,
                replay.sealed ? "true" : "false");
    if (replay.sealed) {
        std::printf(",\"checksum\":\"%s\",\"recordedChecksum\":\"%s\"",
                    checksumText(player.finalChecksum()).c_str(),
                    checksumText(replay.checksum).c_str());
    }
    if (player.firstDifference() != 0) {
        std::printf(",\"firstDifference\":%d", player.firstDifference());
    }
    std::printf(",\"match\":%s}\n", matches ? "true" : "false");
    player.reportMismatch("tumbra-replay", path);
    if (requireSealed && !replay.sealed) {
        std::fprintf(stderr, "tumbra-replay: %s: not sealed: the recording has no end record\n",
                     path.c_str());
    }
    return matches ? ReplayMatched : ReplayDeparted;
}

int replayFileError(const std::string& path, const ReplayError& error) {
    std::fprintf(stderr, "tumbra-replay: %s\n", replayErrorText(path, error).c_str());
    return ReplayBadInput;
}
