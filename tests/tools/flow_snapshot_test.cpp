// Snapshots of the game flow, as the stage solver takes them: a restored moment plays on bit
// for bit as the original did, whatever stage the game was in before the restore.
#include "app/game_flow.h"
#include "app/game_state.h"
#include "sim/ball.h"
#include "sim/stages.h"
#include "sim/world.h"
#include "tools/flow_snapshot.h"
#include "tools/schedule.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr long FrameLimit = 5000;

std::vector<KeyEvent> stageSchedule(int stage) {
    char path[256];
    std::snprintf(path, sizeof path, "%s/stage%02d.txt", TUMBRA_SOLUTIONS_DIR, stage);
    std::vector<KeyEvent> events;
    std::string error;
    EXPECT_TRUE(readScheduleFile(path, events, error)) << error;
    return events;
}

// Plays the schedule's events from `frame` on until the stage is cleared; returns the clear
// frame, the lives, the tilt and every ball's position and velocity, bit for bit.
std::vector<std::uint32_t> playToClear(const std::vector<KeyEvent>& events, long frame) {
    for (; frame < FrameLimit && gameState != StageClear; ++frame) {
        for (const KeyEvent& event : events) {
            if (event.frame == frame) {
                press(event);
            }
        }
        onIdle();
    }
    std::vector<std::uint32_t> bits = {static_cast<std::uint32_t>(frame),
                                       static_cast<std::uint32_t>(lives),
                                       std::bit_cast<std::uint32_t>(gameWorld.tiltX),
                                       std::bit_cast<std::uint32_t>(gameWorld.tiltY)};
    for (int i = 0; i < gameWorld.ballCount; ++i) {
        const Ball& ball = *gameWorld.balls[i];
        for (const float value : {ball.position.x, ball.position.y, ball.position.z,
                                  ball.velocity.x, ball.velocity.y, ball.velocity.z}) {
            bits.push_back(std::bit_cast<std::uint32_t>(value));
        }
    }
    return bits;
}

TEST(FlowSnapshot, ARestoredMomentOfEveryStagePlaysOnAsTheOriginal) {
    for (int stage = FirstStage; stage <= LastStage; ++stage) {
        SCOPED_TRACE("stage " + std::to_string(stage));
        const std::vector<KeyEvent> events = stageSchedule(stage);
        ASSERT_FALSE(events.empty());
        // Half-way through the schedule: collisions have stunned balls and worn Dark down.
        const long middle = events[events.size() / 2].frame;
        loadStageAsGame(stage);
        for (long frame = 1; frame < middle; ++frame) {
            for (const KeyEvent& event : events) {
                if (event.frame == frame) {
                    press(event);
                }
            }
            onIdle();
        }
        const FlowSnapshot snapshot;
        const std::vector<std::uint32_t> original = playToClear(events, middle);
        ASSERT_EQ(gameState, StageClear);

        // Over the title's eight Darks every ball is made anew.
        startAtTitle();
        snapshot.restore();
        EXPECT_EQ(playToClear(events, middle), original);

        // Over the same stage's balls they are overwritten in place.
        const FlowSnapshot copied = snapshot;
        snapshot.restore();
        copied.restore();
        EXPECT_EQ(playToClear(events, middle), original);
    }
}

} // namespace
