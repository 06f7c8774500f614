#pragma once

// Small helpers the behaviours share.

#include "engine/ball.h"
#include "engine/world.h"

// Most characters ignore their drive for the rest of a stun: one frame less each move.
inline void countDownStun(Ball& ball) {
    if (ball.stunFrames > 0) {
        --ball.stunFrames;
    }
}

// v normalised; a vector of near-zero length stays as it is.
inline Vector3f unit(Vector3f v) {
    v.normalize();
    return v;
}

// k q / S: subtracted from a direction it steers towards the centre, harder the farther out.
inline Vector3f centrePull(float k, const Vector3f& q, float fieldSize) {
    return (k * q) / fieldSize;
}

// The ball in slot 0, the player's in every play stage.
inline const Vector3f& playerPosition(const World& world) {
    return world.balls[0]->position;
}

// a x UnitZ for the ball's position a, or for UnitX when a is near zero: the clockwise
// tangent seen from above.
inline Vector3f clockwiseTangent(const Vector3f& position) {
    const Vector3f a = isNearZero(position.length()) ? UnitX : position;
    return a.cross(UnitZ);
}
