#pragma once

// When frames are simulated and drawn, for any window or page. Classic frames: one idle call
// simulates a frame and one drawing shows it, at the speed level's period. Smooth motion (the
// default): the world still steps at the speed level's period, and the display draws at its
// refresh rate the moments between the last two simulation frames.
#include "platform/frame_clock.h"

// The refresh period for a rate in Hz; an unknown rate (0) or one beyond --refresh's range
// gives DefaultRefreshHz.
inline constexpr double DefaultRefreshHz = 60.0;
FrameDuration refreshPeriod(double hz);

// One smooth idle call, for a clock `presents` and the steps' clock `steps`: plans the next
// frame's moment, runs the simulation frames due by then (each an onIdle, counting the wait
// indicator's frame first and captured after) and returns the blend for the moment.
float runDueSteps(PresentClock& presents, StepClock& steps);
