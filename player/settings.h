#pragma once

// The player's settings: read at start, applied under the command line's options (which hold
// for that run only and are never saved), and saved when the player changes one in the game.
// Each setting is written down once, in the table below: its key in the file, the member that
// holds it, its default, its range (or its two words) and what the file says of it.
#include <string>
#include <string_view>
#include <vector>

struct Settings {
    int speedLevel;     // waitLevel
    bool sound;         // beeps; "/s" silences them for a run
    int windowSize;     // pixels, square
    bool fullscreen;    // the window's state
    bool classicFrames; // one drawing per simulation frame instead of smooth drawing
    double deadZone;    // of a stick's travel, in hundredths

    // Every setting at its default.
    Settings();
    bool operator==(const Settings&) const = default;
};

struct SettingField {
    enum class Kind {
        Whole, // a whole number from low to high
        Flag,  // true or false, or the two words when it has them
        Share, // a number from low to high, kept in hundredths
    };
    const char* key;
    Kind kind;
    int Settings::*whole = nullptr;
    bool Settings::*flag = nullptr;
    double Settings::*share = nullptr;
    double initial = 0.0; // the default (a flag's: 0 or 1)
    double low = 0.0;
    double high = 1.0;
    const char* offWord = nullptr; // a flag's words in the file, off and on; else false, true
    const char* onWord = nullptr;
    const char* comment = "";

    int lowest() const { return static_cast<int>(low); }
    int highest() const { return static_cast<int>(high); }
};

inline constexpr SettingField SpeedLevelSetting{.key = "speed_level",
                                                .kind = SettingField::Kind::Whole,
                                                .whole = &Settings::speedLevel,
                                                .initial = 0,
                                                .low = 0,
                                                .high = 10,
                                                .comment = "0 (fastest) to 10"};
inline constexpr SettingField SoundSetting{.key = "sound",
                                           .kind = SettingField::Kind::Flag,
                                           .flag = &Settings::sound,
                                           .initial = 1,
                                           .comment = "true or false"};
inline constexpr SettingField WindowSizeSetting{.key = "window_size",
                                                .kind = SettingField::Kind::Whole,
                                                .whole = &Settings::windowSize,
                                                .initial = 400,
                                                .low = 100,
                                                .high = 2000,
                                                .comment = "100 to 2000 pixels"};
inline constexpr SettingField FullscreenSetting{.key = "fullscreen",
                                                .kind = SettingField::Kind::Flag,
                                                .flag = &Settings::fullscreen,
                                                .comment = "true or false"};
inline constexpr SettingField DrawingSetting{.key = "drawing",
                                             .kind = SettingField::Kind::Flag,
                                             .flag = &Settings::classicFrames,
                                             .offWord = "smooth",
                                             .onWord = "classic",
                                             .comment = "\"smooth\" or \"classic\""};
// Pads rest a little off centre, some within about 8000 of 32767 (SDL's own advice): a quarter
// of the travel covers them. It matters most on the left stick, whose push past the dead zone
// drives the ball at full strength; a stick must keep some travel past it.
inline constexpr SettingField DeadZoneSetting{.key = "gamepad_dead_zone",
                                              .kind = SettingField::Kind::Share,
                                              .share = &Settings::deadZone,
                                              .initial = 0.25,
                                              .low = 0.0,
                                              .high = 0.9,
                                              .comment = "0 to 0.9 of a stick"};

inline constexpr const SettingField* SettingFields[] = {
    &SpeedLevelSetting, &SoundSetting,   &WindowSizeSetting,
    &FullscreenSetting, &DrawingSetting, &DeadZoneSetting,
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
// Saves `settings` in the background, unless the file could neither be used nor kept aside.
void saveSettings(const Settings& settings);
