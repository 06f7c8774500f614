#include "shell/game_end.h"

#include "platform/window_alive.h"
#include "player/auto_replays.h"
#include "replay/replay_recorder.h"

#include <GL/freeglut.h>
#include <atomic>
#include <csignal>
#include <cstdlib>

namespace {

// Often enough to feel immediate, seldom enough to cost nothing.
constexpr unsigned EndCheckMs = 200;

constexpr int EndSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

// Set by whichever thread the signal reaches, read by the main thread's timer.
std::atomic<bool> signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

// Only a note: writing the files is no work for a signal handler.
void noteSignal(int) {
    signalled.store(true);
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
    if (signalled.load() || !currentWindowExists()) {
        endGame();
    }
    glutTimerFunc(EndCheckMs, checkForTheEnd, 0);
}

} // namespace

void catchEndSignals() {
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : EndSignals) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

void watchForTheEnd() {
    watchCurrentWindow();
    // freeglut ends the program itself after a close request: the recording is sealed first.
    glutCloseFunc(sealRecording);
    glutTimerFunc(EndCheckMs, checkForTheEnd, 0);
}
