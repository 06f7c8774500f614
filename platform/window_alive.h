#pragma once

// Whether the game's window still exists on the X server. Another program can destroy it
// (xdotool windowclose) without the window manager's close request, and freeglut then
// reports nothing: the game asks now and then.

// Watches the window of the current OpenGL context: from now on an X error about it marks
// it gone instead of ending the program.
void watchCurrentWindow();
// False once the watched window is gone, or when none is watched.
bool currentWindowExists();
