#pragma once

// tumbra --timedemo FILE: plays a recording in the window, drawing every simulation frame as
// fast as it can (no pacing, no sound), then prints the frames, the seconds, the frames per
// second and whether the checksum matched, and exits: status 0 when it matched, else
// ReplayMismatchStatus. Escape quits as always.
#include <string>

// Before the window: reads the recording. False after one line on stderr naming the file.
bool loadTimedemo(const std::string& path);
// After gameInit: puts the recording at the input door and registers the idle handler.
// Returns the display callback to register.
void (*startTimedemo())();
