#include "app/replay_window.h"

#include "app/game_flow.h"
#include "app/input_door.h"
#include "app/replay_player.h"
#include "app/replay_recorder.h"
#include "replay/replay_file.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr const char* ProgramName = "tumbra";

std::string playedPath;
Replay windowReplay;

// The recording as the door's source: after each frame the replay is compared with the
// recording; once it is over, the title with every default is the player's again, or the game
// ends with status 3 on a mismatch.
class WindowReplay final : public InputSource {
  public:
    explicit WindowReplay(const Replay& replay) : player(replay) {}

    bool takesWindowKeys() const override { return false; }

    void startFrame() override {
        if (player.framesPlayed() > 0) {
            player.endFrame();
        }
        if (!player.over()) {
            player.startFrame();
            return;
        }
        player.finish();
        if (!player.matches()) {
            player.reportMismatch(ProgramName, playedPath);
            std::exit(ReplayMismatchStatus);
        }
        resetToTitle();
        setInputSource(liveInput());
        liveInput().startFrame();
    }

    GamepadState pad() override { return player.pad(); }

  private:
    ReplayPlayer player;
};

std::unique_ptr<WindowReplay> windowPlayer;

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
        error =
            path + (fault.line > 0 ? ":" + std::to_string(fault.line) : "") + ": " + fault.message;
        return false;
    }
    playedPath = path;
    return true;
}

void startWindowReplay() {
    startAt(windowReplay.start);
    windowPlayer = std::make_unique<WindowReplay>(windowReplay);
    setInputSource(*windowPlayer);
}
