#include "platform/window_alive.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

XID watchedWindow = 0;
bool windowLost = false;
XErrorHandler otherErrors = nullptr;

// A request on the window after another program destroyed it fails; that says the window is
// gone rather than end the program, as Xlib's own handler would. Other errors go on.
int noteError(Display* display, XErrorEvent* error) {
    if (error->resourceid == watchedWindow) {
        windowLost = true;
        return 0;
    }
    return otherErrors != nullptr ? otherErrors(display, error) : 0;
}

} // namespace

void watchCurrentWindow() {
    watchedWindow = glXGetCurrentDrawable();
    windowLost = false;
    otherErrors = XSetErrorHandler(noteError);
}

bool currentWindowExists() {
    Display* display = glXGetCurrentDisplay();
    if (display == nullptr || watchedWindow == 0 || windowLost) {
        return false;
    }
    // A destroyed window answers with an error, which noteError takes.
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, watchedWindow, &attributes);
    XSync(display, False);
    return found != 0 && !windowLost;
}
