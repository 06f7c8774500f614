#include "app/frame_display.h"
#include "app/game_flow.h"
#include "app/options.h"
#include "app/replay_window.h"
#include "app/window.h"
#include "platform/beep.h"
#include "platform/gamepad.h"

#include <GL/freeglut.h>
#include <cstdio>

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
    // Under "/s" the game never beeps, so it leaves the audio device alone.
    if (!optSilent) {
        openBeep();
    }
    openGamepad();
    glutInitWindowSize(StartWindowSize, StartWindowSize);
    glutInitDisplayMode(optDepthBuffer ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH
                                       : GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(WindowTitle);
    gameInit();
    startReplayFiles();
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(onDisplay);
    glutVisibilityFunc(onVisibility);
    glutMainLoop();
    return 0;
}
