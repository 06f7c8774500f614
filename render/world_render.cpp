#include "render/world_pose.h"
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

// Ball::draw goes to the ball's simulated place; a pose that puts it elsewhere shifts the
// frame by the difference first.
void drawBall(Ball& ball, const WorldPose& pose, int slot) {
    const bool posed = slot < pose.ballCount && pose.balls[slot].ball == &ball;
    const Vector3f& place = posed ? pose.balls[slot].position : ball.position;
    if (place.x == ball.position.x && place.y == ball.position.y && place.z == ball.position.z) {
        ball.draw();
        return;
    }
    glPushMatrix();
    glTranslatef(place.x - ball.position.x, place.y - ball.position.y, place.z - ball.position.z);
    ball.draw();
    glPopMatrix();
}

} // namespace

void World::render() {
    renderWorldPose(*this, captureWorldPose(*this));
}

// Without a depth buffer the order decides what covers what: the field covers the fallen
// balls, and the balls on the field cover the field.
void renderWorldPose(World& world, const WorldPose& pose) {
    world.applyMaterialB();
    beginColourTracking();
    for (int i = 0; i < world.ballCount; ++i) {
        if (world.balls[i]->fallen) {
            drawBall(*world.balls[i], pose, i);
        }
    }
    glDisable(GL_COLOR_MATERIAL);

    glPushMatrix();
    glRotatef(toDegrees(pose.tiltY), 0.0f, 1.0f, 0.0f);
    glRotatef(toDegrees(pose.tiltX), 1.0f, 0.0f, 0.0f);
    world.applyMaterialA();
    glCallList(world.fieldList);

    world.applyMaterialB();
    beginColourTracking();
    // The re-entering player blinks: it is left out on frames with an odd countdown.
    const bool playerHidden = world.playPhase == ReentryPhase && world.phaseCountdown % 2 == 1;
    for (int i = playerHidden ? 1 : 0; i < world.ballCount; ++i) {
        if (!world.balls[i]->fallen) {
            drawBall(*world.balls[i], pose, i);
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
