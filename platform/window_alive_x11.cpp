#include "platform/window_alive.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

bool badWindow = false;

int noteError(Display*, XErrorEvent*) {
    badWindow = true;
    return 0;
}

} // namespace

bool currentWindowExists() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) {
        return false;
    }
    // A destroyed window answers with an error, not a status: caught here rather than by
    // the toolkit's handler, which would end the program.
    XSync(display, False);
    badWindow = false;
    const auto previous = XSetErrorHandler(noteError);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    const bool exists = found != 0 && !badWindow;
    // Once the window is gone the toolkit's own clean-up fails on it at exit: those errors
    // stay caught.
    if (exists) {
        XSetErrorHandler(previous);
    }
    return exists;
}
