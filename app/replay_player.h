#pragma once

// Plays a recording back through the input door: before each idle call it hands the flow
// that frame's recorded keys (from inside gamepadInput, which onIdle calls first) and returns
// its recorded pad, so the flow cannot tell a replay from a player. After each call it
// compares the state change it sees with the one the recording noted, and at the end the
// state's checksum with the end record.
#include "replay/replay_file.h"

#include <cstdint>
#include <functional>
#include <string>

class ReplayPlayer {
  public:
    explicit ReplayPlayer(const Replay& replay) : replay(replay) {}

    // Before idle call framesPlayed() + 1: hands the flow that frame's recorded keys and takes
    // up its recorded pad.
    void startFrame();
    // The recorded pad of the frame started last: what the flow's pad read returns.
    const GamepadState& pad() const { return padState; }
    // After the call: notes the frame's state change, if any, and compares it with the
    // recording. True when the state mark changed.
    bool endFrame();
    // Every frame of the recording has been played.
    bool over() const { return frames >= replay.lastFrame(); }
    // Hands over the inputs that came after the last idle call (before Escape) and takes the
    // state's checksum.
    void finish();

    int framesPlayed() const { return frames; }
    const StateMark& mark() const { return current; }
    // The first frame whose state change departs from the recording; 0 while none does.
    int firstDifference() const { return differenceFrame; }
    // What the recording and the replay noted at that frame.
    std::string differenceText() const;
    std::uint64_t finalChecksum() const { return checksum; }
    // The replay ended where the recording did: every state change agreed and, for a sealed
    // recording, the checksum too.
    bool matches() const;
    // Says on stderr where the replay departed and how the checksums differ, one line each,
    // after "PROGRAM: FILE: ".
    void reportMismatch(const char* program, const std::string& file) const;

  private:
    void feedEventsUpTo(int frame);

    const Replay& replay;
    int frames = 0;
    std::size_t nextEvent = 0;
    std::size_t nextPad = 0;
    GamepadState padState{};
    std::size_t nextCheck = 0;
    StateMark current{};
    bool started = false;
    int differenceFrame = 0;
    bool recordedNoted = false;
    ReplayCheck recorded{};
    ReplayCheck replayed{};
    bool replayedChanged = false;
    std::uint64_t checksum = 0;
};

// Plays `player`'s recording headless from the title, as fast as it goes: gamepadInput is
// the player's for the run and restored after. `onChange` is called after every frame whose
// state mark changed.
void playHeadless(ReplayPlayer& player,
                  const std::function<void(int frame, const StateMark& mark)>& onChange);
