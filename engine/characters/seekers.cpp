// The characters that steer relative to the player: Mars, Venus, Pluto and Saturn.
#include "engine/characters/character_params.h"
#include "engine/characters/characters.h"
#include "engine/characters/steering.h"
#include "engine/mesh.h"

namespace {

constexpr float MarsPull = 0.7f;
constexpr float MarsPullPlayerOff = 1.0f;
constexpr float VenusPull = 1.6f;
constexpr float HomeFactor = -1.0f; // straight home while the player is off the field
constexpr float PlutoAttackPull = 0.2f;
constexpr float PlutoRepositionPull = 1.8f;
constexpr float SaturnChargePull = 0.2f;
constexpr float SaturnRetreatPull = 2.0f;
constexpr double SaturnContactDistance = 4.4;
constexpr int SaturnCharge = 0;
constexpr int SaturnRetreat = 1;

Vector3f homeDirection(const Vector3f& q, float fieldSize) {
    return (HomeFactor * q) / fieldSize;
}

} // namespace

Mars::Mars(World* world, const float& x, const float& y) : Ball(world, x, y, MarsParams) {
    displayList = DisplayListSentinel;
    buildModel();
}

int Mars::move(const float&, const float&) {
    countDownStun(*this);
    const Vector3f& p = playerPosition(*world);
    const Vector3f& q = position;
    const float s = world->fieldSize;
    // The chase term is not normalised: far from the player the chase dominates, close to it
    // the pull to the centre.
    const Vector3f d = p.length() < s ? (p - q) - centrePull(MarsPull, q, s)
                                      : -q - centrePull(MarsPullPlayerOff, q, s);
    return advance(driveForce * unit(d), MarsParams.maxSpeed);
}

Venus::Venus(World* world, const float& x, const float& y) : Ball(world, x, y, VenusParams) {
    displayList = DisplayListSentinel;
    buildModel();
}

int Venus::move(const float&, const float&) {
    countDownStun(*this);
    const Vector3f& p = playerPosition(*world);
    const Vector3f& q = position;
    const float s = world->fieldSize;
    const Vector3f d =
        p.length() < s ? unit(q - p) - centrePull(VenusPull, q, s) : homeDirection(q, s);
    return advance(driveForce * unit(d), VenusParams.maxSpeed);
}

Pluto::Pluto(World* world, const float& x, const float& y) : Ball(world, x, y, PlutoParams) {
    displayList = DisplayListSentinel;
    buildModel();
}

int Pluto::move(const float&, const float&) {
    countDownStun(*this);
    const Vector3f& p = playerPosition(*world);
    const Vector3f& q = position;
    const float s = world->fieldSize;
    const float r = p.length();
    Vector3f d;
    if (r >= s) {
        d = homeDirection(q, s);
    } else if (q.length() < r) {
        // Inside the player: attack outward.
        d = unit(p - q) - centrePull(PlutoAttackPull, q, s);
    } else {
        // Get inside the player: away from it and hard towards the centre.
        d = unit(q - p) - centrePull(PlutoRepositionPull, q, s);
    }
    return advance(driveForce * unit(d), PlutoParams.maxSpeed);
}

Saturn::Saturn(World* world, const float& x, const float& y) : Ball(world, x, y, SaturnParams) {
    radius = SaturnParams.radius;
    mode = SaturnCharge;
    displayList = DisplayListSentinel;
    buildModel();
}

int Saturn::move(const float&, const float&) {
    countDownStun(*this);
    const Vector3f& p = playerPosition(*world);
    const Vector3f& q = position;
    const float s = world->fieldSize;
    if (p.length() > s) {
        mode = SaturnRetreat;
    }
    // The mode is read once: a switch below takes effect in the next frame.
    Vector3f d;
    if (mode != SaturnRetreat) {
        d = p - q;
        // A hit (with anything) while close to the player sends it back.
        if (d.length() < SaturnContactDistance && stunFrames > 0) {
            mode = SaturnRetreat;
        }
        d = unit(d) - centrePull(SaturnChargePull, q, s);
    } else {
        d = q - p;
        if (d.length() > s) {
            mode = SaturnCharge;
        }
        d = unit(d) - centrePull(SaturnRetreatPull, q, s);
    }
    // Its sphere rests on the field; its ring counts for the force and the fall.
    return advance(driveForce * unit(d), SaturnParams.maxSpeed, SaturnParams.sphereRadius);
}
