// The browser's picture program: the game's frames from a stage's start, drawn by WebGL on the
// page's canvas, as tumbra-snapshot draws them in its window (tools/snapshot.cpp says which
// frames). The browser tests load web/picture.html, hand the key schedule over event by event
// and call drawPicture once per page load, which returns the last frame's pixels.
#include "app/frame_view.h"
#include "app/game_flow.h"
#include "app/game_state.h"
#include "app/options.h"
#include "app/window.h"
#include "render/frame_drawing.h"
#include "render/webgl_renderer.h"
#include "sim/stages.h"
#include "sim/world.h"
#include "tools/snapshot_frames.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

namespace {

constexpr const char* Canvas = "#canvas";
constexpr int SmallestSize = 100;
constexpr int LargestSize = 2000;
constexpr int MostFrames = 100000;

Replay schedule;
std::vector<unsigned char> picture;

WebGlRenderer& renderer() {
    static WebGlRenderer webGl(Canvas);
    return webGl;
}

// A schedule holds no pad lines: the pad is at rest throughout.
GamepadState padAtRest() {
    return {};
}

// As the desktop's drawFrame, without the swap.
void drawPictureFrame() {
    drawFrameView(renderer(), gameWorld, frameViewNow());
    if (waitShow > 0) {
        --waitShow;
    }
}

} // namespace

extern "C" {

// One event of the key schedule, counted from the frame that loads the stage; `special` as
// the schedule's "special" (else "key").
EMSCRIPTEN_KEEPALIVE void scheduleEvent(int frame, int special, int code) {
    schedule.events.push_back(
        {frame, special != 0 ? ReplayEvent::Special : ReplayEvent::Key, code});
}

// The picture after `frames` frames from the start of `stage` (0 the title, 23 the ending)
// on a square canvas of `size` pixels, with the game's /d and /n: RGB rows from the bottom,
// size * size * 3 bytes. Null for arguments out of range (those of tumbra-snapshot).
EMSCRIPTEN_KEEPALIVE const unsigned char* drawPicture(int stage, int frames, int size,
                                                      int depthBuffer, int normalize) {
    if (stage < TitleStage || stage > EndingStage || frames < 1 || frames > MostFrames ||
        size < SmallestSize || size > LargestSize) {
        return nullptr;
    }
    optDepthBuffer = depthBuffer != 0 ? 1 : 0;
    optNormalize = normalize != 0 ? 1 : 0;
    optSilent = 1;
    gamepadInput = padAtRest;
    emscripten_set_canvas_element_size(Canvas, size, size);
    windowWidth = size;
    windowHeight = size;
    renderer().setUp({optDepthBuffer != 0, optNormalize != 0});
    loadStage(); // the title's world, as gameInit builds it
    setTextUnits(size);
    renderer().setView(0, 0, size, textScale);
    startPictureAt(stage);
    runPictureFrames(stage, frames, schedule, drawPictureFrame);
    picture = renderer().readPicture(size, size);
    return picture.data();
}

} // extern "C"

int main() {
    return 0;
}
