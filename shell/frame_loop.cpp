#include "shell/frame_loop.h"

#include "flow/frame_pacing.h"
#include "flow/game_flow.h"
#include "platform/window_x11.h"
#include "shell/frame_display.h"
#include "shell/options.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <memory>

namespace {

std::unique_ptr<PresentClock> presentClock;
StepClock stepClock;
float shownBlend = 1.0f;

void smoothIdle() {
    shownBlend = runDueSteps(*presentClock, stepClock);
    glutPostRedisplay();
}

// Draw, wait, swap: the frame reaches the display at the moment it was drawn for.
void smoothDisplay() {
    drawFrameBetween(shownBlend);
    saveWantedScreenshot();
    // Finished, not only flushed: a software renderer's threads are done before the wait,
    // and leave the processor to the swap when it is due.
    glFinish();
    presentClock->beforeSwap();
    glutSwapBuffers();
    presentClock->afterSwap();
}

} // namespace

void learnMonitorRate() {
    if (presentClock != nullptr && optRefreshHz <= 0.0) {
        presentClock->setRefresh(refreshPeriod(monitorRefreshRate()));
    }
}

void (*startFrameLoop())() {
    if (optClassicFrames) {
        idleWhenVisible = onIdle;
        glutIdleFunc(onIdle);
        return onDisplay;
    }
    // A rate of one's own is kept by the clock alone: swaps must not wait for the display.
    const bool forced = optRefreshHz > 0.0;
    if (forced) {
        disableSwapControl();
    }
    const bool swapWaits = !forced && enableSwapControl();
    const double hz = forced ? optRefreshHz : 0.0;
    presentClock = std::make_unique<PresentClock>(steadyTime(), refreshPeriod(hz), swapWaits);
    idleWhenVisible = smoothIdle;
    glutIdleFunc(smoothIdle);
    return smoothDisplay;
}
