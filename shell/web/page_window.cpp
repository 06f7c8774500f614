#include "shell/web/page_window.h"

#include "app/frame_display.h"
#include "app/frame_view.h"
#include "app/game_flow.h"
#include "app/game_state.h"
#include "app/options.h"
#include "app/screenshot.h"
#include "app/window.h"
#include "render/frame_drawing.h"
#include "render/webgl_renderer.h"
#include "sim/world.h"

#include <algorithm>
#include <cmath>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

int windowWidth = StartWindowSize;
int windowHeight = StartWindowSize;
// The desktop's frame loop names it; the page registers no idle handler.
void (*idleWhenVisible)() = onIdle;

namespace {

// clang-format off
EM_JS(int, pageFullscreen, (), {
    return document.fullscreenElement ? 1 : 0;
});

EM_JS(void, togglePageFullscreen, (), {
    if (document.fullscreenElement) {
        document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
        document.documentElement.requestFullscreen().catch(() => {});
    }
});
// clang-format on

// The square, as large as the canvas allows, centred between black margins.
void fitSquare(int width, int height) {
    const int side = std::min(width, height);
    windowWidth = width;
    windowHeight = height;
    if (side > 0) {
        setTextUnits(side);
        gameRenderer().setView((width - side) / 2, (height - side) / 2, side, textScale);
    }
}

} // namespace

// No GLUT window stands behind the canvas: the flow asks none to resize or redisplay.
bool windowOpen() {
    return false;
}

bool isFullscreen() {
    return pageFullscreen() != 0;
}

// The page's own full screen: the browser's F11 gives its own, which a page that fills its
// window cannot tell from it. Neither is a setting the page keeps.
void toggleFullscreen() {
    togglePageFullscreen();
}

Renderer& gameRenderer() {
    static WebGlRenderer renderer(CanvasSelector);
    return renderer;
}

void setUpCanvas() {
    gameRenderer().setUp({optDepthBuffer != 0, optNormalize != 0});
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
    // "e" and "r" size a desktop window: here the canvas's size holds whatever they set.
    if (width != drawnWidth || height != drawnHeight || width != windowWidth ||
        height != windowHeight) {
        fitSquare(width, height);
    }
}

void drawFrame() {
    drawFrameView(gameRenderer(), gameWorld, frameViewNow());
    if (waitShow > 0) {
        --waitShow;
    }
}

void drawFrameBetween(float blend) {
    drawFrameView(gameRenderer(), gameWorld, frameViewBetween(blend));
}

// Read before the browser shows the frame, as the desktop reads it before the swap.
void saveWantedScreenshot() {
    if (screenshotWanted) {
        screenshotWanted = false;
        takeScreenshot(windowWidth, windowHeight, [](int width, int height) {
            return gameRenderer().readPicture(width, height);
        });
    }
}

// A classic frame's drawing: the page's loop has waited for its turn, and the browser shows it
// when the animation frame ends.
void onDisplay() {
    drawFrame();
    saveWantedScreenshot();
}
