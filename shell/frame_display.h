#pragma once

// The window's drawing: a frame as the flow describes it, drawn by the window's renderer.
#include "shell/game_frame.h"

// GLUT display callback of the classic frames: draws the frame, waits for its turn, shows it.
void onDisplay();
