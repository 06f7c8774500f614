// What the stage solver and the stitch stand on: snapshots of the game flow, of which a
// restored moment plays on bit for bit as the original did, and the schedule reader.
#include "engine/ball.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/game_flow.h"
#include "tools/flow_snapshot.h"
#include "tools/schedule.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr long FrameLimit = 5000;

Replay stageSchedule(int stage) {
    char path[256];
    std::snprintf(path, sizeof path, "%s/stage%02d.txt", TUMBRA_SOLUTIONS_DIR, stage);
    Replay schedule;
    std::string error;
    EXPECT_TRUE(readScheduleFile(path, schedule.events, error)) << error;
    return schedule;
}

// Plays the schedule's events from `frame` on until the stage is cleared; returns the clear
// frame, the lives, the tilt and every ball's position and velocity, bit for bit.
std::vector<std::uint32_t> playToClear(ReplayFeed feed, long frame) {
    for (; frame < FrameLimit && gameState != StageClear; ++frame) {
        feed.feedFrame(static_cast<int>(frame), FlowKeys);
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
        const Replay schedule = stageSchedule(stage);
        ASSERT_FALSE(schedule.events.empty());
        // Half-way through the schedule: collisions have stunned balls and worn Dark down.
        const long middle = schedule.events[schedule.events.size() / 2].frame;
        loadStageAsGame(stage);
        ReplayFeed feed(schedule);
        for (long frame = 1; frame < middle; ++frame) {
            feed.feedFrame(static_cast<int>(frame), FlowKeys);
            onIdle();
        }
        const FlowSnapshot snapshot;
        const std::vector<std::uint32_t> original = playToClear(feed, middle);
        ASSERT_EQ(gameState, StageClear);

        // Over the title's eight Darks every ball is made anew.
        startAtTitle();
        snapshot.restore();
        EXPECT_EQ(playToClear(feed, middle), original);

        // Over the same stage's balls they are overwritten in place.
        const FlowSnapshot copied = snapshot;
        snapshot.restore();
        copied.restore();
        EXPECT_EQ(playToClear(feed, middle), original);
    }
}

// A schedule is a replay event list: the file and the line of a fault are named.
TEST(Schedule, ReadsEventsAndNamesTheFileAndLineOfEveryFault) {
    const struct {
        const char* text;
        const char* error; // empty when the text is good
    } cases[] = {
        {"# comment\n81 key 56\n81 special 102\r\n90 key 53\n", ""},
        {"81 key 56\n0 key 53\n", ":2: the frame"},
        {"81 key 27\n", ":1: Escape"},
        {"90 key 56\n81 key 53\n", ":2: out of time order"},
        {"81 pad leftX=1\n", ": a key schedule holds no pad lines"},
    };
    const std::string path = testing::TempDir() + "schedule_" + std::to_string(getpid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs(c.text, file);
        std::fclose(file);
        std::vector<ReplayEvent> events;
        std::string error;
        EXPECT_EQ(readScheduleFile(path, events, error), *c.error == '\0');
        EXPECT_EQ(error.find(path + c.error), *c.error == '\0' ? std::string::npos : 0) << error;
        if (*c.error == '\0') {
            EXPECT_EQ(events, (std::vector<ReplayEvent>{{81, ReplayEvent::Key, 56},
                                                        {81, ReplayEvent::Special, 102},
                                                        {90, ReplayEvent::Key, 53}}));
        }
    }
    std::remove(path.c_str());
}

} // namespace
