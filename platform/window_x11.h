#pragma once

// What the X server and the GLX driver know of the current GLUT window. freeglut gives no
// native handles, so these read the current GLX display and drawable: call them with the
// window's context current. Nothing here knows of the game.
#include <cstddef>
#include <span>

// Asks the driver to hold each buffer swap until the display's vertical blank, through
// GLX_EXT_swap_control, GLX_MESA_swap_control or GLX_SGI_swap_control. True when one of them
// accepted; whether the swaps really wait is for the caller to see (Xvfb accepts and never
// waits).
bool enableSwapControl();
// Lets swaps go at once (interval 0), where the driver would otherwise make them wait.
void disableSwapControl();

// The refresh rate in Hz of the monitor that shows the window's centre, from XRandR; 0 when
// the server does not say.
double monitorRefreshRate();

// A PNG image, in memory, for the window's icon.
using PngBytes = std::span<const unsigned char>;

// Names the window for the desktop: the class hint (instance and class names, which a menu
// entry's StartupWMClass matches), the process id (_NET_WM_PID) and the icons, each a PNG,
// as _NET_WM_ICON. An icon that does not decode is left out.
void setWindowIdentity(const char* instanceName, const char* className,
                       std::span<const PngBytes> icons);
