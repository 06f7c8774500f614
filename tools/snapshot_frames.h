#pragma once

// The frames of tumbra-snapshot, which the golden pictures hold: the desktop's program draws
// them in its window, the browser's picture program on its canvas.
#include "replay/replay_file.h"

// Puts the game where a picture of `stage` starts: stage 0 the title as the program starts
// it (gameInit leaves it there), any other the moment stage - 1 is cleared (23: the last
// stage, so that the all-clear screen and the ending follow).
void startPictureAt(int stage);
// Runs `frames` frames of the game flow, `draw` after each; the schedule's keys are counted
// from the frame that loads `stage`.
void runPictureFrames(int stage, long frames, const Replay& schedule, void (*draw)());
