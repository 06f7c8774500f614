#include "shell/frame_display.h"

#include "engine/game_state.h"
#include "engine/world.h"
#include "flow/frame_view.h"
#include "flow/window_keys.h"
#include "platform/frame_clock.h"
#include "player/screenshot.h"
#include "render/frame_drawing.h"
#include "render/gl_renderer.h"
#include "shell/window.h"

#include <GL/freeglut.h>

Renderer& gameRenderer() {
    static GlRenderer renderer;
    return renderer;
}

void drawFrame() {
    drawFrameView(gameRenderer(), gameWorld, frameViewNow());
    countWaitIndicatorFrame();
}

void saveWantedScreenshot() {
    if (screenshotAsked()) {
        takeScreenshot(windowWidth, windowHeight, [](int width, int height) {
            return gameRenderer().readPicture(width, height);
        });
    }
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

void drawFrameBetween(float blend) {
    drawFrameView(gameRenderer(), gameWorld, frameViewBetween(blend));
}
