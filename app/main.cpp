#include "app/frame_display.h"
#include "app/frame_loop.h"
#include "app/game_flow.h"
#include "app/options.h"
#include "app/replay_window.h"
#include "app/timedemo.h"
#include "app/window.h"
#include "platform/beep.h"
#include "platform/gamepad.h"

#include <GL/freeglut.h>
#include <cstdio>

namespace {

// The display callback of the frames chosen: classic, smooth or the timedemo's.
void (*frameDisplay)() = onDisplay;

// The audio device opens on a thread of its own once the first frame is shown, so that the
// first frame neither waits for it nor shares the processor with it (finding no sound server
// takes a tenth of a second). Under "/s" the game never beeps and leaves it alone.
void displayFirstFrame() {
    frameDisplay();
    glutDisplayFunc(frameDisplay);
    if (!optSilent) {
        openBeepInBackground();
    }
}

} // namespace

int main(int argc, char** argv) {
    // Help, the version and a bad option are answered before glutInit, which ends the
    // process when it cannot open a display: they need no display, window or sound.
    const CommandLine line = scanOptions(argc, argv);
    if (line.request != CommandLineRequest::Play) {
        return answerCommandLine(line, stdout, stderr);
    }
    const bool timedemo = !line.timedemoFile.empty();
    if (!openReplayFiles(line.recordFile, line.replayFile) ||
        (timedemo && !loadTimedemo(line.timedemoFile))) {
        return ReplayFileStatus;
    }
    // Before glutInit, so that GLUT's -geometry can still choose another size.
    glutInitWindowSize(StartWindowSize, StartWindowSize);
    glutInit(&argc, argv);
    openGamepad();
    glutInitDisplayMode(optDepthBuffer ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH
                                       : GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(WindowTitle);
    nameWindowForDesktop();
    if (optFullscreen) {
        toggleFullscreen();
    }
    gameInit();
    startReplayFiles();
    glutReshapeFunc(onReshape);
    frameDisplay = timedemo ? startTimedemo() : startFrameLoop();
    glutDisplayFunc(displayFirstFrame);
    glutVisibilityFunc(onVisibility);
    glutMainLoop();
    return 0;
}
