#pragma once

// A short tone on the default audio device that starts at once and never holds up the
// caller. Without an audio device every beep is silent, and nothing is reported.

// Opens the audio device; false when there is none (the beeps then stay silent).
bool openBeep();
// Starts a tone of `pitchHz` (positive); a tone still sounding is restarted. Returns at once.
void beep(int pitchHz);
// Closes the audio device; a later beep is silent until the next openBeep.
void closeBeep();
