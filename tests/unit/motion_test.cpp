// Smooth motion without a window: steps and draws paced on a fake clock, the poses blended
// between two simulation frames, and every recording stepping alike in the smooth loop.
#include "engine/ball.h"
#include "engine/characters/character_params.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "engine/world_pose.h"
#include "flow/frame_pacing.h"
#include "flow/game_flow.h"
#include "flow/replay_source.h"
#include "replay/replay_file.h"

#include "../support/fake_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

using namespace std::chrono_literals;

namespace {

int framesRun = 0;
GamepadState countFrame() {
    ++framesRun;
    return {};
}

// One smooth frame as the window runs it: steps, drawing, the wait, the swap.
float presentFrame(FakeTime& time, PresentClock& presents, StepClock& steps, FrameDuration drawing,
                   FrameDuration swap) {
    const float blend = runDueSteps(presents, steps);
    time.t += drawing;
    presents.beforeSwap();
    time.t += swap;
    presents.afterSwap();
    return blend;
}

} // namespace

// Draws keep the refresh grid, steps the speed level's period, and the wait indicator
// counts steps, not draws.
TEST(SmoothPace, DrawsFollowTheRefreshAndStepsTheLevel) {
    const struct {
        int level;
        double hz;
        int presents;
        int steps;
    } table[] = {{0, 60.0, 120, 60}, {3, 60.0, 120, 42}, {0, 144.0, 288, 60}, {10, 60.0, 120, 10}};
    const GamepadInput saved = gamepadInput;
    gamepadInput = countFrame;
    for (const auto& row : table) {
        resetToTitle();
        waitLevel = row.level;
        waitShow = 1000;
        framesRun = 0;
        FakeTime time;
        const FrameDuration refresh = refreshPeriod(row.hz);
        PresentClock presents(time, refresh, false);
        StepClock steps;
        std::vector<float> blends;
        for (int i = 0; i < row.presents; ++i) {
            blends.push_back(presentFrame(time, presents, steps, 3ms, 0ms));
        }
        EXPECT_EQ(framesRun, row.steps) << "level " << row.level << " at " << row.hz;
        EXPECT_EQ(waitShow, 1000 - row.steps);
        ASSERT_EQ(time.wakes.size(), static_cast<std::size_t>(row.presents));
        for (std::size_t i = 1; i < time.wakes.size(); ++i) {
            EXPECT_EQ(time.wakes[i] - time.wakes[0], static_cast<int>(i) * refresh) << i;
        }
        EXPECT_TRUE(std::all_of(blends.begin(), blends.end(),
                                [](float b) { return b >= 0.0f && b < 1.0f; }));
        if (row.level == 0 && row.hz == 60.0) {
            EXPECT_NEAR(blends[1], 0.5f, 1e-6f);
            EXPECT_NEAR(blends[2], 0.0f, 1e-6f);
        }
        // After a stall (a hidden window) the simulation goes on with one step, not a burst.
        time.t += 1s;
        framesRun = 0;
        presentFrame(time, presents, steps, 3ms, 0ms);
        EXPECT_EQ(framesRun, 1) << "after a stall";
    }
    gamepadInput = saved;
    resetToTitle();
}

// A rate the server does not know (0) or cannot mean is taken as 60 Hz.
TEST(SmoothPace, AnUnknownRefreshRateIsSixtyHertz) {
    for (const double hz : {0.0, -5.0, 0.5, 5000.0}) {
        EXPECT_EQ(refreshPeriod(hz), refreshPeriod(60.0)) << hz;
    }
    EXPECT_EQ(refreshPeriod(144.0), std::chrono::nanoseconds(6944444));
}

// Swap control that is accepted but does not wait (Xvfb) is found out over the first
// frames, and the clock paces from then on; a swap that waits keeps pacing itself.
TEST(SmoothPace, ASwapThatDoesNotWaitLeavesThePaceToTheClock) {
    const FrameDuration refresh = refreshPeriod(60.0);
    for (const FrameDuration swap : {FrameDuration::zero(), refresh}) {
        FakeTime time;
        PresentClock presents(time, refresh, true);
        StepClock steps;
        for (int i = 0; i < PresentClock::ProbeFrames + 4; ++i) {
            presentFrame(time, presents, steps, 1ms, swap);
        }
        const bool waits = swap > FrameDuration::zero();
        EXPECT_EQ(presents.swapWaits(), waits);
        EXPECT_EQ(time.wakes.empty(), waits) << "the clock sleeps only when the swap does not";
    }
}

