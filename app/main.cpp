#include "app/frame_display.h"
#include "app/game_end.h"
#include "app/game_flow.h"
#include "app/options.h"
#include "app/replay_window.h"
#include "app/window.h"
#include "platform/beep.h"
#include "platform/gamepad.h"

#include <GL/freeglut.h>
#include <cstdio>

namespace {

// The audio device opens on a thread of its own once the first frame is shown, so that the
// first frame neither waits for it nor shares the processor with it (finding no sound server
// takes a tenth of a second). Under "/s" the game never beeps and leaves it alone.
void displayFirstFrame() {
    onDisplay();
    glutDisplayFunc(onDisplay);
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
    if (!openReplayFiles(line.recordFile, line.replayFile)) {
        return ReplayFileStatus;
    }
    glutInit(&argc, argv);
    openGamepad();
    glutInitWindowSize(StartWindowSize, StartWindowSize);
    glutInitDisplayMode(optDepthBuffer ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH
                                       : GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(WindowTitle);
    gameInit();
    startReplayFiles();
    watchForTheEnd();
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(displayFirstFrame);
    glutVisibilityFunc(onVisibility);
    glutMainLoop();
    return 0;
}
