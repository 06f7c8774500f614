#pragma once

// Where the moving parts of the world stand after one simulation frame. The display keeps
// the last two, so that it can draw the moments between them; the simulation never reads it.
#include "engine/vector3f.h"
#include "engine/world.h"

class Ball;

struct BallPose {
    const Ball* ball = nullptr; // which ball: slots shift when one drops out
    Vector3f position;          // field frame on the field, world frame once fallen
    int fallen = 0;
};

struct WorldPose {
    float tiltX = 0.0f;
    float tiltY = 0.0f;
    int ballCount = 0;
    BallPose balls[MaxBalls];
};

WorldPose captureWorldPose(const World& world);

// The pose `blend` of the way from `from` to `to` (0 gives `from`, 1 gives `to` exactly), in
// `to`'s ball order. A ball that fell in between is blended in the world frame, its earlier
// place turned by the earlier tilt; a ball that came back onto the field or that `from` does
// not hold stands where `to` has it.
WorldPose blendWorldPoses(const WorldPose& from, const WorldPose& to, float blend);
