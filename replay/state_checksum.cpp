#include "replay/state_checksum.h"

#include "app/game_state.h"
#include "sim/ball.h"
#include "sim/world.h"

#include <bit>

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
    void add(float value) { add(std::bit_cast<std::uint32_t>(value)); }
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

std::uint64_t stateChecksum() {
    Fnv1a sum;
    sum.add(static_cast<int>(gameState));
    sum.add(lives);
    sum.add(countdown);
    sum.add(stageNumber);
    sum.add(paused);
    sum.add(static_cast<int>(lastKey));
    sum.add(lastSpecialKey);
    sum.add(padX);
    sum.add(padY);
    sum.add(arrowX);
    sum.add(arrowY);
    sum.add(waitLevel);
    sum.add(beepRequest);

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
    for (int i = 0; i < world.ballCount; ++i) {
        const Ball& ball = *world.balls[i];
        sum.add(ball.position);
        sum.add(ball.velocity);
        sum.add(ball.stunFrames);
        sum.add(ball.fallen);
    }
    return sum.value();
}

StateMark currentStateMark() {
    return {static_cast<int>(gameState), stageNumber, lives};
}
