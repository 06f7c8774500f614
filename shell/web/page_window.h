#pragma once

// The page's canvas as the game's window: it fills the page, and the square of the scene is
// fitted into it as into the desktop's window. What the flow asks of a window (flow/
// window_view.h) the page answers here, and its gameRenderer() draws on the canvas.

// The canvas's CSS selector.
inline constexpr const char* CanvasSelector = "#canvas";

// Before the first frame: the renderer on the canvas, with the drawing options, and the page's
// answers to the flow's window requests.
void setUpCanvas();
// At the start of every animation frame: the canvas's pixels follow its size on the page (and
// the display's pixel ratio), and the square and the texts follow them.
void fitCanvas();
