#pragma once

// The scene's square in a window or a page's canvas of any shape.
class Renderer;

// The window is `width` by `height` pixels: the square as large as it allows, centred between
// black margins, and the texts at its scale. A minimised window reports 0: the last good units
// are kept rather than infinities. Without a `renderer` (no window) only the sizes are kept.
void fitSquare(Renderer* renderer, int width, int height);
