#pragma once

// The replay file: a small line-based text format that a person can read and diff. It holds
// the inputs a game received, each with the frame that handled it, the state changes the
// recording game saw (so a player can name the first frame where a replay departs), and an
// end record with the frame count and a checksum of the final state. docs/replays.md describes
// it. Parsing and writing only: nothing here knows the game.
#include "platform/gamepad.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* ReplayFormatName = "tumbra-replay";
inline constexpr int ReplayFormatVersion = 1;

// Limits that keep a damaged or hostile file harmless.
inline constexpr long MaxReplayBytes = 16L * 1024 * 1024;
inline constexpr int MaxReplayLineLength = 200;
inline constexpr int MaxReplayFrame = 30 * 60 * 60 * 24; // a day of play at 30 frames a second
inline constexpr int MaxSpecialKeyCode = 65535;
inline constexpr int MaxReplayLives = 999999999;

// Escape ends a recording: the end record stands for it, and it is never replayed.
inline constexpr int ReplayEscapeKey = 27;

// An input handed to the game flow right before its idle call `frame` (frame 1 is the first
// idle call after the start).
struct ReplayEvent {
    enum Kind { Key, Special };
    int frame;
    Kind kind;
    int code; // the key for onKeyboard (0-255), or the special-key code for onSpecialKey

    bool operator==(const ReplayEvent&) const = default;
};

// The gamepad as the game flow read it at the start of idle call `frame`; it holds until the
// next pad line. A line names only the values that changed, so `state` is the whole pad after
// them.
struct ReplayPad {
    int frame;
    GamepadState state;

    bool operator==(const ReplayPad&) const = default;
};

// Every value the format can hold: finite sticks within -1..1 (a value that is no number
// counts as 0), the D-pad within -1..1, known buttons only. A recorder hands the game the
// bounded pad, so what is recorded is what was played.
GamepadState boundedPad(const GamepadState& pad);
// Equal bit for bit: -0.0 and 0.0 differ, as they may in a later sum.
bool samePad(const GamepadState& a, const GamepadState& b);

// The game flow's state, stage and lives: a recording notes them whenever one changes.
struct StateMark {
    int state;
    int stage;
    int lives;

    bool operator==(const StateMark&) const = default;
};

// A state change noted after idle call `frame`, with the whole state's checksum at that
// moment, so a replay that departs is caught at the first change that differs.
struct ReplayCheck {
    int frame;
    StateMark mark;
    std::uint64_t checksum;

    bool operator==(const ReplayCheck&) const = default;
};

struct Replay {
    std::string gameVersion;
    std::vector<ReplayEvent> events;
    std::vector<ReplayPad> pads; // only lines that changed the pad
    std::vector<ReplayCheck> checks;
    bool sealed = false; // the end record is there
    int endFrame = 0;
    std::uint64_t checksum = 0;

    // The last frame the file speaks of: the end record's, or else its last line's.
    int lastFrame() const;
    bool operator==(const Replay&) const = default;
};

// A bare event list (event lines and comments only) is what tools hand in to be played and
// sealed into a recording; a recording has the header and may have check lines and the end.
enum class ReplayText { Recording, EventList };

struct ReplayError {
    int line = 0; // 1-based; 0 when the fault is not on a line (a file that cannot be read)
    std::string message;
};

// Parses `text`; false with the first fault in `error`.
bool parseReplay(std::string_view text, ReplayText kind, Replay& replay, ReplayError& error);
// Reads and parses the file at `path`, refusing files over MaxReplayBytes.
bool loadReplay(const std::string& path, ReplayText kind, Replay& replay, ReplayError& error);

// The lines of a recording, each ending in a newline.
std::string replayHeader(std::string_view gameVersion);
std::string replayEventLine(const ReplayEvent& event);
// The values of `now` that differ from `before`; empty when none does.
std::string replayPadLine(int frame, const GamepadState& before, const GamepadState& now);
std::string replayCheckLine(const ReplayCheck& check);
std::string replayEndLine(int frames, std::uint64_t checksum);
// The whole recording, as the lines above would write it.
std::string formatReplay(const Replay& replay);

// Sixteen lower-case hex digits, as the end record writes a checksum.
std::string checksumText(std::uint64_t checksum);
