#include "app/replay_recorder.h"

#include "app/game_state.h"
#include "app/input_door.h"
#include "app/version.h"
#include "replay/state_checksum.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReplayRecorder replayRecorder;

namespace {

// About a second at the game's speed: a killed game loses at most this much.
constexpr int FlushEveryFrames = 30;
// Room kept below the size limit for the last state line and the end record.
constexpr long SealReserve = 2L * MaxReplayLineLength;

// Created without blocking, so that a FIFO with no reader is refused instead of hanging.
std::FILE* createFile(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
    }
    return file;
}

} // namespace

ReplayRecorder::~ReplayRecorder() {
    if (!inMemory) {
        flush();
    }
    if (file != nullptr) {
        std::fclose(file);
    }
}

bool ReplayRecorder::open(const std::string& path, const ReplayStart& start, std::string& error,
                          int formatVersion, const char* program) {
    if (file != nullptr) {
        seal();
    }
    file = createFile(path);
    if (file == nullptr) {
        error = path + ": cannot write: " + std::strerror(errno);
        return false;
    }
    struct stat status {};
    fstat(fileno(file), &status);
    device = status.st_dev;
    inode = status.st_ino;
    filePath = path;
    programName = program;
    startLines(start, formatVersion);
    if (std::fwrite(pending.data(), 1, pending.size(), file) != pending.size() ||
        std::fflush(file) != 0) {
        error = path + ": cannot write: " + std::strerror(errno);
        std::fclose(file);
        file = nullptr;
        return false;
    }
    bytesWritten = static_cast<long>(pending.size());
    pending.clear();
    return true;
}

void ReplayRecorder::openInMemory(const std::string& name, const ReplayStart& start, HandOver out) {
    if (isOpen()) {
        seal();
    }
    inMemory = true;
    handOver = std::move(out);
    text.clear();
    filePath = name;
    startLines(start, ReplayFormatVersion);
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
    sealing = true;
    flush();
    sealing = false;
    if (inMemory) {
        inMemory = false;
        std::string().swap(text); // handed over: a long game's text is not held on
    }
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
}

void ReplayRecorder::sealAtLimit(const char* limit) {
    std::fprintf(stderr, "%s: %s: the recording has reached its %s limit and ends at frame %d\n",
                 programName, filePath.c_str(), limit, frameCount);
    seal();
}

void ReplayRecorder::abandon(const std::string& reason) {
    std::fprintf(stderr, "%s: %s: %s; the recording stops here\n", programName, filePath.c_str(),
                 reason.c_str());
    std::fclose(file);
    file = nullptr;
    pending.clear();
}

bool ReplayRecorder::sameFileAsPath() const {
    struct stat status {};
    return stat(filePath.c_str(), &status) == 0 && status.st_dev == device &&
           status.st_ino == inode;
}

void ReplayRecorder::flush() {
    if (inMemory) {
        if (pending.empty() && !sealing) {
            return;
        }
        text += pending;
        bytesWritten += static_cast<long>(pending.size());
        pending.clear();
        handOver(text, sealing);
        return;
    }
    if (file == nullptr || pending.empty()) {
        return;
    }
    // A file removed (or its folder) takes every later line with it unseen.
    if (!sameFileAsPath()) {
        abandon("the file was removed or replaced");
        return;
    }
    if (std::fwrite(pending.data(), 1, pending.size(), file) != pending.size() ||
        std::fflush(file) != 0) {
        abandon(std::string("cannot write: ") + std::strerror(errno));
        return;
    }
    bytesWritten += static_cast<long>(pending.size());
    pending.clear();
}

bool startRecording(const std::string& path, const ReplayStart& start, std::string& error) {
    if (!replayRecorder.open(path, start, error)) {
        return false;
    }
    watchInput(&replayRecorder);
    return true;
}
