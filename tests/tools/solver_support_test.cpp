// What the stage solver and the stitch stand on: snapshots of the game flow, of which a
// restored moment plays on bit for bit as the original did, and the schedule reader.
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
#include <sstream>
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

TEST(Schedule, ReadsEventsAndNamesTheLineOfEveryFault) {
    struct Case {
        const char* text;
        const char* error; // empty when the text is good
    };
    const Case cases[] = {
        {"# comment\n\n81 key 56\n81 special 102\r\n  # indented comment\n90 key 53\n", ""},
        {"81 key 56\n0 key 53\n", "line 2: expected FRAME key CODE or FRAME special CODE"},
        {"81 kee 56\n", "line 1: expected FRAME key CODE or FRAME special CODE"},
        {"81 key 256\n", "line 1: expected FRAME key CODE or FRAME special CODE"},
        {"81 key -1\n", "line 1: expected FRAME key CODE or FRAME special CODE"},
        {"81 key 56 9\n", "line 1: expected FRAME key CODE or FRAME special CODE"},
        {"81 special\n", "line 1: expected FRAME key CODE or FRAME special CODE"},
        {"99999999999 key 56\n", "line 1: expected FRAME key CODE or FRAME special CODE"},
        {"81 key 27\n", "line 1: Escape would end the game"},
        {"90 key 56\n81 key 53\n", "line 2: frames out of order"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream in(c.text);
        std::vector<KeyEvent> events;
        std::string error;
        EXPECT_EQ(readSchedule(in, events, error), *c.error == '\0');
        EXPECT_EQ(error, c.error);
        if (*c.error == '\0') {
            ASSERT_EQ(events.size(), 3u);
            EXPECT_EQ(formatEvent(events[0]), "81 key 56");
            EXPECT_EQ(formatEvent(events[1]), "81 special 102");
            EXPECT_EQ(formatEvent(events[2]), "90 key 53");
        }
    }
}

} // namespace
