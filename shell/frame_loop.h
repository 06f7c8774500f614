#pragma once

// The window's frame loop: classic frames (--classic-frames) or smooth motion
// (flow/frame_pacing.h) in GLUT's idle and display callbacks.

// Sets up the pacing for the window made current (the refresh rate: --refresh, else swap
// control with the monitor's rate, else the clock at the monitor's rate or 60 Hz) and
// registers the idle handler. Returns the display callback to register.
void (*startFrameLoop())();
// Once the first frame is shown: the monitor's rate, unless --refresh gave one (60 Hz until
// then). Asked of XRandR only now, so that neither libXrandr's loading nor the server's
// answers hold up the first frame. Nothing for classic frames or the timedemo.
void learnMonitorRate();
