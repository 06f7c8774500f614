#pragma once

// What a frame shows, worked out from the game's state: the world seen by the camera (with a
// new stage's fly-in), the heads-up display, the state's texts and the wait indicator, or the
// records page. Nothing here draws.
#include "engine/frame_view.h"

// The frame as the game stands now.
FrameView frameViewNow();

// Smooth motion: the last two simulation frames of what moves (the balls, the field's tilt,
// the fly-in) are kept, and the moments between them can be shown.
// After each simulation frame: it becomes the last, the one before it the previous.
void captureMotion();
// A stage was loaded or the game reset: the next capture starts afresh on both sides, so
// nothing slides in from the old stage.
void restartMotion();
// The moment `blend` of the way from the previous simulation frame to the last (1 is the
// last, as frameViewNow shows it). The texts are the last frame's.
FrameView frameViewBetween(float blend);
