#include "app/replay_window.h"

#include "app/game_flow.h"
#include "app/replay_player.h"
#include "app/replay_recorder.h"
#include "render/gl_lists.h"
#include "replay/replay_file.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr const char* ProgramName = "tumbra";

std::string playedPath;
bool recording = false;
Replay windowReplay;
std::unique_ptr<ReplayPlayer> windowPlayer;
GamepadInput livePad = nullptr;

void setKeyCallbacks(void (*keyboard)(unsigned char, int, int), void (*special)(int, int, int)) {
    if (glContextCurrent()) {
        glutKeyboardFunc(keyboard);
        glutSpecialFunc(special);
    }
}

// During playback only Escape counts; it quits as always. F12 takes a screenshot without
// reaching the game.
void replayKeyboard(unsigned char key, int x, int y) {
    if (key == ReplayEscapeKey) {
        onKeyboard(key, x, y);
    }
}

void replaySpecialKey(int key, int, int) {
    if (key == GLUT_KEY_F12) {
        screenshotWanted = true;
    }
}

void endReplay() {
    windowPlayer->finish();
    if (!windowPlayer->matches()) {
        windowPlayer->reportMismatch(ProgramName, playedPath);
        std::exit(ReplayMismatchStatus);
    }
    gamepadInput = livePad;
    setKeyCallbacks(onKeyboard, onSpecialKey);
    resetToTitle();
}

// Read at the start of every idle call: the frame before is compared with the recording,
// then this frame's recorded keys go in, until the recording is over.
GamepadState replayedPad() {
    if (windowPlayer->framesPlayed() > 0) {
        windowPlayer->endFrame();
    }
    if (windowPlayer->over()) {
        endReplay();
        return gamepadInput();
    }
    windowPlayer->startFrame();
    return windowPlayer->pad();
}

} // namespace

bool openReplayFiles(const std::string& recordPath, const std::string& replayPath) {
    std::string error;
    const bool opened = (recordPath.empty() || startRecording(recordPath, error)) &&
                        (replayPath.empty() || loadWindowReplay(replayPath, error));
    if (!opened) {
        std::fprintf(stderr, "%s: %s\n", ProgramName, error.c_str());
        return false;
    }
    recording = !recordPath.empty();
    return true;
}

void startReplayFiles() {
    if (recording) {
        setKeyCallbacks(recordKeyboard, recordSpecialKey);
    } else if (!playedPath.empty()) {
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
    windowPlayer = std::make_unique<ReplayPlayer>(windowReplay);
    livePad = gamepadInput;
    gamepadInput = replayedPad;
    setKeyCallbacks(replayKeyboard, replaySpecialKey);
}
