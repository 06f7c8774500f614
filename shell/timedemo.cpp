#include "shell/timedemo.h"

#include "flow/game_flow.h"
#include "flow/input_door.h"
#include "flow/replay_source.h"
#include "platform/window_x11.h"
#include "replay/replay_file.h"
#include "shell/frame_display.h"
#include "shell/options.h"
#include "shell/replay_window.h"
#include "shell/window.h"

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
std::unique_ptr<ReplaySource> demoSource;
Clock::time_point demoStart;

void finishTimedemo(ReplayPlayer& player) {
    const double seconds = std::chrono::duration<double>(Clock::now() - demoStart).count();
    const int frames = player.framesPlayed();
    const bool matches = player.matches();
    std::printf("%s: %d frames in %.3f s: %.1f frames per second; checksum %s\n", demoPath.c_str(),
                frames, seconds, seconds > 0.0 ? frames / seconds : 0.0,
                matches ? "matches" : "does not match");
    std::fflush(stdout);
    if (!matches) {
        player.reportMismatch(ProgramName, demoPath);
    }
    std::exit(matches ? 0 : ReplayMismatchStatus);
}

// Timed from the recording's first frame to its last.
void demoIdle() {
    if (demoPlayer->framesPlayed() == 0) {
        demoStart = Clock::now();
    }
    onIdle();
}

// Every simulation frame drawn and shown at once.
void demoDisplay() {
    drawFrame();
    glutSwapBuffers();
}

} // namespace

bool loadTimedemo(const std::string& path) {
    ReplayError fault;
    if (!loadReplay(path, ReplayText::Recording, demoReplay, fault)) {
        std::fprintf(stderr, "%s: %s\n", ProgramName, replayErrorText(path, fault).c_str());
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
    demoPlayer = std::make_unique<ReplayPlayer>(demoReplay, ThroughTheDoor);
    demoSource =
        std::make_unique<ReplaySource>(*demoPlayer, ReplaySource::Changed{}, finishTimedemo);
    setInputSource(*demoSource);
    idleWhenVisible = demoIdle;
    glutIdleFunc(demoIdle);
    return demoDisplay;
}
