#include "shell/window.h"

#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/version.h"
#include "engine/world.h"
#include "flow/game_flow.h"
#include "flow/input_door.h"
#include "platform/window_x11.h"
#include "render/renderer.h"
#include "shell/frame_display.h"
#include "shell/options.h"
#include "shell/square_view.h"
#include "shell/window_icons.h"

#include <GL/freeglut.h>

void (*idleWhenVisible)() = onIdle;

namespace {

// The program's name as the instance part of the class hint.
constexpr const char* InstanceName = "tumbra";

// Recordings keep GLUT's codes of the special keys, which the game names itself.
static_assert(F11Key == GLUT_KEY_F11 && F12Key == GLUT_KEY_F12 && LeftKey == GLUT_KEY_LEFT &&
              UpKey == GLUT_KEY_UP && RightKey == GLUT_KEY_RIGHT && DownKey == GLUT_KEY_DOWN &&
              InsertKey == GLUT_KEY_INSERT);

void reshapeSquare(int size) {
    glutReshapeWindow(size, size);
}

// Whether the game's window is there, its OpenGL context current: headless runs have none.
bool windowOpen() {
    return glutGetWindow() != 0;
}

void toggleFullscreen() {
    setFullscreen(optFullscreen == 0);
}

// In a key callback: whether Alt is held.
bool altHeld() {
    return windowOpen() && (glutGetModifiers() & GLUT_ACTIVE_ALT) != 0;
}

} // namespace

void gameInit() {
    gameRenderer().setUp({optDepthBuffer != 0, optNormalize != 0});
    windowRequests = {reshapeSquare, glutPostRedisplay, toggleFullscreen, altHeld};
    glutKeyboardFunc(doorKeyboard);
    glutSpecialFunc(doorSpecialKey);
    gameWorld.setupField(stageFieldKind[0], stageFieldSize[0]);
    gameWorld.createRoster(stageRoster[0]);
}

void onReshape(int width, int height) {
    fitSquare(windowOpen() ? &gameRenderer() : nullptr, width, height);
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

void nameWindowForDesktop() {
    setWindowIdentity(InstanceName, AppId, windowIcons());
}
