#include "app/timedemo.h"

#include "app/frame_display.h"
#include "app/game_flow.h"
#include "app/input_door.h"
#include "app/options.h"
#include "app/replay_player.h"
#include "app/replay_window.h"
#include "app/window.h"
#include "platform/window_x11.h"
#include "replay/replay_file.h"

#include <GL/freeglut.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr const char* ProgramName = "tumbra";

using Clock = std::chrono::steady_clock;

std::string demoPath;
Replay demoReplay;
std::unique_ptr<ReplayPlayer> demoPlayer;
Clock::time_point demoStart;

void finishTimedemo() {
    const double seconds = std::chrono::duration<double>(Clock::now() - demoStart).count();
    demoPlayer->finish();
    const int frames = demoPlayer->framesPlayed();
    const bool matches = demoPlayer->matches();
    std::printf("%s: %d frames in %.3f s: %.1f frames per second; checksum %s\n", demoPath.c_str(),
                frames, seconds, seconds > 0.0 ? frames / seconds : 0.0,
                matches ? "matches" : "does not match");
    std::fflush(stdout);
    if (!matches) {
        demoPlayer->reportMismatch(ProgramName, demoPath);
    }
    std::exit(matches ? 0 : ReplayMismatchStatus);
}

// The recording as the door's source, timed from its first frame to its last.
class TimedemoSource final : public InputSource {
  public:
    bool takesWindowKeys() const override { return false; }

    void startFrame() override {
        if (demoPlayer->framesPlayed() == 0) {
            demoStart = Clock::now();
        } else {
            demoPlayer->endFrame();
        }
        if (demoPlayer->over()) {
            finishTimedemo();
        }
        demoPlayer->startFrame();
    }

    GamepadState pad() override { return demoPlayer->pad(); }
};

TimedemoSource demoSource;

// Every simulation frame drawn and shown at once.
void demoDisplay() {
    drawFrame();
    glutSwapBuffers();
}

} // namespace

bool loadTimedemo(const std::string& path) {
    ReplayError fault;
    if (!loadReplay(path, ReplayText::Recording, demoReplay, fault)) {
        const std::string where = fault.line > 0 ? path + ":" + std::to_string(fault.line) : path;
        std::fprintf(stderr, "%s: %s: %s\n", ProgramName, where.c_str(), fault.message.c_str());
        return false;
    }
    demoPath = path;
    optSilent = 1;
    return true;
}

void (*startTimedemo())() {
    // Drivers may hold each swap for the display's refresh by default.
    disableSwapControl();
    startAt(demoReplay.start);
    demoPlayer = std::make_unique<ReplayPlayer>(demoReplay);
    setInputSource(demoSource);
    idleWhenVisible = onIdle;
    glutIdleFunc(onIdle);
    return demoDisplay;
}
