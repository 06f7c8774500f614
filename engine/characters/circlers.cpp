// The characters that circle the centre regardless of the player: Jupiter, Dark and Dummy.
#include "engine/characters/character_params.h"
#include "engine/characters/characters.h"
#include "engine/characters/steering.h"
#include "engine/field.h"
#include "engine/mesh.h"
#include "engine/own_math.h"

namespace {

constexpr double OrbitRadiusFactor = 0.666;
constexpr double OrbitDesignSpeed = 5.0;
constexpr float OrbitTangentialSpeed = 6.0f;
constexpr float OrbitRadiusGain = 13.0f;

constexpr float DarkTangentialWeight = 7.5f;
constexpr float DarkCirclingInwardWeight = 0.0f;  // times S
constexpr float DarkTurningInInwardWeight = 1.0f; // times S
constexpr double DarkTurnInAt = 0.9;              // times S
constexpr double DarkStopTurningAt = 0.35;        // times S
constexpr int DarkStartBonus = 600;
constexpr int DarkBonusStep = 10;
constexpr int DarkCircling = 0;
constexpr int DarkTurningIn = 1;

constexpr float DummyTangentialWeight = 3.5f;
constexpr float DummyInwardWeight = 0.1f; // times S

float orbitRadius(float fieldSize) {
    return toFloat(fieldSize * OrbitRadiusFactor);
}

// tangentialWeight x the clockwise tangent plus inwardWeight x the way to the centre, as a
// unit vector.
Vector3f circlingDirection(const Vector3f& q, float tangentialWeight, float inwardWeight) {
    const Vector3f tangent = unit(clockwiseTangent(q));
    const Vector3f inward = unit(-q);
    return unit(tangentialWeight * tangent + inwardWeight * inward);
}

} // namespace

Jupiter::Jupiter(World* world, const float& x, const float& y) : Ball(world, x, y, JupiterParams) {
    displayList = DisplayListSentinel;
    buildModel();
    setUpOrbit();
}

// The radial force that, with the surface force at the orbit radius, holds Jupiter's mass on
// that circle at the design speed. Needs a level field, as every stage load gives.
void Jupiter::setUpOrbit() {
    const float rho = orbitRadius(world->fieldSize);
    orbitForce = toFloat(mass * -1.0 * integerPower(OrbitDesignSpeed, 2) / rho);
    const Vector3f start = position;
    position = Vector3f(rho, 0.0f, 0.0f);
    const Vector3f g = world->surfaceForce(*this, ZeroVector);
    orbitForce = orbitForce - g.dot(UnitX);
    position = start;
}

int Jupiter::move(const float&, const float&) {
    countDownStun(*this);
    const Vector3f& q = position;
    const Vector3f& v = velocity;
    Vector3f r = orbitForce * unit(Vector3f(q.x, q.y, 0.0f));
    // Keep the sense of rotation it has; at rest or moving radially it goes clockwise.
    Vector3f t = q.cross(v).z > 0.0f ? UnitZ.cross(q) : q.cross(UnitZ);
    t.normalize();
    if (isNearZero(t.length())) {
        t = UnitX;
    }
    t = driveForce * unit(OrbitTangentialSpeed * t - v);
    r = r + t;
    const Vector3f b = orbitRadius(world->fieldSize) * unit(q) - q;
    // The steering term enters twice: once in r and once more here.
    const Vector3f drive = r + t + OrbitRadiusGain * b;
    return advance(drive, JupiterParams.maxSpeed);
}

Dark::Dark(World* world, const float& x, const float& y) : Ball(world, x, y, DarkParams) {
    mode = DarkCircling;
    bonusDrive = DarkStartBonus;
    displayList = DisplayListSentinel;
    buildModel();
}

int Dark::move(const float&, const float&) {
    // Dark is never stunned: a fresh collision costs it drive instead.
    if (stunFrames > 0) {
        stunFrames = 0;
        if (bonusDrive > 0) {
            bonusDrive -= DarkBonusStep;
        }
    }
    const float h = horizontalDistance(position);
    const double s = world->fieldSize;
    // The mode is read once: a switch takes effect in the next frame.
    const int current = mode;
    if (current != DarkTurningIn) {
        if (h > DarkTurnInAt * s) {
            mode = DarkTurningIn;
        }
    } else if (h < DarkStopTurningAt * s) {
        mode = DarkCircling;
    }
    const float inwardWeight =
        current == DarkTurningIn ? DarkTurningInInwardWeight : DarkCirclingInwardWeight;
    const Vector3f d =
        circlingDirection(position, DarkTangentialWeight, inwardWeight * world->fieldSize);
    return advance((float(bonusDrive) + driveForce) * d, DarkParams.maxSpeed);
}

Dummy::Dummy(World* world, const float& x, const float& y) : Ball(world, x, y, DummyParams) {
    displayList = DisplayListSentinel;
    buildModel();
}

int Dummy::move(const float&, const float&) {
    countDownStun(*this);
    const Vector3f d =
        circlingDirection(position, DummyTangentialWeight, world->fieldSize * DummyInwardWeight);
    return advance(driveForce * d, DummyParams.maxSpeed);
}
