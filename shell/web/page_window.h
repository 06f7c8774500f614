#pragma once

// The page's canvas as the game's window: it fills the page, and the square of the scene is
// fitted into it as into the desktop's window (app/window.h and app/frame_display.h, whose
// functions the page defines for the flow).

// The canvas's CSS selector.
inline constexpr const char* CanvasSelector = "#canvas";

// Before the first frame: the renderer on the canvas, with the drawing options.
void setUpCanvas();
// At the start of every animation frame: the canvas's pixels follow its size on the page (and
// the display's pixel ratio), and the square and the texts follow them.
void fitCanvas();
