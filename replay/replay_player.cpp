#include "replay/replay_player.h"

#include "engine/game_state.h"
#include "replay/state_checksum.h"

#include <cstdio>

namespace {

std::string checkText(const ReplayCheck& check) {
    return "state " + std::to_string(check.mark.state) + " stage " +
           std::to_string(check.mark.stage) + " lives " + std::to_string(check.mark.lives) +
           " checksum " + checksumText(check.checksum);
}

} // namespace

void ReplayPlayer::startFrame() {
    if (!started) {
        started = true;
        current = currentStateMark();
    }
    ++frames;
    feed.feedFrame(frames, keys);
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
    feed.feedFrame(frames + 1, keys);
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