// Between two frames a ball moves on a straight line, a ball that fell is turned into the
// world frame first, one that came back onto the field jumps, and a ball is matched by
// identity when a slot before it emptied.
TEST(Poses, BlendWhatMovesBetweenTwoFrames) {
    RosterEntry rows[RosterRows];
    std::fill(std::begin(rows), std::end(rows), RosterEntry{RosterEnd, 0.0f, 0.0f});
    rows[0] = {MarsCode, -4.0f, 0.0f};
    rows[1] = {MarsCode, 4.0f, 0.0f};
    rows[2] = {MarsCode, 0.0f, 4.0f};
    gameWorld.setupField(1, 10.0f);
    gameWorld.createRoster(rows);
    gameWorld.tiltX = 0.1f;
    const WorldPose from = captureWorldPose(gameWorld);

    WorldPose to = from;
    to.tiltX = 0.3f;
    to.balls[0].position.x = -2.0f;
    to.balls[1].fallen = 1;
    to.balls[1].position = Vector3f(12.0f, 0.0f, -3.0f);
    WorldPose back = from;
    back.balls[0].fallen = 1; // in `from` fallen, back on the field in `to`
    WorldPose shifted = to;   // the middle ball gone: the third moved up a slot
    shifted.ballCount = 2;
    shifted.balls[1] = to.balls[2];
    shifted.balls[1].position.y = 6.0f;

    Vector3f turned = from.balls[1].position;
    turned.rotate(UnitX, from.tiltX);
    turned.rotate(UnitY, from.tiltY);

    const WorldPose half = blendWorldPoses(from, to, 0.5f);
    EXPECT_FLOAT_EQ(half.tiltX, 0.2f);
    EXPECT_FLOAT_EQ(half.balls[0].position.x, -3.0f);
    EXPECT_NEAR(half.balls[1].position.x, (turned.x + 12.0f) / 2.0f, 1e-5f);
    EXPECT_NEAR(half.balls[1].position.z, (turned.z - 3.0f) / 2.0f, 1e-5f);
    EXPECT_EQ(half.balls[1].fallen, 1);

    EXPECT_EQ(blendWorldPoses(back, from, 0.5f).balls[0].position.x, -4.0f);
    EXPECT_FLOAT_EQ(blendWorldPoses(to, shifted, 0.5f).balls[1].position.y, 5.0f);
}

// The smooth loop runs the same simulation frames: every committed recording ends on its
// checksum, played through it at 144 draws a second with the speed levels it records.
TEST(SmoothPace, EveryRecordingKeepsItsChecksum) {
    std::vector<std::filesystem::path> files = {TUMBRA_SOURCE_DIR "/docs/full_game.replay"};
    for (const auto& entry :
         std::filesystem::directory_iterator(TUMBRA_SOURCE_DIR "/tests/replays")) {
        if (entry.path().extension() == ".replay") {
            files.push_back(entry.path());
        }
    }
    for (const auto& file : files) {
        Replay replay;
        ReplayError error;
        ASSERT_TRUE(loadReplay(file.string(), ReplayText::Recording, replay, error)) << file;
        startAt(replay.start);
        ReplayPlayer played(replay, ThroughTheDoor);
        ReplaySource source(played);
        setInputSource(source);
        FakeTime time;
        PresentClock presents(time, refreshPeriod(144.0), false);
        StepClock steps;
        while (played.framesPlayed() < replay.lastFrame()) {
            presentFrame(time, presents, steps, 1ms, 0ms);
        }
        source.endLastFrame();
        played.finish();
        setInputSource(liveInput());
        EXPECT_TRUE(played.matches()) << file;
    }
    resetToTitle();
}
