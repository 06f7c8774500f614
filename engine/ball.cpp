#include "engine/ball.h"

#include "engine/characters/character_params.h"
#include "engine/field.h"
#include "engine/float_bits.h"
#include "engine/mesh.h"
#include "engine/world.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr float TimeStep = 0.1f; // one frame, for both the velocity and the position change
constexpr double FallLevel = -15.0;
constexpr double Gravity = -10.0; // per unit of mass

// Bit patterns, so that a cached result is reused only for exactly the same inputs (the sign
// of a zero tilt included).
bool sameBits(float a, float b) {
    return floatBits(a) == floatBits(b);
}

} // namespace

Ball::Ball(World* world, const float& x, const float& y, const CharacterParams& params) {
    position = x * UnitX + y * UnitY;
    stunFrames = 0;
    fallen = 0;
    velocity = ZeroVector;
    radius = params.sphereRadius;
    mass = params.mass;
    driveForce = params.driveForce;
    label = params.label;
    this->world = world;
    position.z = world->surfaceHeight(*this);
}

Ball::~Ball() {
    meshStore().release(displayList);
}

int Ball::advance(const Vector3f& drive, float maxSpeed) {
    return advance(drive, maxSpeed, radius);
}

int Ball::advance(const Vector3f& drive, float maxSpeed, float heightRadius) {
    const Vector3f force = world->surfaceForce(*this, drive);
    velocity = velocity + (TimeStep * force) / mass;
    if (velocity.length() > maxSpeed) {
        velocity.normalize();
        velocity = maxSpeed * velocity;
    }
    position = position + TimeStep * velocity;
    const float collisionRadius = radius;
    radius = heightRadius;
    position.z = world->surfaceHeight(*this);
    radius = collisionRadius;
    return position.z < FallLevel - radius ? 1 : 0;
}

Vector3f World::fieldGravity(float mass) {
    FieldGravity& last = lastFieldGravity;
    if (!sameBits(last.tiltX, tiltX) || !sameBits(last.tiltY, tiltY)) {
        last.tiltX = tiltX;
        last.tiltY = tiltY;
        last.untiltX = Turn(-tiltX);
        last.untiltY = Turn(-tiltY);
        last.mass = std::numeric_limits<float>::quiet_NaN();
    }
    if (!sameBits(last.mass, mass)) {
        Vector3f force(0.0f, 0.0f, toFloat(mass * Gravity));
        force.rotate(UnitX, last.untiltX);
        force.rotate(UnitY, last.untiltY);
        last.mass = mass;
        last.force = force;
    }
    return last.force;
}

Vector3f World::surfaceForce(Ball& ball, const Vector3f& drive) {
    const Vector3f gravity(0.0f, 0.0f, toFloat(ball.mass * Gravity));
    const float r = horizontalDistance(ball.position);
    const float azimuth = signedAngle(UnitX, ball.position, UnitZ);
    const Vector3f ownDrive = ball.stunFrames != 0 ? ZeroVector : drive;
    const float radius = ball.radius;

    if (ball.fallen) {
        return gravity;
    }
    if (r < fieldSize) {
        const auto [k, t] = ringPosition(fieldSize, r);
        const float outerWeight = toFloat(t - k);
        const float innerWeight = toFloat(k + 1 - t);
        Vector3f normal = innerWeight * ringNormal[k] + outerWeight * ringNormal[k + 1];
        normal.rotate(UnitZ, azimuth);
        normal.normalize();
        const Vector3f a = fieldGravity(ball.mass);
        return (a - a.dot(normal) * normal) + ownDrive;
    }
    if (double(r) < double(fieldSize) + radius) {
        // On the rim edge: the normal runs from the edge circle to the ball's centre, but no
        // more upright than the last ring's, and the edge only pushes, never pulls.
        const double overhang = double(r) - fieldSize;
        const float h = toFloat(std::sqrt(double(radius) * radius - overhang * overhang));
        Vector3f normal(toFloat(overhang / radius), 0.0f, toFloat(double(h) / radius));
        if (normal.z > ringNormal[RingCount - 1].z) {
            normal = ringNormal[RingCount - 1];
        }
        normal.rotate(UnitZ, azimuth);
        normal.normalize();
        Vector3f a = fieldGravity(ball.mass);
        if (a.dot(normal) < 0.0f) {
            a = a - a.dot(normal) * normal;
        }
        if (ownDrive.dot(normal) < 0.0f) {
            return (a + ownDrive) - ownDrive.dot(normal) * normal;
        }
        return a;
    }
    // Off the field: from now on the ball lives in the world frame. For this one frame the
    // force is still the field-frame gravity.
    ball.fallen = 1;
    const Vector3f a = fieldGravity(ball.mass);
    Vector3f p = ball.position;
    p.rotate(UnitX, tiltX);
    p.rotate(UnitY, tiltY);
    ball.position = p;
    return a;
}
