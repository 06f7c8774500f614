#pragma once

// Recordings at the input door: the game put where a recording starts, a recording played as
// the door's source (in the window, in the timedemo, headless), and the one recorded.
#include "flow/input_door.h"
#include "replay/replay_player.h"
#include "replay/replay_recorder.h"

#include <functional>
#include <string>

// Puts the game where a recording starts: the title with every default, the start of a game
// at a stage with a speed level, or a game the title has just started.
void startAt(const ReplayStart& start);

// The title with every default, the player's keys and pad the door's source again: where a
// recording shown in a window or a page ends, from within its frame's start.
void showLiveTitle();

// Keys a recording hands over reach the flow as a player's would, through the door.
inline constexpr KeyHandlers ThroughTheDoor{passKey, passSpecialKey};

// A player as the door's source: before each frame the frame before is compared with the
// recording (`changed` is told of every state change). Once every frame is played the player
// is finished and `over` is called; without `over` the frames go on, with no more input, until
// the caller finishes the player.
class ReplaySource final : public InputSource {
  public:
    using Changed = std::function<void(int frame, const StateMark& mark)>;
    using Over = std::function<void(ReplayPlayer& player)>;
    explicit ReplaySource(ReplayPlayer& player, Changed changed = {}, Over over = {})
        : player(player), changed(std::move(changed)), over(std::move(over)) {}

    bool takesWindowKeys() const override { return false; }
    void startFrame() override;
    GamepadState pad() override { return player.pad(); }
    // After the last frame's idle call: it too is compared.
    void endLastFrame();

  private:
    ReplayPlayer& player;
    Changed changed;
    Over over;
    int framesEnded = 0;
    bool finished = false;
};

// Plays `player`'s recording headless from its start, as fast as it goes: the player is the
// door's source for the run, and the live input after. `changed` is called after every frame
// whose state mark changed.
void playHeadless(ReplayPlayer& player, const ReplaySource::Changed& changed);

// Starts recording into `path` from the game as it stands (the title at the program's start)
// with the game's recorder, which watches the door from then on.
bool startRecording(const std::string& path, const ReplayStart& start, std::string& error);
