#include "platform/frame_clock.h"

#include "../support/fake_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace std::chrono_literals;

namespace {

double seconds(FrameDuration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

TEST(FramePeriod, ThirtyFramesASecondSlowingWithTheSquareOfTheLevel) {
    // Milliseconds per frame at levels 0 to 10: 30 frames a second, 25 at level 2, 13.3 at
    // level 5 and 5 at level 10.
    const double table[] = {33.333333, 35.0,  40.0,  48.333333,  60.0, 75.0,
                            93.333333, 115.0, 140.0, 168.333333, 200.0};
    for (int level = 0; level <= 10; ++level) {
        EXPECT_NEAR(seconds(framePeriod(level)) * 1000.0, table[level], 1e-5) << "level " << level;
    }
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

// A frame whose drawing takes longer than a period comes after its deadline. Up to one period
// past it, the schedule holds: the late frame does not wait and the next is due on the old
// grid. Later than that (a hidden window, a stalled machine) the schedule starts again from
// the late frame, and no burst of frames follows.
TEST(FrameClock, ALateFrameKeepsTheScheduleUnlessItIsAWholePeriodPastItsDeadline) {
    const FrameDuration period = framePeriod(0);
    const struct {
        FrameDuration drawing; // of the late frame, from the wake before it
        bool keepsSchedule;
    } table[] = {
        {period + 10ms, true},
        {period * 3 / 2, true},
        {period * 5 / 2, false},
        {2s, false},
    };
    for (const auto& row : table) {
        FakeTime time;
        FrameClock clock(time);
        clock.waitNextFrame(period);
        const FrameTime start = time.t;
        time.pass(row.drawing);
        const FrameTime lateEnd = time.t;
        clock.waitNextFrame(period);
        EXPECT_EQ(time.t, lateEnd) << "the late frame does not wait";
        time.wakes.clear();
        for (int frame = 0; frame < 3; ++frame) {
            time.pass(1ms);
            clock.waitNextFrame(period);
        }
        const FrameTime grid = row.keepsSchedule ? start + 2 * period : lateEnd + period;
        ASSERT_EQ(time.wakes.size(), 3u);
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_EQ(time.wakes[frame], grid + frame * period)
                << "drawing " << seconds(row.drawing) << " s, frame " << frame;
        }
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
