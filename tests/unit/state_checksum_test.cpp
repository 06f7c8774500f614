// The game-flow globals are listed once, and the checksum covers the whole state: changing any
// global (but the display's own), any world member the step reads or any member of any ball,
// the characters' own included, changes it. Version 1 stays as 1.0.0 wrote it.
#include "engine/characters/characters.h"
#include "flow_driver.h"
#include "replay/state_checksum.h"

#include <cstdint>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <vector>

namespace {

// The globals as the program starts, taken before any test runs: they are constant-initialised,
// so this dynamic initialisation sees them untouched.
const std::vector<std::uint32_t> GlobalsAtStart = [] {
    std::vector<std::uint32_t> bits;
    visitFlowGlobals([&](const char*, const auto& global, auto, FlowGlobalRole) {
        bits.push_back(flowGlobalBits(global));
    });
    return bits;
}();

TEST(FlowGlobals, AreListedOnceWithTheirInitialValuesAndDocumented) {
    int count = 0;
    std::vector<std::string> inChecksum;
    visitFlowGlobals([&](const char* name, const auto&, auto initial, FlowGlobalRole role) {
        EXPECT_EQ(GlobalsAtStart[static_cast<std::size_t>(count)], flowGlobalBits(initial)) << name;
        ++count;
        if (role == FlowGlobalRole::State) {
            inChecksum.push_back(std::string("`") + name + "`");
        }
    });
    EXPECT_EQ(count, FlowGlobalCount);

    std::ifstream in(TUMBRA_DOCS_DIR "/replays.md");
    std::stringstream docs;
    docs << in.rdbuf();
    std::smatch line;
    const std::string text = docs.str();
    ASSERT_TRUE(std::regex_search(text, line, std::regex("- the game-flow globals ([^;]*);")));
    std::string listed;
    for (const std::string& name : inChecksum) {
        listed += (listed.empty() ? "" : ", ") + name;
    }
    const std::string documented = std::regex_replace(line[1].str(), std::regex("\\s+"), " ");
    EXPECT_EQ(documented, listed) << "docs/replays.md names the globals the checksum covers";
}

class Checksum : public FlowDriver {};

// A change of one bit of `value`.
template <typename T> void nudge(T& value) {
    value = flowGlobalFromBits<T>(flowGlobalBits(value) ^ 1u);
}

// `change` alters one value and undoes it when called again.
void expectCovered(const std::string& what, const std::function<void()>& change, bool inVersion1) {
    const std::uint64_t before[] = {stateChecksum(1), stateChecksum(2)};
    change();
    EXPECT_EQ(stateChecksum(1) != before[0], inVersion1) << what << " in version 1";
    EXPECT_NE(stateChecksum(2), before[1]) << what << " in version 2";
    change();
    EXPECT_EQ(stateChecksum(2), before[1]) << what;
}

TEST_F(Checksum, CoversEveryGlobalAndEveryMemberTheWorldStepReads) {
    visitFlowGlobals([](const char* name, auto& global, auto, FlowGlobalRole role) {
        const std::uint64_t before = stateChecksum();
        nudge(global);
        EXPECT_EQ(stateChecksum() != before, role == FlowGlobalRole::State) << name;
        nudge(global);
    });

    World& w = gameWorld;
    const struct {
        const char* name;
        std::function<void()> change;
        bool inVersion1;
    } worldMembers[] = {
        {"fieldKind", [&] { nudge(w.fieldKind); }, true},
        {"fieldSize", [&] { nudge(w.fieldSize); }, true},
        {"playPhase", [&] { nudge(w.playPhase); }, true},
        {"phaseCountdown", [&] { nudge(w.phaseCountdown); }, true},
        {"tiltX", [&] { nudge(w.tiltX); }, true},
        {"tiltY", [&] { nudge(w.tiltY); }, true},
        {"tiltRateX", [&] { nudge(w.tiltRateX); }, true},
        {"tiltRateY", [&] { nudge(w.tiltRateY); }, true},
        {"tiltInertia", [&] { nudge(w.tiltInertia); }, false},
        {"tiltGain", [&] { nudge(w.tiltGain); }, false},
        {"ringHeight", [&] { nudge(w.ringHeight[RingCount - 1]); }, false},
        {"ringNormal", [&] { nudge(w.ringNormal[RingCount - 1].z); }, false},
    };
    for (const auto& member : worldMembers) {
        expectCovered(member.name, member.change, member.inVersion1);
    }

    // Every character in some roster, each of its members.
    for (int stage = TitleStage; stage <= EndingStage; ++stage) {
        playStage(stage);
        for (int i = 0; i < gameWorld.ballCount; ++i) {
            Ball& b = *gameWorld.balls[i];
            const std::string where =
                "stage " + std::to_string(stage) + " ball " + std::to_string(i) + " ";
            expectCovered(
                where + "position", [&] { nudge(b.position.y); }, true);
            expectCovered(
                where + "velocity", [&] { nudge(b.velocity.z); }, true);
            expectCovered(
                where + "stunFrames", [&] { nudge(b.stunFrames); }, true);
            expectCovered(
                where + "fallen", [&] { nudge(b.fallen); }, true);
            expectCovered(
                where + "radius", [&] { nudge(b.radius); }, false);
            expectCovered(
                where + "mass", [&] { nudge(b.mass); }, false);
            expectCovered(
                where + "driveForce", [&] { nudge(b.driveForce); }, false);
            int member = 0;
            visitOwnMembers(b, [&](auto& own) {
                expectCovered(
                    where + "own member " + std::to_string(member++), [&] { nudge(own); }, false);
            });
        }
    }
}

} // namespace
