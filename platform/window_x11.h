#pragma once

// What the X server and the GLX driver know of the current GLUT window. freeglut gives no
// native handles, so these read the current GLX display and drawable: call them with the
// window's context current. Nothing here knows of the game.
#include <cstddef>
#include <cstdint>
#include <span>

// Asks the driver to hold each buffer swap until the display's vertical blank, through
// GLX_EXT_swap_control, GLX_MESA_swap_control or GLX_SGI_swap_control. True when one of them
// accepted; whether the swaps really wait is for the caller to see (Xvfb accepts and never
// waits).
bool enableSwapControl();
// Lets swaps go at once (interval 0), where the driver would otherwise make them wait.
void disableSwapControl();

// The refresh rate in Hz of the monitor that shows the window's centre, from XRandR (libXrandr,
// loaded by the first call); 0 when the server does not say or the library is missing.
double monitorRefreshRate();

// An icon's pixels, rows top down, each an ARGB word (alpha in the top byte).
struct WindowIcon {
    unsigned width;
    unsigned height;
    std::span<const std::uint32_t> argb;
};

// Names the window for the desktop: the class hint (instance and class names, which a menu
// entry's StartupWMClass matches), the process id (_NET_WM_PID) and the icons as
// _NET_WM_ICON.
void setWindowIdentity(const char* instanceName, const char* className,
                       std::span<const WindowIcon> icons);
