// The real game loop in a real window, paced by the steady frame clock: 300 frames at speed
// level 0 take 10 s. A tolerant check, not a benchmark: it guards against a pace that is
// lost (no wait, or a wait that drifts), not against a few late frames on a busy machine.
#include "app/frame_display.h"
#include "app/game_flow.h"
#include "app/game_state.h"
#include "app/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>

namespace {

constexpr int MeasuredFrames = 300;
constexpr double ExpectedSeconds = 10.0;
constexpr double Tolerance = 0.03;

using Clock = std::chrono::steady_clock;

int framesShown = 0;
Clock::time_point firstFrameEnd;
Clock::time_point lastFrameEnd;

// The game's display, timed: each call ends when its frame's wait is over.
void timedDisplay() {
    onDisplay();
    if (framesShown == 0) {
        firstFrameEnd = Clock::now();
    }
    ++framesShown;
    if (framesShown == MeasuredFrames + 1) {
        lastFrameEnd = Clock::now();
        glutLeaveMainLoop();
    }
}

} // namespace

TEST(FramePace, ThreeHundredFramesAtLevelZeroTakeTenSeconds) {
    gameInit();
    waitLevel = 0;
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(timedDisplay);
    glutMainLoop();

    ASSERT_EQ(framesShown, MeasuredFrames + 1);
    const double seconds = std::chrono::duration<double>(lastFrameEnd - firstFrameEnd).count();
    std::printf("%d frames in %.3f s (%.2f frames per second)\n", MeasuredFrames, seconds,
                MeasuredFrames / seconds);
    EXPECT_NEAR(seconds, ExpectedSeconds, ExpectedSeconds * Tolerance);
}
