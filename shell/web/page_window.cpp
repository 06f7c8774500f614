#include "shell/web/page_window.h"

#include "flow/flags.h"
#include "flow/window_view.h"
#include "render/webgl_renderer.h"
#include "shell/game_frame.h"
#include "shell/square_view.h"
#include "shell/web/page_keys.h"

#include <algorithm>
#include <cmath>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

namespace {

// clang-format off
EM_JS(void, togglePageFullscreen, (), {
    if (document.fullscreenElement) {
        document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
        document.documentElement.requestFullscreen().catch(() => {});
    }
});
// clang-format on

} // namespace

Renderer& gameRenderer() {
    static WebGlRenderer canvas(CanvasSelector);
    return canvas;
}

// "e" and "r" size a desktop window: the page fills its window whatever they ask, so it answers
// no resize. Alt+Enter is the page's own full screen: the browser's F11 gives its own, which a
// page that fills its window cannot tell from it. Neither is a setting the page keeps.
void setUpCanvas() {
    gameRenderer().setUp({optDepthBuffer != 0, optNormalize != 0});
    windowRequests = {nullptr, nullptr, togglePageFullscreen, altHeld};
    fitCanvas();
}

void fitCanvas() {
    double cssWidth = 0.0;
    double cssHeight = 0.0;
    emscripten_get_element_css_size(CanvasSelector, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int width = std::max(1, static_cast<int>(std::lround(cssWidth * ratio)));
    const int height = std::max(1, static_cast<int>(std::lround(cssHeight * ratio)));
    int drawnWidth = 0;
    int drawnHeight = 0;
    emscripten_get_canvas_element_size(CanvasSelector, &drawnWidth, &drawnHeight);
    if (width != drawnWidth || height != drawnHeight) {
        emscripten_set_canvas_element_size(CanvasSelector, width, height);
    }
    // The flow's "e" and "r" set a size of their own: the canvas's size holds over it.
    if (width != drawnWidth || height != drawnHeight || width != windowWidth ||
        height != windowHeight) {
        fitSquare(&gameRenderer(), width, height);
    }
}
