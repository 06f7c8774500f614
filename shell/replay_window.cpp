#include "shell/replay_window.h"

#include "flow/input_door.h"
#include "flow/replay_source.h"
#include "replay/replay_file.h"
#include "replay/replay_recorder.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr const char* ProgramName = "tumbra";

std::string playedPath;
Replay windowReplay;

std::unique_ptr<ReplayPlayer> windowPlayer;
std::unique_ptr<ReplaySource> windowSource;

// Once the recording is over, the title with every default is the player's again, or the
// game ends with status 3 on a mismatch.
void windowReplayOver(ReplayPlayer& player) {
    if (!player.matches()) {
        player.reportMismatch(ProgramName, playedPath);
        std::exit(ReplayMismatchStatus);
    }
    showLiveTitle();
}

} // namespace

bool openReplayFiles(const std::string& recordPath, const std::string& replayPath, int startStage) {
    std::string error;
    const ReplayStart start{startStage, 0};
    // The recorder notes state changes from the state it opens on: the game is put at its
    // start now, and there again once the window is made.
    if (!recordPath.empty()) {
        startAt(start);
    }
    const bool opened = (replayPath.empty() || loadWindowReplay(replayPath, error)) &&
                        (recordPath.empty() || startRecording(recordPath, start, error));
    if (!opened) {
        std::fprintf(stderr, "%s: %s\n", ProgramName, error.c_str());
        return false;
    }
    return true;
}

void startReplayFiles() {
    if (!playedPath.empty()) {
        startWindowReplay();
    }
}

bool loadWindowReplay(const std::string& path, std::string& error) {
    ReplayError fault;
    if (!loadReplay(path, ReplayText::Recording, windowReplay, fault)) {
        error = replayErrorText(path, fault);
        return false;
    }
    playedPath = path;
    return true;
}

void startWindowReplay() {
    startAt(windowReplay.start);
    windowPlayer = std::make_unique<ReplayPlayer>(windowReplay, ThroughTheDoor);
    windowSource =
        std::make_unique<ReplaySource>(*windowPlayer, ReplaySource::Changed{}, windowReplayOver);
    setInputSource(*windowSource);
}
