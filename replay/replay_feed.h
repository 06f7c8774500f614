#pragma once

// The one step that hands a recording's inputs to the game: every tool, the window's player
// and the tests walk a replay's keys and pad through it, frame by frame.
#include "replay/replay_file.h"

#include <cstddef>

// Where the keys go: GLUT's key callbacks, or the input door in front of them.
struct KeyHandlers {
    void (*keyboard)(unsigned char key, int x, int y);
    void (*special)(int key, int x, int y);
};

// Hands one event to the key callback it names.
void handEvent(const ReplayEvent& event, const KeyHandlers& handlers);

class ReplayFeed {
  public:
    explicit ReplayFeed(const Replay& replay) : replay(&replay) {}

    // Hands `handlers` every key of the replay up to `frame` not handed yet, in order, and
    // takes up the pad that holds for `frame`.
    void feedFrame(int frame, const KeyHandlers& handlers);
    // The pad of the frame fed last.
    const GamepadState& pad() const { return padState; }
    // How many of the replay's events have been handed over.
    std::size_t eventsFed() const { return nextEvent; }

  private:
    const Replay* replay;
    std::size_t nextEvent = 0;
    std::size_t nextPad = 0;
    GamepadState padState{};
};
