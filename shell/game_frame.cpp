#include "shell/game_frame.h"

#include "engine/world.h"
#include "flow/frame_view.h"
#include "flow/window_keys.h"
#include "flow/window_view.h"
#include "player/screenshot.h"
#include "render/frame_drawing.h"
#include "render/renderer.h"

void drawFrame() {
    drawFrameView(gameRenderer(), gameWorld, frameViewNow());
    countWaitIndicatorFrame();
}

void drawFrameBetween(float blend) {
    drawFrameView(gameRenderer(), gameWorld, frameViewBetween(blend));
}

void saveWantedScreenshot() {
    if (screenshotAsked()) {
        takeScreenshot(windowWidth, windowHeight, [](int width, int height) {
            return gameRenderer().readPicture(width, height);
        });
    }
}
