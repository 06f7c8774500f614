#include "app/window.h"

#include "app/game_flow.h"
#include "app/input_door.h"
#include "app/options.h"
#include "render/font.h"
#include "render/lighting.h"
#include "sim/stages.h"
#include "sim/world.h"

#include <GL/freeglut.h>

int windowWidth = StartWindowSize;
int windowHeight = StartWindowSize;
float charWidth = 0.0f;
float lineHeight = 0.0f;

namespace {

// 180 / width eye units are one 10-pixel glyph advance at the near plane; the largest double
// below 180 keeps the texts' historical placement.
constexpr double CharWidthPixels = 179.99999999999997;
constexpr double LineHeightPixels = 300.0;
constexpr double FrustumHalfWidth = 9.0;
constexpr double FrustumNear = 40.0;
constexpr double FrustumFar = 65.0;

} // namespace

void gameInit() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    loadLightParams();
    applyLightModel();
    applyLight0();
    if (optDepthBuffer) {
        glDepthFunc(GL_LESS);
        glEnable(GL_DEPTH_TEST);
    }
    if (optNormalize) {
        glEnable(GL_NORMALIZE);
    }
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    buildFont();
    glutKeyboardFunc(doorKeyboard);
    glutSpecialFunc(doorSpecialKey);
    gameWorld.setupField(stageFieldKind[0], stageFieldSize[0]);
    gameWorld.createRoster(stageRoster[0]);
}

void onReshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-FrustumHalfWidth, FrustumHalfWidth, -FrustumHalfWidth, FrustumHalfWidth, FrustumNear,
              FrustumFar);
    glMatrixMode(GL_MODELVIEW);
    windowWidth = width;
    windowHeight = height;
    // A minimised window reports 0: keep the last good units rather than infinities.
    if (width > 0) {
        charWidth = static_cast<float>(CharWidthPixels / width);
    }
    if (height > 0) {
        lineHeight = static_cast<float>(LineHeightPixels / height);
    }
}

void onVisibility(int state) {
    glutIdleFunc(state == GLUT_VISIBLE ? onIdle : nullptr);
}
