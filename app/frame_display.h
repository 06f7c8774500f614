#pragma once

// GLUT display callback of the classic frames: draws the frame, waits for its turn, shows it.
void onDisplay();

// Everything of one frame up to the buffer swap: the world seen by the camera (with a new
// stage's fly-in), the heads-up display, the state's texts and the wait indicator. Counts
// waitShow down.
void drawFrame();
// F12: the picture just drawn, read back before the swap, saved as a screenshot.
void saveWantedScreenshot();

// Smooth motion: the display keeps the last two simulation frames of what moves (the balls,
// the field's tilt, the fly-in) and draws the moments between them.
// After each simulation frame: it becomes the last, the one before it the previous.
void captureMotion();
// A stage was loaded or the game reset: the next capture starts afresh on both sides, so
// nothing slides in from the old stage.
void restartMotion();
// The moment `blend` of the way from the previous simulation frame to the last (1 is the
// last, drawn as drawFrame draws it). The texts are the last frame's; waitShow is left alone.
void drawFrameBetween(float blend);
