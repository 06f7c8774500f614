#pragma once

// The window's drawing: a frame as the flow describes it, drawn by the window's renderer.
class Renderer;

// The renderer of the game's window, set up by gameInit.
Renderer& gameRenderer();

// GLUT display callback of the classic frames: draws the frame, waits for its turn, shows it.
void onDisplay();

// Everything of one frame up to the buffer swap. Counts waitShow down.
void drawFrame();
// F12: the picture just drawn, read back before the swap, saved as a screenshot.
void saveWantedScreenshot();
// The moment `blend` of the way from the previous simulation frame to the last, drawn;
// waitShow is left alone.
void drawFrameBetween(float blend);
