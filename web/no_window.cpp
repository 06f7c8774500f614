// The window of the programs that have none: the picture program (its canvas sized by each
// call) and the Node tools. The flow asks no window to resize, redisplay or go fullscreen
// while windowOpen() says there is none.
#include "app/window.h"

int windowWidth = StartWindowSize;
int windowHeight = StartWindowSize;

bool windowOpen() {
    return false;
}

bool isFullscreen() {
    return false;
}

void toggleFullscreen() {}

bool altHeld() {
    return false;
}
