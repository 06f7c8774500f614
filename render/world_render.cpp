#include "sim/ball.h"
#include "sim/world.h"

#include <GL/gl.h>

namespace {

constexpr double HalfTurnDegrees = 180.0;
constexpr double InversePiF = 0.31830987732601135; // 1 / pi with pi in single precision
// Left behind as the front material's colour: the texts drawn after the world are lit cyan.
constexpr float TextColour[4] = {0.0f, 1.0f, 1.0f, 1.0f};

float toDegrees(float radians) {
    return static_cast<float>(radians * HalfTurnDegrees * InversePiF);
}

// Balls take their colours from glColor while they are drawn.
void beginColourTracking() {
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

} // namespace

// Without a depth buffer the order decides what covers what: the field covers the fallen
// balls, and the balls on the field cover the field.
void World::render() {
    applyMaterialB();
    beginColourTracking();
    for (int i = 0; i < ballCount; ++i) {
        if (balls[i]->fallen) {
            balls[i]->draw();
        }
    }
    glDisable(GL_COLOR_MATERIAL);

    glPushMatrix();
    glRotatef(toDegrees(tiltY), 0.0f, 1.0f, 0.0f);
    glRotatef(toDegrees(tiltX), 1.0f, 0.0f, 0.0f);
    applyMaterialA();
    glCallList(fieldList);

    applyMaterialB();
    beginColourTracking();
    // The re-entering player blinks: it is left out on frames with an odd countdown.
    const bool playerHidden = playPhase == ReentryPhase && phaseCountdown % 2 == 1;
    for (int i = playerHidden ? 1 : 0; i < ballCount; ++i) {
        if (!balls[i]->fallen) {
            balls[i]->draw();
        }
    }
    glColor3fv(TextColour);
    glDisable(GL_COLOR_MATERIAL);
    // Some drivers (Mesa) update a tracked material only when the colour changes: in a frame
    // that draws no ball the colour is still the cyan of the frame before, and the material
    // would stay grey. Setting it outright leaves the same state everywhere.
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, TextColour);
    glPopMatrix();
}
