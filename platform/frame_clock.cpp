#include "platform/frame_clock.h"

#include <thread>

FrameTime SteadyTimeSource::now() {
    return std::chrono::steady_clock::now();
}

void SteadyTimeSource::sleepUntil(FrameTime deadline) {
    std::this_thread::sleep_until(deadline);
}

void FrameClock::waitNextFrame(FrameDuration period) {
    const FrameTime now = time.now();
    if (!started) {
        deadline = now;
        started = true;
    }
    deadline += period;
    if (now > deadline + period) {
        deadline = now;
        return;
    }
    time.sleepUntil(deadline);
}

void waitForNextFrame(int level) {
    static SteadyTimeSource steady;
    static FrameClock clock(steady);
    clock.waitNextFrame(framePeriod(level));
}
