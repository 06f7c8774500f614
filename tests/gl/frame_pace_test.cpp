// The real game loop in a real window, paced by the steady frame clock: 150 frames at speed
// level 0 take 5 s, then 100 frames at level 3 (48.33 ms each) take 4.83 s. A tolerant check,
// not a benchmark: it guards against a pace that is lost (no wait, a wait that drifts, or one
// that ignores the level), not against a few late frames on a busy machine. Runs alone.
#include "engine/game_state.h"
#include "flow/game_flow.h"
#include "shell/frame_display.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

struct Stretch {
    int level;
    int frames;
    double seconds;
};

constexpr Stretch Stretches[] = {{0, 150, 5.0}, {3, 100, 4.8333}};
constexpr double Tolerance = 0.03;

using Clock = std::chrono::steady_clock;

int stretch = 0;
int framesInStretch = -1; // the first frame only starts the clock
Clock::time_point stretchStart;
std::vector<double> measured;

// The game's display, timed: each call ends when its frame's wait is over.
void timedDisplay() {
    onDisplay();
    if (framesInStretch < 0) {
        stretchStart = Clock::now();
        framesInStretch = 0;
        return;
    }
    if (++framesInStretch < Stretches[stretch].frames) {
        return;
    }
    const Clock::time_point now = Clock::now();
    measured.push_back(std::chrono::duration<double>(now - stretchStart).count());
    stretchStart = now;
    framesInStretch = 0;
    if (++stretch == static_cast<int>(std::size(Stretches))) {
        glutLeaveMainLoop();
        return;
    }
    waitLevel = Stretches[stretch].level;
}

} // namespace

TEST(FramePace, FramesTakeTheirLevelsPeriod) {
    gameInit();
    waitLevel = Stretches[0].level;
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(timedDisplay);
    glutMainLoop();

    ASSERT_EQ(measured.size(), std::size(Stretches));
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const Stretch& s = Stretches[i];
        std::printf("level %d: %d frames in %.3f s (%.2f ms a frame)\n", s.level, s.frames,
                    measured[i], 1000.0 * measured[i] / s.frames);
        EXPECT_NEAR(measured[i], s.seconds, s.seconds * Tolerance) << "level " << s.level;
    }
}
