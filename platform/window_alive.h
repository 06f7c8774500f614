#pragma once

// Whether the window of the current OpenGL context still exists on the X server. Another
// program can destroy it (xdotool windowclose) without the window manager's close request,
// and freeglut then reports nothing: the game asks now and then. False with no context.
bool currentWindowExists();
