#include "render/world_drawing.h"

#include "engine/ball.h"

namespace {

constexpr double HalfTurnDegrees = 180.0;
constexpr double InversePiF = 0.31830987732601135; // 1 / pi with pi in single precision
// Set before each ball's model, which gives its own colours.
constexpr Colour BallColour{0.0f, 0.6f, 0.0f};

float toDegrees(float radians) {
    return static_cast<float>(radians * HalfTurnDegrees * InversePiF);
}

// A ball's model is placed at the ball's simulated place; a pose that puts it elsewhere
// shifts it by the difference first.
void drawBall(Renderer& renderer, const Ball& ball, const WorldPose& pose, int slot,
              const Placement& frame) {
    const bool posed = slot < pose.ballCount && pose.balls[slot].ball == &ball;
    const Vector3f& place = posed ? pose.balls[slot].position : ball.position;
    Placement placement = frame;
    if (place.x != ball.position.x || place.y != ball.position.y || place.z != ball.position.z) {
        placement.move(place.x - ball.position.x, place.y - ball.position.y,
                       place.z - ball.position.z);
    }
    placement.move(ball.position.x, ball.position.y, ball.position.z);
    renderer.drawMesh(ball.displayList, placement, BallColour);
}

} // namespace

void drawWorld(Renderer& renderer, const World& world, const WorldPose& pose,
               const Placement& view) {
    renderer.setMaterial(world.fieldMaterialB);
    renderer.trackColours(true);
    for (int i = 0; i < world.ballCount; ++i) {
        if (world.balls[i]->fallen) {
            drawBall(renderer, *world.balls[i], pose, i, view);
        }
    }
    renderer.trackColours(false);

    Placement tilted = view;
    tilted.turn(toDegrees(pose.tiltY), 0.0f, 1.0f, 0.0f);
    tilted.turn(toDegrees(pose.tiltX), 1.0f, 0.0f, 0.0f);
    renderer.setMaterial(world.fieldMaterialA);
    renderer.drawMesh(world.fieldList, tilted);

    renderer.setMaterial(world.fieldMaterialB);
    renderer.trackColours(true);
    // The re-entering player blinks: it is left out on frames with an odd countdown.
    const bool playerHidden = world.playPhase == ReentryPhase && world.phaseCountdown % 2 == 1;
    for (int i = playerHidden ? 1 : 0; i < world.ballCount; ++i) {
        if (!world.balls[i]->fallen) {
            drawBall(renderer, *world.balls[i], pose, i, tilted);
        }
    }
}
