#pragma once

// A short tone on the default audio device that starts at once and never holds up the
// caller. Without an audio device every beep is silent, and nothing is reported.

// Opens the audio device and waits for it; false when there is none (the beeps then stay
// silent).
bool openBeep();
// Opens the audio device on a thread of its own, so that the caller never waits for it
// (finding no sound server can take a tenth of a second). Beeps asked for before the device
// is ready are dropped.
void openBeepInBackground();
// True once the device is open and plays.
bool beepOpen();
// Starts a pip of `pitchHz` (positive) and returns at once. One asked for while the last
// still sounds follows it after a short silence; of several waiting, the newest is played.
void beep(int pitchHz);
// Closes the audio device, after waiting for a background opening to finish; a later beep
// is silent until the next opening.
void closeBeep();
