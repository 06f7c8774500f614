#pragma once

// Records every input that reaches the game flow, with the frame whose idle call handles it,
// into a replay file as the game runs. It sits at the input door: its key callbacks stand in
// for onKeyboard and onSpecialKey, and it wraps gamepadInput, which onIdle calls once at the
// start of every frame.
#include "replay/replay_file.h"

#include <chrono>
#include <cstdio>
#include <string>

class ReplayRecorder {
  public:
    ReplayRecorder() = default;
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;
    ~ReplayRecorder();

    // Creates the file and writes the header; false with a one-line reason when it cannot.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return file != nullptr; }
    // An input the flow receives now, before its next idle call.
    void keyPressed(unsigned char key);
    void specialKeyPressed(int key);
    // At the very start of an idle call: notes a state change of the frame before, and writes
    // out what is buffered about once a second.
    void frameStarts();
    // The pad the flow reads in this frame: a line with the values that changed.
    void padRead(const GamepadState& pad);
    // The normal end (Escape): the frame count and the state's checksum close the file.
    void finish();
    // Writes out the buffered lines, whole.
    void flush();
    int frames() const { return frameCount; }

  private:
    void noteStateChange();

    std::FILE* file = nullptr;
    std::string pending;
    int frameCount = 0;
    int notedFrame = 0;
    StateMark lastMark{};
    GamepadState lastPad{};
    std::chrono::steady_clock::time_point lastFlush{};
};

// The game's one recorder and its place at the door.
extern ReplayRecorder replayRecorder;

// Starts recording into `path` and wraps gamepadInput; the caller registers the two key
// callbacks below with GLUT in place of onKeyboard and onSpecialKey. What is recorded is
// written out also when the process exits without Escape (a closed window).
bool startRecording(const std::string& path, std::string& error);
void recordKeyboard(unsigned char key, int x, int y);
void recordSpecialKey(int key, int x, int y);
