#pragma once

// What tumbra-replay FILE prints: one JSON object per state change of the recording played
// headless from its start (frame, state, stage, lives), then a summary, on stdout; where it
// departs from the recording, or cannot be read, one line each on stderr. The page's
// ?replay=URL&verify prints the same.
#include "replay/replay_file.h"

#include <string>

inline constexpr int ReplayMatched = 0;
inline constexpr int ReplayBadInput = 2;
inline constexpr int ReplayDeparted = 3;

// Plays the recording at `path` and prints its report. ReplayMatched when the replay matches
// the recording, ReplayDeparted when it departs (or, with `requireSealed`, when the file has no
// end record), ReplayBadInput for a file that cannot be read.
int reportReplay(const std::string& path, bool requireSealed);
// The line for a file that cannot be read, naming the line at fault. Returns ReplayBadInput.
int replayFileError(const std::string& path, const ReplayError& error);
