#include "engine/world_pose.h"

#include "engine/ball.h"

#include <cmath>

namespace {

Vector3f lerp(const Vector3f& a, const Vector3f& b, float t) {
    return {std::lerp(a.x, b.x, t), std::lerp(a.y, b.y, t), std::lerp(a.z, b.z, t)};
}

const BallPose* findBall(const WorldPose& pose, const Ball* ball) {
    for (int i = 0; i < pose.ballCount; ++i) {
        if (pose.balls[i].ball == ball) {
            return &pose.balls[i];
        }
    }
    return nullptr;
}

// Where a ball stood in `from`, in the frame that `to` holds it in.
Vector3f earlierPlace(const BallPose& earlier, const WorldPose& from, const BallPose& now) {
    Vector3f place = earlier.position;
    if (!earlier.fallen && now.fallen) {
        // The field-to-world turn that the fall itself makes.
        place.rotate(UnitX, from.tiltX);
        place.rotate(UnitY, from.tiltY);
    }
    return place;
}

} // namespace

WorldPose captureWorldPose(const World& world) {
    WorldPose pose;
    pose.tiltX = world.tiltX;
    pose.tiltY = world.tiltY;
    pose.ballCount = world.ballCount;
    for (int i = 0; i < world.ballCount; ++i) {
        const Ball& ball = *world.balls[i];
        pose.balls[i] = {&ball, ball.position, ball.fallen};
    }
    return pose;
}

WorldPose blendWorldPoses(const WorldPose& from, const WorldPose& to, float blend) {
    WorldPose pose = to;
    pose.tiltX = std::lerp(from.tiltX, to.tiltX, blend);
    pose.tiltY = std::lerp(from.tiltY, to.tiltY, blend);
    for (int i = 0; i < to.ballCount; ++i) {
        const BallPose& now = to.balls[i];
        const BallPose* earlier = findBall(from, now.ball);
        if (earlier == nullptr || (earlier->fallen && !now.fallen)) {
            continue;
        }
        pose.balls[i].position = lerp(earlierPlace(*earlier, from, now), now.position, blend);
    }
    return pose;
}
