#include "engine/game_state.h"
#include "flow/game_flow.h"
#include "flow/player_frames.h"
#include "flow/settings_in_play.h"
#include "platform/beep.h"
#include "platform/gamepad.h"
#include "player/records.h"
#include "shell/frame_display.h"
#include "shell/frame_loop.h"
#include "shell/game_end.h"
#include "shell/options.h"
#include "shell/replay_window.h"
#include "shell/timedemo.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <cstdio>

namespace {

// The display callback of the frames chosen: classic, smooth or the timedemo's.
void (*frameDisplay)() = onDisplay;

// What the first frame does without comes once it is shown: the monitor's rate, and the audio
// device and the gamepads on threads of their own, so that the first frame neither waits for
// them nor shares the processor with them (loading SDL and its libraries, finding no sound
// server takes a tenth of a second). Under "/s" the game never beeps and leaves the audio
// device alone.
void displayFirstFrame() {
    frameDisplay();
    glutDisplayFunc(frameDisplay);
    learnMonitorRate();
    openGamepad();
    if (!optSilent) {
        openBeepInBackground();
    }
}

// Before the window: the settings under the command line (the window's size, fullscreen, the
// sound and the drawing are the first frame's). A recording or a replay starts at speed level
// 0, as its file says. Every game is recorded, unless the command line names the recording's
// file itself.
void startPlayerFiles(const CommandLine& line) {
    const bool replaying = !line.replayFile.empty() || !line.timedemoFile.empty();
    applySettings(loadSettings(), !replaying && line.recordFile.empty());
    setGamepadDeadZone(static_cast<float>(savedSettings.deadZone));
    windowSizeListener = saveWindowSize;
    if (!replaying) {
        frameListeners = PlayerFrameListeners;
        if (line.recordFile.empty()) {
            recordEveryGame();
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    // Help, the version and a bad option are answered before glutInit, which ends the
    // process when it cannot open a display: they need no display, window or sound.
    const CommandLine line = scanOptions(argc, argv);
    if (line.request == CommandLineRequest::Records) {
        return printRecords(stdout);
    }
    if (line.request != CommandLineRequest::Play) {
        return answerCommandLine(line, stdout, stderr);
    }
    catchEndSignals();
    beepOutput = beep;
    gamepadInput = readGamepad;
    const bool timedemo = !line.timedemoFile.empty();
    if (!openReplayFiles(line.recordFile, line.replayFile, line.startStage) ||
        (timedemo && !loadTimedemo(line.timedemoFile))) {
        return ReplayFileStatus;
    }
    startPlayerFiles(line);
    // Before glutInit, so that GLUT's -geometry can still choose another size.
    glutInitWindowSize(windowWidth, windowHeight);
    glutInit(&argc, argv);
    glutInitDisplayMode(optDepthBuffer ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH
                                       : GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(WindowTitle);
    nameWindowForDesktop();
    if (optFullscreen) {
        setFullscreen(true);
    }
    gameInit();
    startReplayFiles();
    watchForTheEnd();
    if (line.startStage > 0) {
        startPracticeGame({line.startStage, waitLevel});
    }
    glutReshapeFunc(onReshape);
    frameDisplay = timedemo ? startTimedemo() : startFrameLoop();
    glutDisplayFunc(displayFirstFrame);
    glutVisibilityFunc(onVisibility);
    glutMainLoop();
    return 0;
}
