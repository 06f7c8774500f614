#pragma once

// What a frame shows, worked out from the game's state: the world seen by the camera (with a
// new stage's fly-in), the heads-up display, the state's texts and the wait indicator, or the
// records page. Nothing here draws.
#include "engine/frame_view.h"

// The frame as the game stands now.
FrameView frameViewNow();

// The moment `blend` of the way from the previous simulation frame to the last (1 is the
// last, as frameViewNow shows it). The texts are the last frame's.
FrameView frameViewBetween(float blend);
