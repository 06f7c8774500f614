#include "app/window.h"

#include "app/frame_display.h"
#include "app/game_flow.h"
#include "app/input_door.h"
#include "app/options.h"
#include "app/version.h"
#include "app/window_icons.h"
#include "platform/window_x11.h"
#include "render/renderer.h"
#include "sim/stages.h"
#include "sim/world.h"

#include <GL/freeglut.h>
#include <algorithm>

int windowWidth = StartWindowSize;
int windowHeight = StartWindowSize;
void (*idleWhenVisible)() = onIdle;

namespace {

// The program's name as the instance part of the class hint.
constexpr const char* InstanceName = "tumbra";

} // namespace

bool windowOpen() {
    return glutGetWindow() != 0;
}

void gameInit() {
    gameRenderer().setUp({optDepthBuffer != 0, optNormalize != 0});
    glutKeyboardFunc(doorKeyboard);
    glutSpecialFunc(doorSpecialKey);
    gameWorld.setupField(stageFieldKind[0], stageFieldSize[0]);
    gameWorld.createRoster(stageRoster[0]);
}

void onReshape(int width, int height) {
    const int side = std::min(width, height);
    windowWidth = width;
    windowHeight = height;
    // A minimised window reports 0: keep the last good units rather than infinities.
    if (side > 0) {
        setTextUnits(side);
    }
    if (windowOpen()) {
        gameRenderer().setView((width - side) / 2, (height - side) / 2, side, textScale);
    }
}

void onVisibility(int state) {
    glutIdleFunc(state == GLUT_VISIBLE ? idleWhenVisible : nullptr);
}

// freeglut keeps the size from before and brings it back on leaving. optFullscreen is the
// window's state from here on, and the player's choice that the settings keep.
void setFullscreen(bool on) {
    if (!windowOpen()) {
        return;
    }
    if (on) {
        glutFullScreen();
    } else {
        glutLeaveFullScreen();
    }
    optFullscreen = on ? 1 : 0;
}

void toggleFullscreen() {
    setFullscreen(optFullscreen == 0);
}

bool isFullscreen() {
    return optFullscreen != 0;
}

bool altHeld() {
    return windowOpen() && (glutGetModifiers() & GLUT_ACTIVE_ALT) != 0;
}

void nameWindowForDesktop() {
    setWindowIdentity(InstanceName, AppId, windowIcons());
}
