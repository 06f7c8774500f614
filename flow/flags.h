#pragma once

// The flags the command line and the settings choose for a run, which the flow, the display
// and the shell read.
extern int optDepthBuffer;   // "/d", -d, --depth-buffer: depth buffer and depth test
extern int optNormalize;     // "/n", -n, --normalize: normals made unit length
extern int optSilent;        // "/s", -s, --silent: no beeps
extern int optFullscreen;    // -F, --fullscreen: fullscreen, and the window's state after
extern int optClassicFrames; // --classic-frames: one drawing per simulation frame
extern double optRefreshHz;  // --refresh HZ: drawings per second; 0 = the display's own

// The rates --refresh accepts.
inline constexpr double LowestRefreshHz = 1.0;
inline constexpr double HighestRefreshHz = 1000.0;
