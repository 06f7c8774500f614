#pragma once

// Recording and playback in the game's window (--record FILE, --replay FILE). The files are
// opened before the window, so a bad one ends the program with a message and no window; the
// playback starts after gameInit.
#include <string>

// Exit status of a file named on the command line that cannot be used.
inline constexpr int ReplayFileStatus = 2;
// Exit status of a replay that does not match its recording.
inline constexpr int ReplayMismatchStatus = 3;

// Opens what the command line names (an empty name is none): the recording to write, from the
// title or (`startStage` > 0) from that stage at speed level 0, or the one to play back. False
// after one line on stderr naming the file, and the line at fault.
bool openReplayFiles(const std::string& recordPath, const std::string& replayPath, int startStage);
// After gameInit: the recording named on the command line becomes the door's source.
void startReplayFiles();

// Reads the recording at `path`; false with a one-line message naming the line at fault.
bool loadWindowReplay(const std::string& path, std::string& error);
// Shows the loaded recording from its start at its recorded speed levels, through the input
// door. Escape quits; other keys are ignored. At its end the game returns to the title and takes
// keys again, or, when the replayed state does not match the recording, says so on stderr and exits
// with status 3.
void startWindowReplay();
