#pragma once

// The page's frames, one for each animation frame of the browser (requestAnimationFrame), timed
// by its clock (performance.now()). Smooth drawing, as the desktop's smooth loop: the
// simulation steps at the speed level's period (flow/frame_pacing.h's runDueSteps) and each
// animation frame draws the moment between the last two poses at which the browser will show
// it, the display's refresh learnt from the frames' own times. Classic frames (?classic): one
// simulation frame and one drawing at the speed level's period, each on the first animation
// frame due.

// `endFrame` runs at the end of each animation frame, after the drawing.
void startPageLoop(void (*endFrame)());
// No frame runs after the one under way.
void stopPageLoop();
