#pragma once

// How the game ends other than by Escape: its window closed (by the window manager, or
// destroyed by another program), or one of the signals that ask a program to end: SIGTERM (a
// logout, kill), SIGINT (Ctrl+C in the terminal), SIGHUP (the terminal closed, an ssh session
// dropped) and SIGQUIT (Ctrl+\). Each seals the recordings, lets the writer thread finish the
// saves of the settings, the records and the automatic replay, and ends the program with the
// status freeglut gives a closed window.
inline constexpr int ClosedWindowStatus = 0;

// Before anything is opened or written: the four signals only leave a note from here on, so
// that one arriving during the start ends the game as cleanly as one during play. SIGXFSZ is
// ignored: a write past the file-size limit (ulimit -f) fails with EFBIG, as a full disk
// would, instead of killing the game.
void catchEndSignals();
// After the window is created: the close callback, and a timer that checks for a signal
// noted and for a destroyed window.
void watchForTheEnd();
