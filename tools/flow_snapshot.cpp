#include "tools/flow_snapshot.h"

#include "characters/character_params.h"
#include "characters/characters.h"
#include "sim/ball.h"

#include <typeinfo>
#include <utility>

namespace {

int characterCode(const Ball& ball) {
    if (dynamic_cast<const Player*>(&ball) != nullptr) {
        return PlayerCode;
    }
    if (dynamic_cast<const Mars*>(&ball) != nullptr) {
        return MarsCode;
    }
    if (dynamic_cast<const Saturn*>(&ball) != nullptr) {
        return SaturnCode;
    }
    if (dynamic_cast<const Jupiter*>(&ball) != nullptr) {
        return JupiterCode;
    }
    if (dynamic_cast<const Pluto*>(&ball) != nullptr) {
        return PlutoCode;
    }
    if (dynamic_cast<const Venus*>(&ball) != nullptr) {
        return VenusCode;
    }
    if (dynamic_cast<const Dark*>(&ball) != nullptr) {
        return DarkCode;
    }
    return DummyCode;
}

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
    if (auto* saturn = dynamic_cast<Saturn*>(&target)) {
        saturn->mode = static_cast<const Saturn&>(source).mode;
    } else if (auto* dark = dynamic_cast<Dark*>(&target)) {
        dark->mode = static_cast<const Dark&>(source).mode;
        dark->bonusDrive = static_cast<const Dark&>(source).bonusDrive;
    } else if (auto* jupiter = dynamic_cast<Jupiter*>(&target)) {
        jupiter->orbitForce = static_cast<const Jupiter&>(source).orbitForce;
    }
}

} // namespace

Ball* cloneBall(const Ball& ball, World* world) {
    Ball* clone = createCharacter(characterCode(ball), world, ball.position.x, ball.position.y);
    assignBall(*clone, ball, world);
    return clone;
}

FlowSnapshot::FlowSnapshot()
    : globals{gameState, lives, countdown, stageNumber, paused,    lastKey,  lastSpecialKey,
              padX,      padY,  arrowX,    arrowY,      waitLevel, waitShow, beepRequest},
      copy(std::make_unique<World>(gameWorld)) {
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
    gameState = globals.gameState;
    lives = globals.lives;
    countdown = globals.countdown;
    stageNumber = globals.stageNumber;
    paused = globals.paused;
    lastKey = globals.lastKey;
    lastSpecialKey = globals.lastSpecialKey;
    padX = globals.padX;
    padY = globals.padY;
    arrowX = globals.arrowX;
    arrowY = globals.arrowY;
    waitLevel = globals.waitLevel;
    waitShow = globals.waitShow;
    beepRequest = globals.beepRequest;

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
