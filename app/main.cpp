#include "app/frame_display.h"
#include "app/game_flow.h"
#include "app/options.h"
#include "app/window.h"
#include "platform/beep.h"

#include <GL/freeglut.h>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    scanOptions(argc, argv);
    glutInitWindowSize(StartWindowSize, StartWindowSize);
    glutInitDisplayMode(optDepthBuffer ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH
                                       : GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(WindowTitle);
    gameInit();
    // The audio device opens beside the first frames, which never wait for it; under "/s"
    // the game never beeps and leaves it alone. Opened after the window, so that anything
    // GLUT has to say about it still reaches the terminal.
    if (!optSilent) {
        openBeepInBackground();
    }
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(onDisplay);
    glutVisibilityFunc(onVisibility);
    glutMainLoop();
    return 0;
}
