#pragma once

// Shared by the simulation tests: a world of their own and a ball that does exactly what a
// test tells it to.

#include "engine/ball.h"
#include "engine/characters/character_params.h"
#include "engine/mesh.h"
#include "engine/stages.h"
#include "engine/world.h"

#include <gtest/gtest.h>

// A ball whose move only counts itself and reports a drop-out when told to.
class StubBall final : public Ball {
  public:
    int moves = 0;
    int dropOut = 0;

    StubBall(World* world, float x, float y, float mass, float radius)
        : Ball(world, x, y, stubParams(mass, radius)) {
        displayList = DisplayListSentinel;
    }
    int move(const float&, const float&) override {
        ++moves;
        return dropOut;
    }
    void buildModel() override {}

  private:
    static CharacterParams stubParams(float mass, float radius) {
        return {PlayerCode, "STUB", radius, radius, mass, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f}, 12};
    }
};

// A level field of its own; every ball added is deleted with the fixture.
class SimTest : public testing::Test {
  protected:
    World world;

    ~SimTest() override {
        const RosterEntry noBalls[RosterRows] = {};
        world.createRoster(noBalls);
    }

    template <typename T> T& add(T* ball) {
        world.balls[world.ballCount++] = ball;
        return *ball;
    }
    StubBall& addStub(float x, float y, float mass = 1.0f, float radius = 1.0f) {
        return add(new StubBall(&world, x, y, mass, radius));
    }
};

inline constexpr int FlatKind = 1;
inline constexpr int BowlKind = 0;
inline constexpr int DomeKind = 2;
