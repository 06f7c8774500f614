#include "app/replay_player.h"

#include "app/game_flow.h"
#include "app/game_state.h"
#include "replay/state_checksum.h"

#include <cstdio>

namespace {

std::string checkText(const ReplayCheck& check) {
    return "state " + std::to_string(check.mark.state) + " stage " +
           std::to_string(check.mark.stage) + " lives " + std::to_string(check.mark.lives) +
           " checksum " + checksumText(check.checksum);
}

constexpr KeyHandlers ThroughTheDoor{passKey, passSpecialKey};

} // namespace

void startAt(const ReplayStart& start) {
    resetToTitle();
    if (start.atTitle()) {
        return;
    }
    waitLevel = start.level;
    if (start.fromTitle) {
        startGameAsTheTitleDoes();
    } else {
        startGame(start.stage);
    }
}

void ReplayPlayer::startFrame() {
    if (!started) {
        started = true;
        current = currentStateMark();
    }
    ++frames;
    feed.feedFrame(frames, ThroughTheDoor);
}

bool ReplayPlayer::endFrame() {
    const StateMark mark = currentStateMark();
    const bool changed = mark != current;
    current = mark;
    const bool noted = nextCheck < replay.checks.size() && replay.checks[nextCheck].frame == frames;
    if (!noted && !changed) {
        return false;
    }
    const ReplayCheck seen{frames, mark, changed ? stateChecksum(replay.formatVersion) : 0};
    const ReplayCheck check = noted ? replay.checks[nextCheck] : ReplayCheck{};
    if (noted) {
        ++nextCheck;
    }
    if (differenceFrame == 0 && !(changed && noted && check == seen)) {
        differenceFrame = frames;
        recordedNoted = noted;
        recorded = check;
        replayedChanged = changed;
        replayed = seen;
    }
    return changed;
}

void ReplayPlayer::finish() {
    feed.feedFrame(frames + 1, ThroughTheDoor);
    checksum = stateChecksum(replay.formatVersion);
}

std::string ReplayPlayer::differenceText() const {
    if (differenceFrame == 0) {
        return "";
    }
    return "at frame " + std::to_string(differenceFrame) + ": recorded " +
           (recordedNoted ? checkText(recorded) : "no change") + ", replayed " +
           (replayedChanged ? checkText(replayed) : "no change");
}

bool ReplayPlayer::matches() const {
    return differenceFrame == 0 && (!replay.sealed || checksum == replay.checksum);
}

void ReplayPlayer::reportMismatch(const char* program, const std::string& file) const {
    if (differenceFrame != 0) {
        std::fprintf(stderr, "%s: %s: the replay departs from the recording %s\n", program,
                     file.c_str(), differenceText().c_str());
    }
    if (replay.sealed && checksum != replay.checksum) {
        std::fprintf(stderr, "%s: %s: checksum mismatch: recorded %s, replayed %s\n", program,
                     file.c_str(), checksumText(replay.checksum).c_str(),
                     checksumText(checksum).c_str());
    }
}

void playHeadless(ReplayPlayer& player,
                  const std::function<void(int frame, const StateMark& mark)>& onChange) {
    startAt(player.start());
    setInputSource(player);
    while (!player.over()) {
        onIdle();
        if (player.endFrame()) {
            onChange(player.framesPlayed(), player.mark());
        }
    }
    player.finish();
    setInputSource(liveInput());
}
