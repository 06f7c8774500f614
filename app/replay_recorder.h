#pragma once

// Records every input that passes the input door, with the frame whose idle call handles it,
// into a replay file as the game runs, and notes each state change with the state's checksum.
// One recorder can write one file after another: open at a start (the title, or the start of
// a game), seal at the end.
#include "replay/replay_file.h"

#include <cstdio>
#include <functional>
#include <string>
#include <sys/types.h>

class ReplayRecorder {
  public:
    ReplayRecorder() = default;
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;
    // Writes out what is buffered to a file: an exit without a seal keeps every input.
    ~ReplayRecorder();

    // Creates the file and writes the header of a recording that starts now, between two
    // frames, with the game at `start` (as startAt leaves it); false with a one-line reason
    // when the file cannot be created or written. A file still open is sealed first. Notices
    // name `program`.
    bool open(const std::string& path, const ReplayStart& start, std::string& error,
              int formatVersion = ReplayFormatVersion, const char* program = "tumbra");
    // Records into memory instead of a file: each write-out (about once a second, and the
    // seal) hands the whole text so far to `handOver`, with whether it is sealed, so that the
    // file can be written away from the frame's path. Notices name `name`. Cannot fail.
    using HandOver = std::function<void(const std::string& text, bool sealed)>;
    void openInMemory(const std::string& name, const ReplayStart& start, HandOver handOver);
    bool isOpen() const { return file != nullptr || inMemory; }
    // An input the flow receives now, before its next idle call.
    void keyPressed(unsigned char key);
    void specialKeyPressed(int key);
    // At the very start of an idle call: notes a state change of the frame before, and writes
    // out what is buffered about once a second.
    void frameStarts();
    // The pad the flow reads in this frame: a line with the values that changed.
    void padRead(const GamepadState& pad);
    // The end of the recording: the frame count and the state's checksum close the file.
    void seal();
    // Writes out the buffered lines, whole.
    void flush();
    int frames() const { return frameCount; }

    // What the file may grow to: a player reads files up to MaxReplayBytes.
    long byteLimit = MaxReplayBytes;

  private:
    void noteKey(ReplayEvent::Kind kind, int code);
    void noteStateChange();
    // Adds a line unless the file would outgrow what a player reads; then the recording is
    // sealed with a notice and false returned.
    bool append(const std::string& line);
    // Stops recording at a limit: sealed, with one line on stderr.
    void sealAtLimit(const char* limit);
    // Ends the recording after a failed write, with one line on stderr.
    void abandon(const std::string& reason);
    bool sameFileAsPath() const;

    void startLines(const ReplayStart& start, int formatVersion);

    std::FILE* file = nullptr;
    bool inMemory = false;
    bool sealing = false;
    std::string text; // in memory: every line written out so far
    HandOver handOver;
    std::string filePath;
    const char* programName = "tumbra";
    int version = ReplayFormatVersion;
    dev_t device = 0;
    ino_t inode = 0;
    std::string pending;
    long bytesWritten = 0;
    int frameCount = 0;
    int notedFrame = 0;
    int lastFlushFrame = 0;
    StateMark lastMark{};
    GamepadState lastPad{};
};

// The game's one recorder, watching the input door once started.
extern ReplayRecorder replayRecorder;

// Starts recording into `path` from the game as it stands (the title at the program's start)
// and lets the recorder watch the input door.
bool startRecording(const std::string& path, const ReplayStart& start, std::string& error);
