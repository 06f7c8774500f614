// tumbra-replay: plays a recording through the real game flow with no window, as fast as the
// processor allows.
//
//   tumbra-replay FILE
//       One JSON object per state change (frame, state, stage, lives), then a summary. Exit 0
//       when the replay matches the recording, 3 when it departs, 2 for a bad file.
//   tumbra-replay --write OUT [--frames N] EVENTS
//       Plays the inputs of EVENTS (input lines "FRAME key CODE", "FRAME special CODE" and
//       "FRAME pad NAME=VALUE...", or a recording whose inputs are taken) and writes the sealed
//       recording OUT: header, inputs, state changes and end record. It stops after N frames;
//       without --frames, after a recording's own frame count, or for an event list once the game
//       is back on the title after its last input.
#include "app/game_flow.h"
#include "app/game_state.h"
#include "app/options.h"
#include "app/replay_player.h"
#include "app/replay_recorder.h"
#include "replay/replay_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int Matched = 0;
constexpr int CannotWrite = 1;
constexpr int BadInput = 2;
constexpr int Departed = 3;

constexpr const char* Usage =
    "usage: tumbra-replay FILE | tumbra-replay --write OUT [--frames N] EVENTS";

constexpr const char* StateNames[] = {"Playing", "GameOver", "StageClear", "Reentry", "Go",
                                      "Ready",   "AllClear", "Title",      "Ending",  "StageIntro"};

int usageError(const std::string& message) {
    std::fprintf(stderr, "tumbra-replay: %s; %s\n", message.c_str(), Usage);
    return BadInput;
}

int fileError(const std::string& path, const ReplayError& error) {
    if (error.line > 0) {
        std::fprintf(stderr, "tumbra-replay: %s:%d: %s\n", path.c_str(), error.line,
                     error.message.c_str());
    } else {
        std::fprintf(stderr, "tumbra-replay: %s: %s\n", path.c_str(), error.message.c_str());
    }
    return BadInput;
}

// The game as a fresh start has it, with no sound.
void startAtTitle() {
    optSilent = 1;
    resetToTitle();
}

int play(const std::string& path) {
    Replay replay;
    ReplayError error;
    if (!loadReplay(path, ReplayText::Recording, replay, error)) {
        return fileError(path, error);
    }
    startAtTitle();
    ReplayPlayer player(replay);
    int stagesCleared = 0;
    playHeadless(player, [&stagesCleared](int frame, const StateMark& mark) {
        if (mark.state == StageClear) {
            ++stagesCleared;
        }
        std::printf("{\"frame\":%d,\"state\":\"%s\",\"stage\":%d,\"lives\":%d}\n", frame,
                    StateNames[mark.state], mark.stage, mark.lives);
    });
    const bool matches = player.matches();
    std::printf("{\"frames\":%d,\"stagesCleared\":%d,\"lives\":%d,\"sealed\":%s",
                player.framesPlayed(), stagesCleared, lives, replay.sealed ? "true" : "false");
    if (replay.sealed) {
        std::printf(",\"checksum\":\"%s\",\"recordedChecksum\":\"%s\"",
                    checksumText(player.finalChecksum()).c_str(),
                    checksumText(replay.checksum).c_str());
    }
    if (player.firstDifference() != 0) {
        std::printf(",\"firstDifference\":%d", player.firstDifference());
    }
    std::printf(",\"match\":%s}\n", matches ? "true" : "false");
    if (!matches) {
        player.reportMismatch("tumbra-replay", path);
    }
    return matches ? Matched : Departed;
}

// The pad of each frame, as the inputs being sealed give it; the recorder reads it as the
// game's pad.
const Replay* padSource = nullptr;
std::size_t nextPad = 0;
GamepadState sourcePad{};

GamepadState sourcePadOfFrame() {
    for (; nextPad < padSource->pads.size() &&
           padSource->pads[nextPad].frame <= replayRecorder.frames();
         ++nextPad) {
        sourcePad = padSource->pads[nextPad].state;
    }
    return sourcePad;
}

// Hands the flow, through the recorder, every input of `replay` up to `frame`.
void feedUpTo(const Replay& replay, std::size_t& next, int frame) {
    for (; next < replay.events.size() && replay.events[next].frame <= frame; ++next) {
        const ReplayEvent& event = replay.events[next];
        if (event.kind == ReplayEvent::Key) {
            recordKeyboard(static_cast<unsigned char>(event.code), 0, 0);
        } else {
            recordSpecialKey(event.code, 0, 0);
        }
    }
}

int write(const std::string& out, long frames, const std::string& in) {
    std::FILE* probe = std::fopen(in.c_str(), "rb");
    char start[sizeof "tumbra-replay "] = {};
    if (probe != nullptr) {
        std::fread(start, 1, sizeof start - 1, probe);
        std::fclose(probe);
    }
    const bool isRecording = std::strcmp(start, "tumbra-replay ") == 0;
    Replay replay;
    ReplayError error;
    if (!loadReplay(in, isRecording ? ReplayText::Recording : ReplayText::EventList, replay,
                    error)) {
        return fileError(in, error);
    }
    const int lastInput = std::max(replay.events.empty() ? 0 : replay.events.back().frame,
                                   replay.pads.empty() ? 0 : replay.pads.back().frame);
    if (frames < 0 && replay.sealed) {
        frames = replay.endFrame;
    }
    if (frames >= 0 && frames + 1 < lastInput) {
        return usageError("--frames " + std::to_string(frames) +
                          " ends before the input of frame " + std::to_string(lastInput));
    }
    startAtTitle();
    padSource = &replay;
    gamepadInput = sourcePadOfFrame;
    std::string message;
    if (!startRecording(out, message)) {
        std::fprintf(stderr, "tumbra-replay: %s\n", message.c_str());
        return CannotWrite;
    }
    std::size_t next = 0;
    for (int frame = 1; frame <= MaxReplayFrame; ++frame) {
        if (frames >= 0 ? frame > frames : frame > lastInput && gameState == Title) {
            break;
        }
        feedUpTo(replay, next, frame);
        onIdle();
    }
    // Inputs that came after the last frame, before Escape.
    feedUpTo(replay, next, MaxReplayFrame + 1);
    replayRecorder.finish();
    std::printf("%s: %d frames\n", out.c_str(), replayRecorder.frames());
    return Matched;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && argv[1][0] != '-') {
        return play(argv[1]);
    }
    if (argc < 4 || std::strcmp(argv[1], "--write") != 0) {
        return usageError("a FILE to play, or --write OUT EVENTS");
    }
    long frames = -1;
    if (argc == 6 && std::strcmp(argv[3], "--frames") == 0) {
        const std::string text = argv[4];
        if (text.empty() || text.size() > 9 ||
            text.find_first_not_of("0123456789") != std::string::npos ||
            std::stol(text) > MaxReplayFrame) {
            return usageError("--frames needs a whole number from 0 to " +
                              std::to_string(MaxReplayFrame));
        }
        frames = std::stol(text);
    } else if (argc != 4) {
        return usageError("--write takes OUT, optionally --frames N, and EVENTS");
    }
    return write(argv[2], frames, argv[argc - 1]);
}
