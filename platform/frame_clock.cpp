#include "platform/frame_clock.h"

#include <algorithm>
#include <thread>

FrameTime SteadyTimeSource::now() {
    return std::chrono::steady_clock::now();
}

void SteadyTimeSource::sleepUntil(FrameTime deadline) {
    std::this_thread::sleep_until(deadline);
}

FrameTime FrameClock::nextDeadline(FrameDuration period) {
    const FrameTime now = time.now();
    if (!started) {
        deadline = now;
        started = true;
    }
    deadline += period;
    restarted = now > deadline + period;
    if (restarted) {
        deadline = now;
    }
    return deadline;
}

void FrameClock::waitDeadline() {
    if (!restarted) {
        time.sleepUntil(deadline);
    }
}

void FrameClock::waitNextFrame(FrameDuration period) {
    nextDeadline(period);
    waitDeadline();
}

void StepClock::stepped(FrameTime at, FrameDuration next) {
    if (!started || at > last + 2 * period) {
        last = at;
    } else {
        last += period;
    }
    period = next;
    started = true;
}

float StepClock::blend(FrameTime at) const {
    if (!started || period <= FrameDuration::zero()) {
        return 1.0f;
    }
    const double part = std::chrono::duration<double>(at - last) / period;
    return static_cast<float>(std::clamp(part, 0.0, 1.0));
}

FrameTime PresentClock::plan() {
    return clock.nextDeadline(refresh);
}

void PresentClock::beforeSwap() {
    if (!swapsWait) {
        clock.waitDeadline();
    }
}

void PresentClock::afterSwap() {
    if (!swapsWait) {
        return;
    }
    const FrameTime now = time.now();
    // The swap came back on the vertical blank: the next frame is one refresh on.
    clock.resync(now);
    if (probed == ProbeFrames) {
        return;
    }
    if (probed == 0) {
        probeStart = now;
    }
    // Swaps that waited took a refresh each; half of that is plainly not waiting.
    if (++probed == ProbeFrames && now - probeStart < refresh * (ProbeFrames - 1) / 2) {
        swapsWait = false;
    }
}

TimeSource& steadyTime() {
    static SteadyTimeSource steady;
    return steady;
}

void waitForNextFrame(int level) {
    static FrameClock clock(steadyTime());
    clock.waitNextFrame(framePeriod(level));
}
