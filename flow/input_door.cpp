#include "flow/input_door.h"

#include "engine/game_state.h"
#include "flow/game_flow.h"
#include "flow/window_keys.h"
#include "flow/window_view.h"
#include "replay/replay_recorder.h"

namespace {

class LiveInput final : public InputSource {
  public:
    bool takesWindowKeys() const override { return true; }
    void startFrame() override {}
    GamepadState pad() override {
        return gamepadInput != nullptr ? gamepadInput() : GamepadState{};
    }
};

LiveInput live;
InputSource* source = &live;
ReplayRecorder* watcher = nullptr;

constexpr unsigned char EnterKey = '\r';

bool altHeld() {
    return windowRequests.altHeld != nullptr && windowRequests.altHeld();
}

void toggleFullscreen() {
    if (windowRequests.toggleFullscreen != nullptr) {
        windowRequests.toggleFullscreen();
    }
}

} // namespace

InputSource& liveInput() {
    return live;
}

void setInputSource(InputSource& next) {
    source = &next;
}

InputSource& inputSource() {
    return *source;
}

void watchInput(ReplayRecorder* recorder) {
    watcher = recorder;
}

// Escape ends the game from any source; the recording is sealed first.
void doorKeyboard(unsigned char key, int x, int y) {
    if (key != EscapeKey && recordsPageTakes(key, source->takesWindowKeys())) {
        return;
    }
    // Fullscreen is the viewer's: a recording's keys leave the window alone.
    if (key == EnterKey && altHeld()) {
        toggleFullscreen();
    }
    if (key == EscapeKey) {
        if (watcher != nullptr) {
            watcher->seal();
        }
        onKeyboard(key, x, y);
    } else if (source->takesWindowKeys()) {
        passKey(key, x, y);
    }
}

void doorSpecialKey(int key, int x, int y) {
    if (recordsPageTakes(0, source->takesWindowKeys())) {
        return;
    }
    if (key == F12Key) {
        askForScreenshot();
    }
    if (key == F11Key) {
        toggleFullscreen();
    }
    if (source->takesWindowKeys()) {
        passSpecialKey(key, x, y);
    }
}

void passKey(unsigned char key, int x, int y) {
    if (watcher != nullptr) {
        watcher->keyPressed(key);
    }
    onKeyboard(key, x, y);
}

void passSpecialKey(int key, int x, int y) {
    if (watcher != nullptr) {
        watcher->specialKeyPressed(key);
    }
    onSpecialKey(key, x, y);
}

// While recording the flow gets the pad within the values a recording holds, so what is
// recorded is what was played.
GamepadState frameInput() {
    source->startFrame();
    if (watcher == nullptr) {
        return source->pad();
    }
    watcher->frameStarts();
    const GamepadState pad = boundedPad(source->pad());
    watcher->padRead(pad);
    return pad;
}
