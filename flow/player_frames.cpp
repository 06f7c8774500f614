#include "flow/player_frames.h"

#include "flow/input_door.h"
#include "flow/replay_source.h"
#include "flow/settings_in_play.h"
#include "player/auto_replays.h"
#include "player/records.h"

namespace {

void readRecordsOnce(bool) {
    static bool read = false;
    if (!read) {
        read = true;
        loadRecords();
    }
}

void followGamesAfterFrame(bool) {
    followGames();
}

void saveSettingsAfterFrame(bool) {
    saveChangedSettings();
}

} // namespace

const FrameListener PlayerFrameListeners[4] = {readRecordsOnce, followGamesAfterFrame,
                                               saveSettingsAfterFrame, keepRecords};

void recordEveryGame() {
    startGameReplays();
    watchInput(&gameReplayRecorder());
}

void stopRecordingGames() {
    stopGameReplays();
    watchInput(nullptr);
}

void startPracticeGame(const ReplayStart& start) {
    startAt(start);
    beginGameReplay(start);
}
