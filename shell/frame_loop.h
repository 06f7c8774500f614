#pragma once

// When frames are simulated and drawn. Classic frames (--classic-frames): one idle call
// simulates a frame and one drawing shows it, at the speed level's period. Smooth motion (the
// default): the world still steps in the idle handler at the speed level's period, and the
// display draws at its refresh rate the moments between the last two simulation frames.
#include "platform/frame_clock.h"

// Sets up the pacing for the window made current (the refresh rate: --refresh, else swap
// control with the monitor's rate, else the clock at the monitor's rate or 60 Hz) and
// registers the idle handler. Returns the display callback to register.
void (*startFrameLoop())();
// Once the first frame is shown: the monitor's rate, unless --refresh gave one (60 Hz until
// then). Asked of XRandR only now, so that neither libXrandr's loading nor the server's
// answers hold up the first frame. Nothing for classic frames or the timedemo.
void learnMonitorRate();

// The refresh period for a rate in Hz; an unknown rate (0) or one beyond --refresh's range
// gives DefaultRefreshHz.
inline constexpr double DefaultRefreshHz = 60.0;
FrameDuration refreshPeriod(double hz);

// One smooth idle call, for a clock `presents` and the steps' clock `steps`: plans the next
// frame's moment, runs the simulation frames due by then (each an onIdle, counting the wait
// indicator's frame first and captured after) and returns the blend for the moment.
float runDueSteps(PresentClock& presents, StepClock& steps);
