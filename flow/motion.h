#pragma once

// Smooth motion: the last two simulation frames of what moves (the balls, the field's tilt,
// the fly-in) are kept, so that the moments between them can be shown.
#include "engine/world_pose.h"

// What moves, as of one simulation frame: the world and the fly-in's countdown.
struct Moment {
    WorldPose world;
    bool intro = false; // in StageIntro, flying in
    double introFrame = 0.0;
};

// The game as it stands now.
Moment momentNow();
// After each simulation frame: it becomes the last, the one before it the previous.
void captureMotion();
// A stage was loaded or the game reset: the next capture starts afresh on both sides, so
// nothing slides in from the old stage.
void restartMotion();
// The moment `blend` of the way from the previous simulation frame to the last (1 is the
// last); the game as it stands until a frame is captured.
Moment momentBetween(float blend);
