#include "flow/replay_source.h"

#include "engine/game_state.h"
#include "flow/game_flow.h"

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

void showLiveTitle() {
    resetToTitle();
    setInputSource(liveInput());
    liveInput().startFrame();
}

void ReplaySource::endLastFrame() {
    if (framesEnded < player.framesPlayed()) {
        framesEnded = player.framesPlayed();
        if (player.endFrame() && changed) {
            changed(player.framesPlayed(), player.mark());
        }
    }
}

void ReplaySource::startFrame() {
    endLastFrame();
    if (!player.over() || !over) {
        player.startFrame();
        return;
    }
    if (!finished) {
        finished = true;
        player.finish();
        over(player);
    }
}

void playHeadless(ReplayPlayer& player, const ReplaySource::Changed& changed) {
    startAt(player.start());
    ReplaySource source(player, changed);
    setInputSource(source);
    while (!player.over()) {
        onIdle();
    }
    source.endLastFrame();
    player.finish();
    setInputSource(liveInput());
}

bool startRecording(const std::string& path, const ReplayStart& start, std::string& error) {
    if (!replayRecorder.open(path, start, error)) {
        return false;
    }
    watchInput(&replayRecorder);
    return true;
}
