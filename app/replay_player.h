#pragma once

// Plays a recording back as the source of the input door: at the start of each idle call it
// hands the flow that frame's recorded keys and the door returns its recorded pad, so the
// flow cannot tell a replay from a player. After each call it compares the state change it
// sees with the one the recording noted, and at the end the state's checksum with the end
// record (of the recording's format version).
#include "app/input_door.h"
#include "replay/replay_feed.h"
#include "replay/replay_file.h"

#include <cstdint>
#include <functional>
#include <string>

// Puts the game where a recording starts: the title with every default, the start of a game
// at a stage with a speed level, or a game the title has just started.
void startAt(const ReplayStart& start);

class ReplayPlayer final : public InputSource {
  public:
    explicit ReplayPlayer(const Replay& replay) : replay(replay), feed(replay) {}

    bool takesWindowKeys() const override { return false; }
    // Before idle call framesPlayed() + 1: hands the flow that frame's recorded keys through
    // the door and takes up its recorded pad.
    void startFrame() override;
    // The recorded pad of the frame started last: what the flow's pad read returns.
    GamepadState pad() override { return feed.pad(); }
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

// Plays `player`'s recording headless from its start, as fast as it goes: the player is the
// door's source for the run, and the live input after. `onChange` is called after every frame
// whose state mark changed.
void playHeadless(ReplayPlayer& player,
                  const std::function<void(int frame, const StateMark& mark)>& onChange);
