#pragma once

// Recording and playback in the game's window. The files are opened before the window, so a
// bad one ends the program with a message and no window; the callbacks are set up after
// gameInit, which registers the game's own key callbacks.
#include <string>

// Creates the recording at `path`; false with a one-line message when it cannot.
bool openWindowRecording(const std::string& path, std::string& error);
// Puts the recorder's key callbacks in place of the game's.
void startWindowRecording();

// Reads the recording at `path`; false with a one-line message naming the line at fault.
bool loadWindowReplay(const std::string& path, std::string& error);
// Shows the loaded recording at its recorded speed levels. Escape quits; other keys are
// ignored. At its end the game returns to the title and takes keys again, or, when the
// replayed state does not match the recording, says so on stderr and exits with status 3.
void startWindowReplay();

// Exit status of a replay that does not match its recording.
inline constexpr int ReplayMismatchStatus = 3;
