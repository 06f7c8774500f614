#pragma once

// How the game ends other than by Escape: its window closed (by the window manager, or
// destroyed by another program), or SIGTERM or SIGINT (a logout, Ctrl+C in the terminal).
// Each seals the recording and ends the program with the status freeglut gives a closed
// window.
inline constexpr int ClosedWindowStatus = 0;

// After the window is created: the close callback, the two signals and a timer that checks
// for them and for a destroyed window.
void watchForTheEnd();
