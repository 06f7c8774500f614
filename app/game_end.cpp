#include "app/game_end.h"

#include "app/auto_replays.h"
#include "app/replay_recorder.h"
#include "platform/window_alive.h"

#include <GL/freeglut.h>
#include <csignal>
#include <cstdlib>

namespace {

// Often enough to feel immediate, seldom enough to cost nothing.
constexpr unsigned EndCheckMs = 200;

volatile std::sig_atomic_t signalled = 0;

// Only a flag: writing the file is no work for a signal handler.
void noteSignal(int) {
    signalled = 1;
}

void sealRecording() {
    replayRecorder.seal();
    endRecordedGame();
}

[[noreturn]] void endGame() {
    sealRecording();
    std::exit(ClosedWindowStatus);
}

// Runs also while the window is hidden and the idle handler is off.
void checkForTheEnd(int) {
    if (signalled != 0 || !currentWindowExists()) {
        endGame();
    }
    glutTimerFunc(EndCheckMs, checkForTheEnd, 0);
}

void catchEndSignals() {
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

void watchForTheEnd() {
    catchEndSignals();
    watchCurrentWindow();
    // freeglut ends the program itself after a close request: the recording is sealed first.
    glutCloseFunc(sealRecording);
    glutTimerFunc(EndCheckMs, checkForTheEnd, 0);
}
