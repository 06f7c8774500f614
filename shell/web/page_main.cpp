// The game in a web page: the flow of the desktop's game behind the page's canvas, keys and
// pad, its sound through Web Audio and the player's files in the browser.
#include "engine/game_state.h"
#include "engine/stages.h"
#include "flow/flags.h"
#include "flow/game_flow.h"
#include "flow/player_frames.h"
#include "flow/replay_report.h"
#include "flow/settings_in_play.h"
#include "platform/beep.h"
#include "platform/gamepad.h"
#include "platform/user_files_web.h"
#include "player/auto_replays.h"
#include "player/player_files.h"
#include "player/records.h"
#include "shell/web/page_keys.h"
#include "shell/web/page_loop.h"
#include "shell/web/page_options.h"
#include "shell/web/page_replays.h"
#include "shell/web/page_window.h"

#include <cstdio>
#include <emscripten/emscripten.h>
#include <string>

namespace {

// What the page's tests and its benchmark read of the game (pageStatus).
struct PageCount {
    long frames = 0; // simulation frames since the start
    int stagesCleared = 0;
    bool clearing = false;
    bool ended = false;
};

PageCount counted;

// The player's files follow the games played on the page, as the desktop's frame listeners
// have them follow the games in its window; a recording shown is no game of theirs.
void afterFrame(bool stateHandlerRan) {
    ++counted.frames;
    const bool clearing = gameState == StageClear;
    counted.stagesCleared += clearing && !counted.clearing ? 1 : 0;
    counted.clearing = clearing;
    if (watchingRecording()) {
        return;
    }
    for (const FrameListener listener : PlayerFrameListeners) {
        listener(stateHandlerRan);
    }
}

constexpr FrameListener PageFrameListeners[] = {afterFrame};

void playerPlaysAgain() {
    recordEveryGame();
}

// Browsers open sound only after a gesture of the player's.
void firstKey() {
    if (!optSilent) {
        openBeep();
    }
}

// Escape or End: the game ends as the desktop's does on Escape, its recording sealed and every
// file saved; the page stays as it is.
void quit() {
    if (counted.ended) {
        return;
    }
    counted.ended = true;
    endRecordedGame();
    saveEverythingNow();
    stopPageLoop();
    std::fprintf(stderr, "tumbra: the game has ended: reload the page to play again\n");
}

void startPlaying(const PageOptions& options) {
    const bool showing = !options.recording.empty();
    applySettings(loadSettings(), !showing);
    setGamepadDeadZone(static_cast<float>(savedSettings.deadZone));
    beepOutput = beep;
    gamepadInput = readGamepad;
    setUpCanvas();
    loadStage(); // the title's world, as the desktop's window starts it
    listenForKeys({firstKey, quit});
    openGamepad();
    frameListeners = PageFrameListeners;
    if (!showing || !watchRecording(options.recording, nullptr, playerPlaysAgain)) {
        recordEveryGame();
        if (options.startStage > 0) {
            startPracticeGame({options.startStage, waitLevel});
        }
    }
    startPageLoop(runSavesAtFrameEnd);
}

} // namespace

extern "C" {

// The page's state as one line of JSON: the frames simulated, the flow's state, stage and
// lives, whether it is paused, the stages cleared so far, whether a recording is shown, whether
// saves are under way and whether the game has ended.
EMSCRIPTEN_KEEPALIVE const char* pageStatus() {
    static std::string status;
    status = "{\"frames\":" + std::to_string(counted.frames) +
             ",\"state\":" + std::to_string(gameState) +
             ",\"stage\":" + std::to_string(stageNumber) + ",\"lives\":" + std::to_string(lives) +
             ",\"paused\":" + std::to_string(paused) +
             ",\"stagesCleared\":" + std::to_string(counted.stagesCleared) +
             ",\"watching\":" + (watchingRecording() ? "true" : "false") +
             ",\"saving\":" + (savesPending() ? "true" : "false") +
             ",\"ended\":" + (counted.ended ? "true" : "false") + "}";
    return status.c_str();
}

// A recording dropped on the page, put at `path` in memory.
EMSCRIPTEN_KEEPALIVE void pageWatchRecording(const char* path) {
    if (counted.ended) {
        return;
    }
    // The game under way ends, sealed, once the recording is read.
    watchRecording(path, stopRecordingGames, playerPlaysAgain);
}

// The page is hidden: what waits to be saved goes to the browser now, as no frame may come
// for a while.
EMSCRIPTEN_KEEPALIVE void pageHidden() {
    saveEverythingNow();
}

// The page is left (reloaded, closed): the game's recording sealed and everything saved.
EMSCRIPTEN_KEEPALIVE void pageLeaves() {
    endRecordedGame();
    saveEverythingNow();
}

} // extern "C"

int main(int argc, char** argv) {
    useBrowserFiles();
    const PageOptions options = readPageOptions(argc > 1 ? argv[1] : "", argc > 2 ? argv[2] : "");
    if (options.records) {
        printRecords(stdout);
        offerRecordingDownloads(replaysFolder());
        return 0;
    }
    if (options.verify && !options.recording.empty()) {
        reportReplay(options.recording, false);
        return 0;
    }
    startPlaying(options);
    return 0;
}
