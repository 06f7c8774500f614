#pragma once

#include "engine/vector3f.h"

// Where a horizontal distance r < S falls between the seven rings: ring k and k + 1 enclose
// it, and t is r measured in ring spacings (k <= t, with k held at 5 where rounding makes
// t reach 6 just inside the rim).
struct RingPosition {
    int k;
    double t;
};

RingPosition ringPosition(float fieldSize, float r);

// Distance of p from the field's vertical axis, rounded to single precision.
float horizontalDistance(const Vector3f& p);
