#include "engine/field.h"

#include "engine/ball.h"
#include "engine/numbers.h"
#include "engine/own_math.h"
#include "engine/world.h"

#include <cmath>

namespace {

constexpr double OneSixth = 0.16666666666666666;
constexpr double QuarterTurnF = 1.5707963705062866;     // pi/2 with pi in single precision
constexpr double ThreeQuarterTurnsF = 4.71238911151886; // 3 pi/2 likewise
constexpr double InertiaFactor = 0.39999999999999997;   // the double just below 0.4
constexpr double GainFactor = 3.0;
constexpr int LastRing = RingCount - 1;

enum FieldKind { Bowl = 0, Flat = 1, Dome = 2, RingedBowl = 3, Cone = 4, Spike = 5 };

// Cosine and sine of ring i's profile angle, each rounded to single precision.
void ringAngle(int i, double sweep, float& c, float& s) {
    const float a = toFloat(i * sweep * OneSixth);
    const SinCosFloat turn = ownSinCosFloat(a);
    c = turn.cs;
    s = turn.sn;
}

} // namespace

float horizontalDistance(const Vector3f& p) {
    return toFloat(std::sqrt(double(p.x) * p.x + double(p.y) * p.y));
}

RingPosition ringPosition(float fieldSize, float r) {
    const double t = double(r) / double(toFloat(double(fieldSize) * OneSixthF));
    int k = static_cast<int>(t);
    if (k > LastRing - 1) {
        k = LastRing - 1;
    }
    return {k, t};
}

void World::setupField(const int& kind, const float& size) {
    fieldKind = kind;
    fieldSize = size;
    const double cube = integerPower(fieldSize, 3);
    tiltInertia = toFloat(cube * InertiaFactor);
    tiltGain = toFloat(cube * GainFactor);
    playPhase = 0;
    phaseCountdown = 0;
    tiltX = tiltY = tiltRateX = tiltRateY = 0.0f;

    const double s = fieldSize;
    const int profile = (fieldKind >= Bowl && fieldKind <= Spike) ? fieldKind : Bowl;
    for (int i = 0; i < RingCount; ++i) {
        float c = 0.0f;
        float sn = 0.0f;
        switch (profile) {
        case Bowl:
            ringAngle(i, QuarterTurnF, c, sn);
            ringHeight[i] = toFloat(-double(c) * (s * 0.2));
            ringNormal[i] = Vector3f(toFloat(-0.6 * sn), 0.0f, 1.0f);
            break;
        case Flat:
            ringHeight[i] = 0.0f;
            ringNormal[i] = UnitZ;
            break;
        case Dome:
            ringAngle(i, QuarterTurnF, c, sn);
            ringHeight[i] = toFloat(s * 0.2 * c);
            ringNormal[i] = Vector3f(toFloat(0.6 * sn), 0.0f, 1.0f);
            break;
        case RingedBowl:
            ringAngle(i, ThreeQuarterTurnsF, c, sn);
            ringHeight[i] = toFloat(s * -0.2 * c);
            ringNormal[i] = Vector3f(toFloat(-0.5 * sn), 0.0f, 1.0f);
            break;
        case Cone:
            ringHeight[i] = toFloat((1.0 - i * OneSixthF) * (s * 0.25));
            ringNormal[i] = Vector3f(0.25f, 0.0f, 0.75f);
            break;
        case Spike: {
            // Ring j stands at S/2 * ((6 - j)/6)^6: steep at the centre, nearly flat outside.
            const float inward = toFloat(i * OneSixthF);
            ringHeight[LastRing - i] = toFloat(s * 0.5 * integerPower(inward, 6));
            const float outward = toFloat((LastRing - i) * OneSixthF);
            ringNormal[i] = Vector3f(toFloat(4.0 * integerPower(outward, 5)), 0.0f, 1.0f);
            break;
        }
        }
        if (profile != Flat) {
            ringNormal[i].normalize();
        }
    }
    ringNormal[0] = UnitZ;

    initMaterialA();
    initMaterialB();
    buildFieldMesh();
}

float World::surfaceHeight(Ball& ball) {
    const Vector3f& p = ball.position;
    const float radius = ball.radius;
    const float r = horizontalDistance(p);
    if (ball.fallen) {
        return p.z;
    }
    if (r < fieldSize) {
        const auto [k, t] = ringPosition(fieldSize, r);
        return toFloat((k + 1 - t) * ringHeight[k] + radius + (t - k) * ringHeight[k + 1]);
    }
    const double overhang = double(r) - fieldSize;
    if (double(r) < double(fieldSize) + radius) {
        return toFloat(std::sqrt(double(radius) * radius - overhang * overhang));
    }
    ball.fallen = 1;
    Vector3f worldPosition = p;
    worldPosition.rotate(UnitX, tiltX);
    worldPosition.rotate(UnitY, tiltY);
    ball.position = worldPosition;
    return worldPosition.z;
}
