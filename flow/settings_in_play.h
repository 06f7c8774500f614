#pragma once

// The settings in play: put into the run's flags at start, under the command line's, and
// saved when the player changes one in the game.
#include "player/settings.h"

// The settings the game started with, before the command line: what a change is saved over.
extern Settings savedSettings;
// At start, before the window: the settings into the option flags and the window size (the
// pad's dead zone is the shell's to give its pad). The speed level only when `withSpeed`
// (recordings start at level 0).
void applySettings(const Settings& settings, bool withSpeed);
// At the end of every frame: a speed level, fullscreen or drawing that the player changed in
// the game is saved.
void saveChangedSettings();
// The window size the player chose with "e" or "r" is saved.
void saveWindowSize(int size);
