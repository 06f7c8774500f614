#pragma once

// Records every input that passes the input door, with the frame whose idle call handles it,
// and notes each state change with the state's checksum. The recorder builds the lines and
// hands them to a sink (a file, or memory for the automatic replays) about once a second and
// at the seal. One recorder can write one recording after another: open at a start (the
// title, or the start of a game), seal at the end.
#include "replay/replay_file.h"
#include "replay/replay_sinks.h"

#include <memory>
#include <string>

class ReplayRecorder {
  public:
    ReplayRecorder() = default;
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;
    // Writes out what is buffered: an exit without a seal keeps every input.
    ~ReplayRecorder();

    // Creates the file and writes the header of a recording that starts now, between two
    // frames, with the game at `start` (as startAt leaves it); false with a one-line reason
    // when the file cannot be created or written. A recording still open is sealed first.
    // Notices name `program`.
    bool open(const std::string& path, const ReplayStart& start, std::string& error,
              int formatVersion = ReplayFormatVersion, const char* program = "tumbra");
    // Records into memory instead: each write-out hands the whole text so far over (see
    // ReplayTextSink). Notices name `name`. Cannot fail.
    void openInMemory(const std::string& name, const ReplayStart& start,
                      ReplayTextSink::HandOver handOver);
    bool isOpen() const { return sink != nullptr; }
    // An input the flow receives now, before its next idle call.
    void keyPressed(unsigned char key);
    void specialKeyPressed(int key);
    // At the very start of an idle call: notes a state change of the frame before, and writes
    // out what is buffered about once a second.
    void frameStarts();
    // The pad the flow reads in this frame: a line with the values that changed.
    void padRead(const GamepadState& pad);
    // The end of the recording: the frame count and the state's checksum close it.
    void seal();
    // Writes out the buffered lines, whole.
    void flush();
    int frames() const { return frameCount; }

    // What the recording may grow to: a player reads files up to MaxReplayBytes.
    long byteLimit = MaxReplayBytes;

  private:
    void noteKey(ReplayEvent::Kind kind, int code);
    void noteStateChange();
    // Adds a line unless the recording would outgrow what a player reads; then it is sealed
    // with a notice and false returned.
    bool append(const std::string& line);
    // Stops recording at a limit: sealed, with one line on stderr.
    void sealAtLimit(const char* limit);
    void startLines(const ReplayStart& start, int formatVersion);
    void writeOut(bool sealed);

    std::unique_ptr<ReplaySink> sink;
    std::string name; // the file's, for notices
    const char* programName = "tumbra";
    int version = ReplayFormatVersion;
    std::string pending;
    long bytesWritten = 0;
    int frameCount = 0;
    int notedFrame = 0;
    int lastFlushFrame = 0;
    StateMark lastMark{};
    GamepadState lastPad{};
};

// The game's recorder of --record, and of tumbra-replay --write.
extern ReplayRecorder replayRecorder;
