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
// The version written; every version from 1 up to it is read. Version 2 added a start at a
// stage and the characters' own state in the checksum, version 3 the start of a game the
// title has just started.
inline constexpr int ReplayFormatVersion = 3;
inline constexpr int FirstReplayFormatVersion = 1;

// Limits that keep a damaged or hostile file harmless. A day of play with a stick moving on
// every frame takes about 122 MB.
inline constexpr long MaxReplayBytes = 256L * 1024 * 1024;
inline constexpr int MaxReplayLineLength = 200;
inline constexpr int MaxReplayFrame = 30 * 60 * 60 * 24; // a day of play at 30 frames a second
inline constexpr int MaxSpecialKeyCode = 65535;
inline constexpr int MaxReplayLives = 999999999;
inline constexpr int MaxReplayWaitLevel = 10;

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

// Where a recording starts: the title with every default (stage 0), or the start of a game
// at `stage` (1 to 22) with the speed level `level`. With `fromTitle` (stage 1 only) the game
// is one the title has just started: as the start of stage 1, and then the rest of the title's
// frame that started it (the fly-in one frame on), which is where a game played from the
// title stands once that frame is over.
struct ReplayStart {
    int stage = 0;
    int level = 0;
    bool fromTitle = false;

    bool atTitle() const { return stage == 0; }
    bool operator==(const ReplayStart&) const = default;
};

struct Replay {
    int formatVersion = ReplayFormatVersion;
    std::string gameVersion;
    ReplayStart start;
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

// The fault as one line: "PATH:LINE: MESSAGE", or "PATH: MESSAGE" off the lines.
std::string replayErrorText(const std::string& path, const ReplayError& error);

// Parses `text`; false with the first fault in `error`.
bool parseReplay(std::string_view text, ReplayText kind, Replay& replay, ReplayError& error);
// Reads and parses the regular file at `path`, refusing anything else (a FIFO, a device) and
// files over MaxReplayBytes.
bool loadReplay(const std::string& path, ReplayText kind, Replay& replay, ReplayError& error);

// The lines of a recording, each ending in a newline.
std::string replayHeader(std::string_view gameVersion, const ReplayStart& start = {},
                         int formatVersion = ReplayFormatVersion);
std::string replayEventLine(const ReplayEvent& event);
// The values of `now` that differ from `before`; empty when none does.
std::string replayPadLine(int frame, const GamepadState& before, const GamepadState& now);
std::string replayCheckLine(const ReplayCheck& check);
std::string replayEndLine(int frames, std::uint64_t checksum);
// The whole recording, as the lines above would write it.
std::string formatReplay(const Replay& replay);

// The longest end record: what a recorder keeps room for below MaxReplayBytes.
inline constexpr int MaxReplayEndLineLength = sizeof "end 2592000 0123456789abcdef\n" - 1;

// A stick's value as a pad line writes it: the shortest text that reads back to the same
// float bit for bit, laid out as std::to_chars writes a float ("0.75", "-0", "1e-05"); kept
// apart from it because not every C++ library has it for floats.
std::string floatText(float value);
// Reads a whole word as std::from_chars reads a float: the C library's correctly rounded
// strtof on the same grammar (no '+', no hex, no white space). False for anything else, and
// for a number too small or too large for a float. Names no infinity and no NaN.
bool readFloatText(std::string_view word, float& value);

// Sixteen lower-case hex digits, as the end record writes a checksum.
std::string checksumText(std::uint64_t checksum);
