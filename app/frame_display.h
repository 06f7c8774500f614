#pragma once

// GLUT display callback: draws the frame, shows it and waits for the next frame's turn.
void onDisplay();

// Everything of one frame up to the buffer swap: the world seen by the camera (with a new
// stage's fly-in), the heads-up display, the state's texts and the wait indicator. Counts
// waitShow down.
void drawFrame();
