#include "app/frame_display.h"
#include "app/game_flow.h"
#include "app/options.h"
#include "app/window.h"
#include "platform/beep.h"

#include <GL/freeglut.h>

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
    glutInit(&argc, argv);
    scanOptions(argc, argv);
    glutInitWindowSize(StartWindowSize, StartWindowSize);
    glutInitDisplayMode(optDepthBuffer ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH
                                       : GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(WindowTitle);
    gameInit();
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(displayFirstFrame);
    glutVisibilityFunc(onVisibility);
    glutMainLoop();
    return 0;
}
