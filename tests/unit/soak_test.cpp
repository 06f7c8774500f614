// Long runs of every stage: the state stays finite and the ball table stays within bounds.
#include "engine/ball.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr long TitleSteps = 200000;
constexpr long StageSteps = 20000;

bool finite(const Vector3f& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Empty when the world is sound, else what is wrong with it.
std::string fault(const World& world) {
    if (world.ballCount < 0 || world.ballCount > MaxBalls) {
        return "ballCount " + std::to_string(world.ballCount);
    }
    if (!std::isfinite(world.tiltX) || !std::isfinite(world.tiltY) ||
        !std::isfinite(world.tiltRateX) || !std::isfinite(world.tiltRateY)) {
        return "tilt not finite";
    }
    for (int i = 0; i < world.ballCount; ++i) {
        const Ball& ball = *world.balls[i];
        if (!finite(ball.position) || !finite(ball.velocity)) {
            return std::string(ball.label) + " in slot " + std::to_string(i) + " not finite";
        }
    }
    return "";
}

void load(int stage) {
    lives = StartingLives;
    stageNumber = stage;
    loadStage();
}

TEST(SoakTest, TheTitleDemonstrationRunsOnWithTheFieldHeldLevel) {
    load(TitleStage);
    for (long step = 1; step <= TitleSteps; ++step) {
        gameWorld.step(0.0f, 0.0f, 0.0f, 0.0f);
        gameWorld.tiltX = 0.0f;
        gameWorld.tiltY = 0.0f;
        const std::string problem = fault(gameWorld);
        ASSERT_EQ(problem, "") << "step " << step;
    }
}

TEST(SoakTest, EveryOtherStageRunsOnWithNoInput) {
    for (int stage = FirstStage; stage <= EndingStage; ++stage) {
        load(stage);
        for (long step = 1; step <= StageSteps; ++step) {
            gameWorld.step(0.0f, 0.0f, 0.0f, 0.0f);
            const std::string problem = fault(gameWorld);
            ASSERT_EQ(problem, "") << "stage " << stage << ", step " << step;
        }
    }
}

} // namespace
