#include "replay/replay_recorder.h"

#include "engine/game_state.h"
#include "engine/version.h"
#include "replay/state_checksum.h"

#include <cstdio>

ReplayRecorder replayRecorder;

namespace {

// About a second at the game's speed: a killed game loses at most this much.
constexpr int FlushEveryFrames = 30;
// Room kept below the size limit for the last state line and the end record.
constexpr long SealReserve = 2L * MaxReplayLineLength;

} // namespace

ReplayRecorder::~ReplayRecorder() {
    flush();
}

bool ReplayRecorder::open(const std::string& path, const ReplayStart& start, std::string& error,
                          int formatVersion, const char* program) {
    seal();
    startLines(start, formatVersion);
    auto file = std::make_unique<ReplayFileSink>();
    if (!file->create(path, pending, program, error)) {
        pending.clear();
        return false;
    }
    sink = std::move(file);
    name = path;
    programName = program;
    bytesWritten = static_cast<long>(pending.size());
    pending.clear();
    return true;
}

void ReplayRecorder::openInMemory(const std::string& path, const ReplayStart& start,
                                  ReplayTextSink::HandOver handOver) {
    seal();
    startLines(start, ReplayFormatVersion);
    sink = std::make_unique<ReplayTextSink>(std::move(handOver));
    name = path;
}

void ReplayRecorder::startLines(const ReplayStart& start, int formatVersion) {
    version = formatVersion;
    pending = replayHeader(GameVersion, start, formatVersion);
    bytesWritten = 0;
    frameCount = notedFrame = lastFlushFrame = 0;
    lastMark = currentStateMark();
    lastPad = {};
}

void ReplayRecorder::keyPressed(unsigned char key) {
    // Escape ends the recording instead: the end record stands for it.
    if (key != EscapeKey) {
        noteKey(ReplayEvent::Key, key);
    }
}

void ReplayRecorder::specialKeyPressed(int key) {
    if (key >= 0 && key <= MaxSpecialKeyCode) {
        noteKey(ReplayEvent::Special, key);
    }
}

// A key arrives after the frame before has ended, so that frame's state change goes first. It
// belongs to the next frame, which a full recording no longer has room for.
void ReplayRecorder::noteKey(ReplayEvent::Kind kind, int code) {
    if (!isOpen()) {
        return;
    }
    if (frameCount >= MaxReplayFrame) {
        sealAtLimit("frame");
        return;
    }
    noteStateChange();
    append(replayEventLine({frameCount + 1, kind, code}));
}

void ReplayRecorder::noteStateChange() {
    if (notedFrame == frameCount) {
        return;
    }
    notedFrame = frameCount;
    const StateMark mark = currentStateMark();
    if (mark != lastMark) {
        lastMark = mark;
        append(replayCheckLine({frameCount, mark, stateChecksum(version)}));
    }
}

void ReplayRecorder::frameStarts() {
    if (!isOpen()) {
        return;
    }
    noteStateChange();
    // A recording as long as the format allows is sealed; the game plays on.
    if (isOpen() && frameCount >= MaxReplayFrame) {
        sealAtLimit("frame");
    }
    if (!isOpen()) {
        return;
    }
    ++frameCount;
    if (frameCount - lastFlushFrame >= FlushEveryFrames) {
        flush();
        lastFlushFrame = frameCount;
    }
}

void ReplayRecorder::padRead(const GamepadState& pad) {
    if (isOpen() && !samePad(pad, lastPad) && append(replayPadLine(frameCount, lastPad, pad))) {
        lastPad = pad;
    }
}

bool ReplayRecorder::append(const std::string& line) {
    if (!isOpen()) {
        return false;
    }
    const long size = bytesWritten + static_cast<long>(pending.size() + line.size());
    if (size > byteLimit - SealReserve) {
        sealAtLimit("size");
        return false;
    }
    pending += line;
    return true;
}

void ReplayRecorder::seal() {
    if (!isOpen()) {
        return;
    }
    noteStateChange();
    if (!isOpen()) {
        return; // sealed at a limit meanwhile
    }
    // The reserve below the size limit holds the end record whatever came before.
    pending += replayEndLine(frameCount, stateChecksum(version));
    writeOut(true);
    sink.reset();
}

void ReplayRecorder::sealAtLimit(const char* limit) {
    std::fprintf(stderr, "%s: %s: the recording has reached its %s limit and ends at frame %d\n",
                 programName, name.c_str(), limit, frameCount);
    seal();
}

void ReplayRecorder::flush() {
    if (isOpen() && !pending.empty()) {
        writeOut(false);
    }
}

void ReplayRecorder::writeOut(bool sealed) {
    bytesWritten += static_cast<long>(pending.size());
    sink->writeOut(pending, sealed);
    pending.clear();
}
