#include "shell/frame_display.h"

#include "engine/game_state.h"
#include "platform/frame_clock.h"
#include "render/gl_renderer.h"

#include <GL/freeglut.h>

Renderer& gameRenderer() {
    static GlRenderer renderer;
    return renderer;
}

void onDisplay() {
    drawFrame();
    saveWantedScreenshot();
    glFlush();
    // The wait comes before the swap, so the frame is shown on its deadline whatever the
    // drawing took.
    waitForNextFrame(waitLevel);
    glutSwapBuffers();
}
