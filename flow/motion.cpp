#include "flow/motion.h"

#include "engine/game_state.h"
#include "engine/world.h"

#include <cmath>

namespace {

Moment previousMoment;
Moment currentMoment;
bool motionKept = false; // false until a frame is captured, and after a stage load

Moment blendMoments(const Moment& from, const Moment& to, float blend) {
    Moment moment = to;
    moment.world = blendWorldPoses(from.world, to.world, blend);
    moment.introFrame = from.intro && to.intro
                            ? std::lerp(from.introFrame, to.introFrame, double(blend))
                            : to.introFrame;
    return moment;
}

} // namespace

Moment momentNow() {
    return {captureWorldPose(gameWorld), gameState == StageIntro, static_cast<double>(countdown)};
}

void captureMotion() {
    const Moment now = momentNow();
    previousMoment = motionKept ? currentMoment : now;
    currentMoment = now;
    motionKept = true;
}

void restartMotion() {
    motionKept = false;
}

Moment momentBetween(float blend) {
    return motionKept ? blendMoments(previousMoment, currentMoment, blend) : momentNow();
}
