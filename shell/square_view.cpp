#include "shell/square_view.h"

#include "flow/window_view.h"
#include "render/renderer.h"

#include <algorithm>

void fitSquare(Renderer* renderer, int width, int height) {
    const int side = std::min(width, height);
    windowWidth = width;
    windowHeight = height;
    if (side <= 0) {
        return;
    }
    setTextUnits(side);
    if (renderer != nullptr) {
        renderer->setView((width - side) / 2, (height - side) / 2, side, textScale);
    }
}
