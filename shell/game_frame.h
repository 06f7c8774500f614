#pragma once

// A frame of the game as the flow describes it, drawn by the program's renderer: the same for
// the desktop's window and the page's canvas, each of which gives its own gameRenderer().
class Renderer;

// The program's renderer: OpenGL 1.1 in the desktop's window (set up by gameInit), WebGL on the
// page's canvas.
Renderer& gameRenderer();

// Everything of one frame up to the buffer swap. Counts waitShow down.
void drawFrame();
// The moment `blend` of the way from the previous simulation frame to the last, drawn;
// waitShow is left alone.
void drawFrameBetween(float blend);
// F12: the picture just drawn, read back before it is shown, saved as a screenshot.
void saveWantedScreenshot();
