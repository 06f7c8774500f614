#pragma once

// Time that moves only when the test says so or when the clock sleeps, so that pacing tests
// hold on a busy machine.
#include "platform/frame_clock.h"

#include <algorithm>
#include <chrono>
#include <vector>

class FakeTime final : public TimeSource {
  public:
    FrameTime now() override { return t; }
    void sleepUntil(FrameTime deadline) override {
        t = std::max(t, deadline);
        wakes.push_back(t);
    }
    void pass(FrameDuration d) { t += d; }

    FrameTime t{std::chrono::seconds(1000)};
    std::vector<FrameTime> wakes;
};
