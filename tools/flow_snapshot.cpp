#include "tools/flow_snapshot.h"

#include "engine/ball.h"
#include "engine/characters/character_params.h"
#include "engine/characters/characters.h"

#include <cstdint>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace {

constexpr int MaxOwnMembers = 2; // a character adds at most two members to Ball

// Copies every member of `source` into `target`, a ball of the same class; the display list
// stays the target's own.
void assignBall(Ball& target, const Ball& source, World* world) {
    target.position = source.position;
    target.velocity = source.velocity;
    target.radius = source.radius;
    target.mass = source.mass;
    target.driveForce = source.driveForce;
    target.label = source.label;
    target.stunFrames = source.stunFrames;
    target.fallen = source.fallen;
    target.world = world;
    std::uint32_t own[MaxOwnMembers] = {};
    int count = 0;
    visitOwnMembers(source, [&](const auto& member) { own[count++] = flowGlobalBits(member); });
    count = 0;
    visitOwnMembers(target, [&](auto& member) {
        member = flowGlobalFromBits<std::remove_reference_t<decltype(member)>>(own[count++]);
    });
}

} // namespace

Ball* cloneBall(const Ball& ball, World* world) {
    Ball* clone = createCharacter(characterCode(ball), world, ball.position.x, ball.position.y);
    assignBall(*clone, ball, world);
    return clone;
}

FlowSnapshot::FlowSnapshot() : copy(std::make_unique<World>(gameWorld)) {
    int i = 0;
    visitFlowGlobals([&](const char*, auto global, auto, FlowGlobalRole) {
        globals[i++] = flowGlobalBits(global);
    });
    copyBallsFrom(gameWorld);
}

FlowSnapshot::FlowSnapshot(const FlowSnapshot& other)
    : globals(other.globals), copy(std::make_unique<World>(*other.copy)) {
    copyBallsFrom(*other.copy);
}

FlowSnapshot& FlowSnapshot::operator=(const FlowSnapshot& other) {
    FlowSnapshot copied(other);
    return *this = std::move(copied);
}

FlowSnapshot::FlowSnapshot(FlowSnapshot&& other) noexcept
    : globals(other.globals), copy(std::move(other.copy)) {}

FlowSnapshot& FlowSnapshot::operator=(FlowSnapshot&& other) noexcept {
    if (this != &other) {
        deleteBalls();
        globals = other.globals;
        copy = std::move(other.copy);
    }
    return *this;
}

FlowSnapshot::~FlowSnapshot() {
    deleteBalls();
}

void FlowSnapshot::copyBallsFrom(const World& source) {
    for (int i = 0; i < source.ballCount; ++i) {
        copy->balls[i] = cloneBall(*source.balls[i], &gameWorld);
    }
}

void FlowSnapshot::deleteBalls() {
    if (!copy) {
        return;
    }
    for (int i = 0; i < copy->ballCount; ++i) {
        delete copy->balls[i];
        copy->balls[i] = nullptr;
    }
}

void FlowSnapshot::restore() const {
    int i = 0;
    visitFlowGlobals([&](const char*, auto& global, auto, FlowGlobalRole) {
        global = flowGlobalFromBits<std::remove_reference_t<decltype(global)>>(globals[i++]);
    });

    // Balls of the same class in the same slot are overwritten in place, saving the
    // allocations in the common case of a search that restores the same stage again and again.
    Ball* current[MaxBalls];
    const int currentCount = gameWorld.ballCount;
    for (int i = 0; i < currentCount; ++i) {
        current[i] = gameWorld.balls[i];
    }
    gameWorld = *copy;
    for (int i = 0; i < MaxBalls; ++i) {
        Ball* reused = i < currentCount ? current[i] : nullptr;
        if (i >= copy->ballCount) {
            delete reused;
            gameWorld.balls[i] = nullptr;
            continue;
        }
        const Ball& source = *copy->balls[i];
        if (reused != nullptr && typeid(*reused) == typeid(source)) {
            assignBall(*reused, source, &gameWorld);
            gameWorld.balls[i] = reused;
        } else {
            delete reused;
            gameWorld.balls[i] = cloneBall(source, &gameWorld);
        }
    }
}
