#pragma once

// The player's settings: read at start, applied under the command line's options (which hold
// for that run only and are never saved), and saved when the player changes one in the game.
#include <string>
#include <string_view>
#include <vector>

struct Settings {
    int speedLevel = 0; // waitLevel, 0 to 10
    bool sound = true;
    int windowSize = 400; // pixels, square, 100 to 2000
    bool fullscreen = false;
    bool classicFrames = false; // smooth drawing unless set
    double deadZone = 0.25;     // of a stick's travel, 0 to 0.9

    bool operator==(const Settings&) const = default;
};

// Settings from the text of a settings file. A key left out keeps its default, and keys the
// game does not know are ignored. A text that is not TOML is bad whole: false with one line
// saying what, `settings` left alone. A key with a wrong type or a value out of range is
// refused alone: it keeps its default, with a line in `refused` saying why.
bool parseSettings(std::string_view text, Settings& settings, std::string& error,
                   std::vector<std::string>& refused);
// The text of a settings file, which parseSettings reads back to the same settings.
std::string formatSettings(const Settings& settings);

// The settings file's, or the defaults when it is missing or bad, and for each value refused
// (said on stderr; the file is then kept aside and saved again with the settings used).
Settings loadSettings();
// The settings the game started with, before the command line: what a change is saved over.
extern Settings savedSettings;
// At start, before the window: the settings into the option globals, the window size and the
// pad's dead zone. The speed level only when `withSpeed` (recordings start at level 0).
void applySettings(const Settings& settings, bool withSpeed);
// Called at the end of every frame: a speed level, fullscreen or drawing that the player
// changed in the game is saved.
void saveChangedSettings();
// The window size the player chose with "e" or "r" is saved.
void saveWindowSize(int size);
