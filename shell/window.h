#pragma once

// The game's GLUT window: its set-up, its callbacks, fullscreen and its name on the desktop.
#include "flow/window_view.h"

// The renderer set up for the window, the key callbacks, and the title stage; needs the
// window's context current.
void gameInit();
void onReshape(int width, int height);
void onVisibility(int state);
// The idle handler that showing the window turns on: the game's onIdle unless the frame loop
// puts its own in place.
extern void (*idleWhenVisible)();

// Fullscreen on or off; leaving it brings back the window's size from before.
void setFullscreen(bool on);
// The class hint, process id and icon by which the desktop knows the window.
void nameWindowForDesktop();
