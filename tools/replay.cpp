// tumbra-replay: plays a recording through the real game flow with no window, as fast as the
// processor allows.
//
//   tumbra-replay [--require-sealed] FILE
//       One JSON object per state change (frame, state, stage, lives), then a summary. Exit 0
//       when the replay matches the recording, 3 when it departs (or, with --require-sealed,
//       when the file has no end record), 2 for a bad file.
//   tumbra-replay --write OUT [--frames N] EVENTS
//       Plays the inputs of EVENTS (input lines "FRAME key CODE", "FRAME special CODE" and
//       "FRAME pad NAME=VALUE...", or a recording whose inputs are taken) and writes the sealed
//       recording OUT: header, inputs, state changes and end record, from a recording's start
//       and in its format version (an event list: from the title, in the current version). It
//       stops after N frames; without --frames, after a recording's own frame count, or for an
//       event list once the game is back on the title after its last input, and with a warning
//       at the frame limit when the game never comes back.
#include "engine/game_state.h"
#include "engine/stages.h"
#include "flow/flags.h"
#include "flow/game_flow.h"
#include "flow/input_door.h"
#include "flow/replay_report.h"
#include "flow/replay_source.h"
#include "replay/replay_file.h"
#include "replay/replay_recorder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int CannotWrite = 1;

constexpr const char* Usage =
    "usage: tumbra-replay [--require-sealed] FILE | tumbra-replay --write OUT [--frames N] EVENTS";

int usageError(const std::string& message) {
    std::fprintf(stderr, "tumbra-replay: %s; %s\n", message.c_str(), Usage);
    return ReplayBadInput;
}

bool isRecording(const std::string& path) {
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    char start[sizeof "tumbra-replay "] = {};
    if (probe != nullptr) {
        std::fread(start, 1, sizeof start - 1, probe);
        std::fclose(probe);
    }
    return std::strcmp(start, "tumbra-replay ") == 0;
}

int write(const std::string& out, long frames, const std::string& in) {
    Replay replay;
    ReplayError error;
    if (!loadReplay(in, isRecording(in) ? ReplayText::Recording : ReplayText::EventList, replay,
                    error)) {
        return replayFileError(in, error);
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
    optSilent = 1;
    startAt(replay.start);
    // The inputs pass the door as a recording's would, and the recorder watches them: a
    // recording keeps its format version and start.
    ReplayPlayer player(replay, ThroughTheDoor);
    ReplaySource source(player);
    setInputSource(source);
    std::string message;
    if (!replayRecorder.open(out, replay.start, message, replay.formatVersion, "tumbra-replay")) {
        std::fprintf(stderr, "tumbra-replay: %s\n", message.c_str());
        return CannotWrite;
    }
    watchInput(&replayRecorder);
    int frame = 0;
    const auto done = [&] {
        return frames >= 0 ? frame >= frames : frame >= lastInput && gameState == Title;
    };
    while (!done() && frame < MaxReplayFrame) {
        onIdle();
        ++frame;
    }
    if (!done()) {
        std::fprintf(stderr,
                     "tumbra-replay: %s: the game never came back to the title; stopped at the "
                     "frame limit %d\n",
                     out.c_str(), MaxReplayFrame);
    }
    // Inputs that came after the last frame, before Escape.
    player.finish();
    replayRecorder.seal();
    watchInput(nullptr);
    setInputSource(liveInput());
    std::printf("%s: %d frames\n", out.c_str(), frame);
    return ReplayMatched;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && argv[1][0] != '-') {
        return reportReplay(argv[1], false);
    }
    if (argc == 3 && std::strcmp(argv[1], "--require-sealed") == 0) {
        return reportReplay(argv[2], true);
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
