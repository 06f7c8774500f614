#pragma once

// Plays a recording back: at the start of each idle call it hands the flow that frame's
// recorded keys (through `keys`) and its recorded pad, so the flow cannot tell a replay from
// a player. After each call it compares the state change it sees with the one the recording
// noted, and at the end the state's checksum with the end record (of the recording's format
// version). The flow's input door takes it as a source (flow/replay_source.h).
#include "replay/replay_feed.h"
#include "replay/replay_file.h"

#include <cstdint>
#include <string>

class ReplayPlayer {
  public:
    ReplayPlayer(const Replay& replay, const KeyHandlers& keys)
        : replay(replay), feed(replay), keys(keys) {}

    // Before idle call framesPlayed() + 1: hands the flow that frame's recorded keys and takes
    // up its recorded pad.
    void startFrame();
    // The recorded pad of the frame started last: what the flow's pad read returns.
    GamepadState pad() const { return feed.pad(); }
    // After the call: notes the frame's state change, if any, and compares it with the
    // recording. True when the state mark changed.
    bool endFrame();
    // Every frame of the recording has been played.
    bool over() const { return frames >= replay.lastFrame(); }
    // Hands over the inputs that came after the last idle call (before Escape) and takes the
    // state's checksum.
    void finish();

    const ReplayStart& start() const { return replay.start; }
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
    const Replay& replay;
    ReplayFeed feed;
    KeyHandlers keys;
    int frames = 0;
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
