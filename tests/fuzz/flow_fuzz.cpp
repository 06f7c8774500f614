// tumbra-flow-fuzz: the game flow fed random events through its real handlers, headless, in
// the order GLUT would call them, with the game's invariants checked after every frame.
//
//   tumbra-flow-fuzz events N [SEED]   N random events: keys (all but Escape), special keys,
//                                      reshapes of any size, visibility changes and frames
//   tumbra-flow-fuzz title FRAMES      the title demonstration for FRAMES frames
//   tumbra-flow-fuzz endings N         N endings, from the clearing of the last stage to the
//                                      title, with direction keys pressed during the credits
//
// A broken invariant prints the seed and the index of the event after which it broke, and
// the same seed breaks it again at the same event; the exit status is then 1.
#include "engine/ball.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/game_flow.h"
#include "flow/window_view.h"
#include "player/settings.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/resource.h>

namespace {

constexpr int MaxLives = 4;
constexpr int LargestReshape = 4096;
constexpr int EndingFrameLimit = 1300; // all-clear screen and credits: 19 + 1200 frames

using Clock = std::chrono::steady_clock;

// GLUT's idle handler as the game registers it: main registers onIdle, and the visibility
// handler replaces it. This definition takes the place of freeglut's glutIdleFunc, which
// would end a process that has no window, so that the real onVisibility can run here.
void (*idleHandler)() = onIdle;

long beepsHeard = 0;
long badPitches = 0;

void countBeep(int pitch) {
    ++beepsHeard;
    if (pitch < LowestBeepPitch || pitch > HighestBeepPitch) {
        ++badPitches;
    }
}

bool finite(const Vector3f& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool within(int value, int low, int high) {
    return value >= low && value <= high;
}

// Empty while every invariant of the game flow holds, else the first one broken.
std::string brokenInvariant() {
    if (!within(gameState, Playing, StageIntro)) {
        return "gameState " + std::to_string(gameState);
    }
    if (!within(lives, 0, MaxLives)) {
        return "lives " + std::to_string(lives);
    }
    if (!within(stageNumber, TitleStage, EndingStage)) {
        return "stageNumber " + std::to_string(stageNumber);
    }
    if (!within(waitLevel, SpeedLevelSetting.lowest(), SpeedLevelSetting.highest())) {
        return "waitLevel " + std::to_string(waitLevel);
    }
    if (countdown < 0) {
        return "countdown " + std::to_string(countdown);
    }
    if (badPitches > 0) {
        return "a beep outside 100 to 4000 Hz";
    }
    const World& world = gameWorld;
    if (!within(world.ballCount, 0, MaxBalls)) {
        return "ballCount " + std::to_string(world.ballCount);
    }
    if (!std::isfinite(world.tiltX) || !std::isfinite(world.tiltY) ||
        !std::isfinite(world.tiltRateX) || !std::isfinite(world.tiltRateY)) {
        return "tilt not finite";
    }
    for (int i = 0; i < world.ballCount; ++i) {
        if (!finite(world.balls[i]->position) || !finite(world.balls[i]->velocity)) {
            return std::string(world.balls[i]->label) + " in slot " + std::to_string(i) +
                   " not finite";
        }
    }
    return "";
}

std::string brokenWindowLimit() {
    if (windowWidth != windowHeight ||
        !within(windowWidth, WindowSizeSetting.lowest(), WindowSizeSetting.highest())) {
        return "window " + std::to_string(windowWidth) + " by " + std::to_string(windowHeight) +
               " after a size key";
    }
    return "";
}

// Peak resident memory so far, in KiB.
long peakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class Fuzzer {
  public:
    explicit Fuzzer(std::uint64_t seed) : seed(seed), random(seed) {}

    // Runs `count` events; false (with the failure printed) when an invariant breaks.
    bool run(long count) {
        const Clock::time_point start = Clock::now();
        while (event < count) {
            // A random number of input events, then the next frame.
            for (long inputs = pick(4); inputs > 0 && event < count; --inputs) {
                if (!input()) {
                    return false;
                }
            }
            if (event < count && !nextFrame()) {
                return false;
            }
        }
        const double seconds = secondsSince(start);
        std::printf("seed %llu: %ld events (%.0f a second), %ld frames, %ld beeps, furthest "
                    "stage %d%s\n",
                    static_cast<unsigned long long>(seed), event, event / seconds, frames,
                    beepsHeard, furthestStage, endingReached ? ", the ending reached" : "");
        return true;
    }

  private:
    long pick(long n) { return static_cast<long>(random() % static_cast<std::uint64_t>(n)); }

    bool fail(const std::string& what) const {
        std::printf("seed %llu, event %ld: %s\n", static_cast<unsigned long long>(seed), event,
                    what.c_str());
        return false;
    }

    bool input() {
        ++event;
        const long kind = pick(100);
        if (kind < 60) {
            unsigned char key = static_cast<unsigned char>(pick(256));
            if (key == EscapeKey) {
                key = 0;
            }
            onKeyboard(key, 0, 0);
            if (key == 'e' || key == 'r') {
                const std::string broken = brokenWindowLimit();
                return broken.empty() || fail(broken);
            }
        } else if (kind < 90) {
            // Half of them arrows, the rest any code at all.
            const int key = pick(2) == 0 ? GLUT_KEY_LEFT + static_cast<int>(pick(4))
                                         : static_cast<int>(pick(512));
            onSpecialKey(key, 0, 0);
        } else if (kind < 98) {
            onReshape(size(), size());
        } else {
            onVisibility(pick(3) == 0 ? GLUT_NOT_VISIBLE : GLUT_VISIBLE);
        }
        return true;
    }

    int size() { return pick(10) == 0 ? 0 : static_cast<int>(pick(LargestReshape + 1)); }

    // GLUT runs no frames while the window is hidden.
    bool nextFrame() {
        ++event;
        if (idleHandler == nullptr) {
            return true;
        }
        idleHandler();
        ++frames;
        if (gameState != Title && gameState != Ending && stageNumber > furthestStage) {
            furthestStage = stageNumber;
        }
        endingReached = endingReached || gameState == Ending;
        const std::string broken = brokenInvariant();
        return broken.empty() || fail(broken);
    }

    std::uint64_t seed;
    std::mt19937_64 random;
    long event = 0;
    long frames = 0;
    int furthestStage = 0;
    bool endingReached = false;
};

bool frameAndCheck(long frame) {
    onIdle();
    const std::string broken = brokenInvariant();
    if (!broken.empty()) {
        std::printf("frame %ld: %s\n", frame, broken.c_str());
        return false;
    }
    return true;
}

int runTitle(long frameCount) {
    const Clock::time_point start = Clock::now();
    long startPeak = 0;
    for (long frame = 1; frame <= frameCount; ++frame) {
        if (!frameAndCheck(frame)) {
            return 1;
        }
        if (frame == 1) {
            startPeak = peakRssKiB();
        }
    }
    std::printf("%ld title frames in %.1f s, still on the title: %s, %d balls; peak RSS %ld KiB "
                "after the first frame, %ld KiB at the end\n",
                frameCount, secondsSince(start), gameState == Title ? "yes" : "no",
                gameWorld.ballCount, startPeak, peakRssKiB());
    return gameState == Title ? 0 : 1;
}

int runEndings(long endingCount) {
    const Clock::time_point start = Clock::now();
    std::mt19937_64 random(1);
    long frame = 0;
    long firstPeak = 0;
    for (long ending = 1; ending <= endingCount; ++ending) {
        // As the world step leaves the flow when the last stage is cleared.
        stageNumber = LastStage;
        gameState = StageClear;
        countdown = OutcomeFrames;
        for (int n = 0; n < EndingFrameLimit && !(gameState == Title && n > 0); ++n) {
            if (gameState == Ending) {
                onSpecialKey(GLUT_KEY_LEFT + static_cast<int>(random() % 4), 0, 0);
                onKeyboard(static_cast<unsigned char>('1' + random() % 9), 0, 0);
            }
            if (!frameAndCheck(++frame)) {
                return 1;
            }
        }
        if (gameState != Title) {
            std::printf("ending %ld did not return to the title\n", ending);
            return 1;
        }
        if (ending == 1) {
            firstPeak = peakRssKiB();
        }
    }
    std::printf("%ld endings (%ld frames) in %.1f s; peak RSS %ld KiB after the first, %ld KiB "
                "at the end\n",
                endingCount, frame, secondsSince(start), firstPeak, peakRssKiB());
    return 0;
}

bool readCount(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value > 0;
}

int usage() {
    std::fprintf(stderr, "usage: tumbra-flow-fuzz events N [SEED] | title FRAMES | endings N\n");
    return 2;
}

} // namespace

void glutIdleFunc(void (*callback)()) {
    idleHandler = callback;
}

int main(int argc, char** argv) {
    long count = 0;
    if (argc < 3 || !readCount(argv[2], count)) {
        return usage();
    }
    beepOutput = countBeep;
    loadStage(); // the title stage, as the game's start builds it
    const std::string mode = argv[1];
    if (mode == "events" && argc <= 4) {
        const std::uint64_t seed =
            argc == 4 ? std::strtoull(argv[3], nullptr, 10)
                      : static_cast<std::uint64_t>(Clock::now().time_since_epoch().count());
        return Fuzzer(seed).run(count) ? 0 : 1;
    }
    if (mode == "title" && argc == 3) {
        return runTitle(count);
    }
    if (mode == "endings" && argc == 3) {
        return runEndings(count);
    }
    return usage();
}
