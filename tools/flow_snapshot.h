#pragma once

#include "engine/game_state.h"
#include "engine/world.h"

#include <array>
#include <cstdint>
#include <memory>

class Ball;

// A copy of everything a frame of the game flow reads and writes: the game-flow globals and
// gameWorld with its balls. Restoring it puts the game back exactly where it was, so a
// search can try many futures from one moment without replaying the past.
class FlowSnapshot {
  public:
    // The state as it stands now.
    FlowSnapshot();
    FlowSnapshot(const FlowSnapshot& other);
    FlowSnapshot& operator=(const FlowSnapshot& other);
    FlowSnapshot(FlowSnapshot&& other) noexcept;
    FlowSnapshot& operator=(FlowSnapshot&& other) noexcept;
    ~FlowSnapshot();

    void restore() const;

    // The copy of the world: its balls belong to the snapshot and never move.
    const World& world() const { return *copy; }

  private:
    // Every game-flow global, as flowGlobalBits gives it.
    std::array<std::uint32_t, FlowGlobalCount> globals{};
    std::unique_ptr<World> copy;

    void copyBallsFrom(const World& source);
    void deleteBalls();
};

// A new ball of the same class as `ball` with all its members, living in `world`.
Ball* cloneBall(const Ball& ball, World* world);
