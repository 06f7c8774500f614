#include "replay/state_checksum.h"

#include "engine/ball.h"
#include "engine/characters/characters.h"
#include "engine/float_bits.h"
#include "engine/game_state.h"
#include "engine/world.h"

namespace {

// 64-bit FNV-1a over the values' bytes in a fixed order, little-endian whatever the machine.
class Fnv1a {
  public:
    void add(std::uint32_t value) {
        for (int byte = 0; byte < 4; ++byte) {
            hash = (hash ^ ((value >> (8 * byte)) & 0xffu)) * Prime;
        }
    }
    void add(int value) { add(static_cast<std::uint32_t>(value)); }
    // The float's bits: -0.0 and 0.0 differ, as they may in a later computation.
    void add(float value) { add(floatBits(value)); }
    void add(const Vector3f& v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    std::uint64_t value() const { return hash; }

  private:
    static constexpr std::uint64_t OffsetBasis = 0xcbf29ce484222325ull;
    static constexpr std::uint64_t Prime = 0x100000001b3ull;
    std::uint64_t hash = OffsetBasis;
};

} // namespace

std::uint64_t stateChecksum(int formatVersion) {
    const bool whole = formatVersion >= 2;
    Fnv1a sum;
    visitFlowGlobals([&](const char*, const auto& global, auto, FlowGlobalRole role) {
        if (role == FlowGlobalRole::State) {
            sum.add(flowGlobalBits(global));
        }
    });

    const World& world = gameWorld;
    sum.add(world.fieldKind);
    sum.add(world.fieldSize);
    sum.add(world.playPhase);
    sum.add(world.phaseCountdown);
    sum.add(world.tiltX);
    sum.add(world.tiltY);
    sum.add(world.tiltRateX);
    sum.add(world.tiltRateY);
    sum.add(world.ballCount);
    if (whole) {
        sum.add(world.tiltInertia);
        sum.add(world.tiltGain);
        for (int ring = 0; ring < RingCount; ++ring) {
            sum.add(world.ringHeight[ring]);
            sum.add(world.ringNormal[ring]);
        }
    }
    for (int i = 0; i < world.ballCount; ++i) {
        const Ball& ball = *world.balls[i];
        sum.add(ball.position);
        sum.add(ball.velocity);
        sum.add(ball.stunFrames);
        sum.add(ball.fallen);
        if (whole) {
            sum.add(characterCode(ball));
            sum.add(ball.radius);
            sum.add(ball.mass);
            sum.add(ball.driveForce);
            visitOwnMembers(ball, [&](const auto& member) { sum.add(flowGlobalBits(member)); });
        }
    }
    return sum.value();
}

StateMark currentStateMark() {
    return {static_cast<int>(gameState), stageNumber, lives};
}
