#include "app/replay_recorder.h"

#include "app/game_flow.h"
#include "app/version.h"
#include "replay/state_checksum.h"

#include <cerrno>
#include <cstring>

ReplayRecorder replayRecorder;

namespace {

constexpr auto FlushInterval = std::chrono::seconds(1);

GamepadInput recordedPad = nullptr;

// The flow gets the pad as recorded, within the values a recording holds.
GamepadState recordFrameStart() {
    replayRecorder.frameStarts();
    const GamepadState pad = boundedPad(recordedPad());
    replayRecorder.padRead(pad);
    return pad;
}

} // namespace

// The game's recorder is a global, so an exit without Escape (a closed window) comes here too
// and keeps every input up to that point.
ReplayRecorder::~ReplayRecorder() {
    flush();
    if (file != nullptr) {
        std::fclose(file);
    }
}

bool ReplayRecorder::open(const std::string& path, std::string& error) {
    file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = path + ": cannot write: " + std::strerror(errno);
        return false;
    }
    pending = replayHeader(GameVersion);
    frameCount = notedFrame = 0;
    lastMark = currentStateMark();
    lastPad = {};
    flush();
    return true;
}

// A key arrives after the frame before has ended, so that frame's state change goes first.
void ReplayRecorder::keyPressed(unsigned char key) {
    // Escape ends the recording instead: the end record stands for it.
    if (file != nullptr && key != ReplayEscapeKey) {
        noteStateChange();
        pending += replayEventLine({frameCount + 1, ReplayEvent::Key, key});
    }
}

void ReplayRecorder::specialKeyPressed(int key) {
    if (file != nullptr && key >= 0 && key <= MaxSpecialKeyCode) {
        noteStateChange();
        pending += replayEventLine({frameCount + 1, ReplayEvent::Special, key});
    }
}

void ReplayRecorder::noteStateChange() {
    if (notedFrame == frameCount) {
        return;
    }
    notedFrame = frameCount;
    const StateMark mark = currentStateMark();
    if (mark != lastMark) {
        lastMark = mark;
        pending += replayCheckLine({frameCount, mark, stateChecksum()});
    }
}

void ReplayRecorder::frameStarts() {
    if (file == nullptr) {
        return;
    }
    noteStateChange();
    // A recording longer than the format allows stops growing; the game plays on.
    if (frameCount >= MaxReplayFrame) {
        flush();
        std::fclose(file);
        file = nullptr;
        return;
    }
    ++frameCount;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastFlush >= FlushInterval) {
        flush();
        lastFlush = now;
    }
}

void ReplayRecorder::padRead(const GamepadState& pad) {
    if (file != nullptr && !samePad(pad, lastPad)) {
        pending += replayPadLine(frameCount, lastPad, pad);
        lastPad = pad;
    }
}

void ReplayRecorder::finish() {
    if (file == nullptr) {
        return;
    }
    noteStateChange();
    pending += replayEndLine(frameCount, stateChecksum());
    flush();
    std::fclose(file);
    file = nullptr;
}

void ReplayRecorder::flush() {
    if (file == nullptr || pending.empty()) {
        return;
    }
    std::fwrite(pending.data(), 1, pending.size(), file);
    std::fflush(file);
    pending.clear();
}

bool startRecording(const std::string& path, std::string& error) {
    if (!replayRecorder.open(path, error)) {
        return false;
    }
    if (gamepadInput != recordFrameStart) {
        recordedPad = gamepadInput;
        gamepadInput = recordFrameStart;
    }
    return true;
}

void recordKeyboard(unsigned char key, int x, int y) {
    if (key == ReplayEscapeKey) {
        replayRecorder.finish();
    } else {
        replayRecorder.keyPressed(key);
    }
    onKeyboard(key, x, y);
}

void recordSpecialKey(int key, int x, int y) {
    replayRecorder.specialKeyPressed(key);
    onSpecialKey(key, x, y);
}
