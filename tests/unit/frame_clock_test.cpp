#include "platform/frame_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Time that moves only when the test says so or when the clock sleeps.
class FakeTime final : public TimeSource {
  public:
    FrameTime now() override { return t; }
    void sleepUntil(FrameTime deadline) override {
        t = std::max(t, deadline);
        wakes.push_back(t);
    }
    void pass(FrameDuration d) { t += d; }

    FrameTime t{1000s};
    std::vector<FrameTime> wakes;
};

double seconds(FrameDuration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

TEST(FramePeriod, ThirtyFramesASecondSlowingWithTheSquareOfTheLevel) {
    for (int level = 0; level <= 10; ++level) {
        EXPECT_NEAR(seconds(framePeriod(level)), 1.0 / 30.0 + level * level / 600.0, 1e-9)
            << "level " << level;
    }
    EXPECT_NEAR(1.0 / seconds(framePeriod(0)), 30.0, 1e-6);
    EXPECT_NEAR(1.0 / seconds(framePeriod(10)), 5.0, 1e-6);
}

TEST(FrameClock, FramesFollowThePeriodWhateverTheDrawingCosts) {
    for (int level = 0; level <= 10; ++level) {
        FakeTime time;
        FrameClock clock(time);
        const FrameTime first = time.t;
        constexpr int Frames = 30;
        for (int frame = 0; frame < Frames; ++frame) {
            time.pass(frame % 2 == 0 ? 3ms : 20ms); // drawing and simulation
            clock.waitNextFrame(framePeriod(level));
        }
        // The first frame's deadline counts from its own end of drawing.
        EXPECT_EQ(time.t - first, 3ms + Frames * framePeriod(level)) << "level " << level;
    }
}

TEST(FrameClock, ASlightlyLateFrameKeepsTheSchedule) {
    FakeTime time;
    FrameClock clock(time);
    const FrameDuration period = framePeriod(0);
    clock.waitNextFrame(period);
    const FrameTime start = time.t;
    time.pass(period + 10ms); // this frame overran by 10 ms
    clock.waitNextFrame(period);
    time.pass(1ms);
    clock.waitNextFrame(period);
    // The next frame is shortened so that the long-run rate holds.
    EXPECT_EQ(time.t, start + 2 * period);
}

TEST(FrameClock, NoBurstAfterAStall) {
    FakeTime time;
    FrameClock clock(time);
    const FrameDuration period = framePeriod(0);
    clock.waitNextFrame(period);
    time.pass(2s); // a hidden window or a stalled machine
    const FrameTime stallEnd = time.t;
    clock.waitNextFrame(period);
    EXPECT_EQ(time.t, stallEnd) << "the late frame does not wait any longer";
    time.wakes.clear();
    for (int frame = 0; frame < 5; ++frame) {
        time.pass(1ms);
        clock.waitNextFrame(period);
    }
    ASSERT_EQ(time.wakes.size(), 5u);
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(time.wakes[frame], stallEnd + (frame + 1) * period);
    }
}

TEST(FrameClock, ANewLevelTakesEffectOnTheNextFrame) {
    FakeTime time;
    FrameClock clock(time);
    clock.waitNextFrame(framePeriod(0));
    const FrameTime start = time.t;
    clock.waitNextFrame(framePeriod(3));
    EXPECT_EQ(time.t - start, framePeriod(3));
    clock.waitNextFrame(framePeriod(0));
    EXPECT_EQ(time.t - start, framePeriod(3) + framePeriod(0));
}
