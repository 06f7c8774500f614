#include "flow/frame_pacing.h"

#include "engine/game_state.h"
#include "flow/flags.h"
#include "flow/game_flow.h"
#include "flow/motion.h"
#include "flow/window_keys.h"

FrameDuration refreshPeriod(double hz) {
    const bool plausible = hz >= LowestRefreshHz && hz <= HighestRefreshHz;
    return std::chrono::round<FrameDuration>(
        std::chrono::duration<double>(1.0 / (plausible ? hz : DefaultRefreshHz)));
}

float runDueSteps(PresentClock& presents, StepClock& steps) {
    const FrameTime shownAt = presents.plan();
    while (steps.due(shownAt)) {
        // The wait indicator counts simulation frames: the one shown until now is over.
        countWaitIndicatorFrame();
        onIdle();
        captureMotion();
        steps.stepped(shownAt, framePeriod(waitLevel));
    }
    return steps.blend(shownAt);
}
