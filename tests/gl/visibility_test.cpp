// Hiding the window stops the game's frames and showing it again resumes them, also while
// paused: the real window is unmapped and mapped inside the game's main loop, and freeglut
// calls the game's visibility handler as it does in the game.
#include "engine/game_state.h"
#include "engine/stages.h"
#include "flow/game_flow.h"
#include "shell/frame_display.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <iterator>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int StartCountdown = 1000;
constexpr unsigned PollMs = 10;

// One step of the script: an action, then the main loop runs until `done` holds or `limit`
// has passed, then `check` looks at the result.
struct Step {
    void (*act)();
    bool (*done)();
    Clock::duration limit;
    void (*check)();
};

void nothing() {}
bool never() {
    return false;
}

void hideInStageIntro(int pause) {
    stageNumber = 1;
    loadStage();
    gameState = StageIntro;
    countdown = StartCountdown;
    paused = pause;
    glutHideWindow();
}

// The countdown runs in every frame, paused or not.
bool framesRan() {
    return countdown <= StartCountdown - 3;
}

void expectNoFrames() {
    EXPECT_EQ(countdown, StartCountdown) << "frames ran while hidden, paused " << paused;
}

void expectFramesAgain() {
    EXPECT_TRUE(framesRan()) << "no frames after showing, paused " << paused;
    EXPECT_EQ(gameState, StageIntro);
}

const Step Script[] = {
    {nothing, never, 200ms, nothing}, // the window is shown and drawn
    {[] { hideInStageIntro(0); }, never, 100ms, nothing},
    {[] { countdown = StartCountdown; }, never, 300ms, expectNoFrames},
    {glutShowWindow, framesRan, 3s,
     [] {
         expectFramesAgain();
         EXPECT_EQ(paused, 0);
     }},
    {[] { hideInStageIntro(1); }, never, 100ms, nothing},
    {[] { countdown = StartCountdown; }, never, 300ms, expectNoFrames},
    {glutShowWindow, framesRan, 3s,
     [] {
         expectFramesAgain();
         EXPECT_EQ(paused, 1) << "the pause still holds";
     }},
    {[] { onKeyboard('p', 0, 0); }, [] { return paused == 0; }, 3s,
     [] { EXPECT_EQ(paused, 0) << "the pause key works again"; }},
};

int step = 0;
Clock::time_point deadline;

void startStep() {
    Script[step].act();
    deadline = Clock::now() + Script[step].limit;
}

void poll(int) {
    const Step& current = Script[step];
    if (!current.done() && Clock::now() < deadline) {
        glutTimerFunc(PollMs, poll, 0);
        return;
    }
    current.check();
    if (++step == static_cast<int>(std::size(Script))) {
        glutLeaveMainLoop();
        return;
    }
    startStep();
    glutTimerFunc(PollMs, poll, 0);
}

} // namespace

TEST(Visibility, HidingStopsTheFramesAndShowingResumesThem) {
    gameInit();
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(onDisplay);
    glutVisibilityFunc(onVisibility);
    startStep();
    glutTimerFunc(PollMs, poll, 0);
    glutMainLoop();
    EXPECT_EQ(step, static_cast<int>(std::size(Script)));
}
